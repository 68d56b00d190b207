# Install rules and the Debian package (cpack -G DEB).
#
# Debian's layout for a game: the command in /usr/games, the program the
# command starts in /usr/libexec/tolvek (users never run it themselves), the
# read-only data in /usr/share/games/tolvek.
include(GNUInstallDirs)
set(TOLVEK_INSTALL_BINDIR games CACHE PATH "Folder of the tolvek command")
set(TOLVEK_INSTALL_LIBEXECDIR ${CMAKE_INSTALL_LIBEXECDIR}/tolvek
    CACHE PATH "Folder of the game program")
set(TOLVEK_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/games/tolvek
    CACHE PATH "Folder of the game data")
set(TOLVEK_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/tolvek)

# The launcher finds the rest relative to itself, so a DESTDIR or an
# unpacked package works as well as the real prefix.
file(RELATIVE_PATH DATA_FROM_BIN /${TOLVEK_INSTALL_BINDIR} /${TOLVEK_INSTALL_DATADIR})
file(RELATIVE_PATH BINARY_FROM_BIN /${TOLVEK_INSTALL_BINDIR} /${TOLVEK_INSTALL_LIBEXECDIR}/tolvek)
configure_file(packaging/tolvek-launcher.in ${CMAKE_CURRENT_BINARY_DIR}/tolvek-launcher @ONLY)

execute_process(COMMAND date -u -R -d ${TOLVEK_RELEASE_DATE}
                OUTPUT_VARIABLE TOLVEK_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE
                COMMAND_ERROR_IS_FATAL ANY)
set(TOLVEK_MAINTAINER "Tolvek maintainers <maintainers@users.noreply.c-seed-904794ee.example>")
configure_file(packaging/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/changelog @ONLY)
configure_file(packaging/tolvek.metainfo.xml.in
               ${CMAKE_CURRENT_BINARY_DIR}/example.tolvek.tolvek.metainfo.xml @ONLY)

# Debian wants the manual and the changelog compressed, without a time stamp.
set(TOLVEK_GZIPPED)
foreach(source IN ITEMS ${CMAKE_CURRENT_SOURCE_DIR}/packaging/tolvek.6
                        ${CMAKE_CURRENT_BINARY_DIR}/changelog)
  get_filename_component(name ${source} NAME)
  add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz
                     COMMAND gzip -9 -n -c ${source} > ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz
                     DEPENDS ${source} VERBATIM)
  list(APPEND TOLVEK_GZIPPED ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
endforeach()
add_custom_target(tolvek_docs ALL DEPENDS ${TOLVEK_GZIPPED})

install(TARGETS tolvek RUNTIME DESTINATION ${TOLVEK_INSTALL_LIBEXECDIR})
# A stripped install (cpack, cmake --install --strip) also drops the compiler's notes.
install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TOLVEK_INSTALL_LIBEXECDIR}/tolvek\"
    COMMAND_ERROR_IS_FATAL ANY)
endif()")
install(PROGRAMS ${CMAKE_CURRENT_BINARY_DIR}/tolvek-launcher DESTINATION ${TOLVEK_INSTALL_BINDIR}
        RENAME tolvek)
install(DIRECTORY data/ DESTINATION ${TOLVEK_INSTALL_DATADIR} PATTERN ".gitattributes" EXCLUDE)
install(FILES packaging/tolvek.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(DIRECTORY packaging/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/example.tolvek.tolvek.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/tolvek.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz packaging/copyright
        DESTINATION ${TOLVEK_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tolvek)
set(CPACK_PACKAGE_CONTACT ${TOLVEK_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small platform game: spray the walls, dodge the hazards")
set(CPACK_PACKAGE_DESCRIPTION_FILE ${CMAKE_CURRENT_SOURCE_DIR}/packaging/description.txt)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TOLVEK_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Folders 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
