# The browser build (Emscripten): the same engine, compiled against SDL 1.2's,
# OpenAL's and libsndfile's own headers, with web/ giving what the browser
# lacks of those libraries. scripts/build-web drives it.
set(TOLVEK_WEB_DEPS "" CACHE PATH "scripts/web-deps' folder: Xerces-C and zlib built for wasm")
if(NOT EXISTS "${TOLVEK_WEB_DEPS}/lib/libxerces-c.a")
  message(FATAL_ERROR "TOLVEK_WEB_DEPS: no libraries in '${TOLVEK_WEB_DEPS}' (run scripts/web-deps)")
endif()

# The headers the desktop builds with, so key symbols, event types and
# structures are the desktop's: a play recorded on one replays on the other.
set(WEB_HEADERS ${CMAKE_BINARY_DIR}/web-headers)
file(COPY /usr/include/SDL /usr/include/AL DESTINATION ${WEB_HEADERS})
file(COPY /usr/include/sndfile.h DESTINATION ${WEB_HEADERS})
file(COPY /usr/include/stb/stb_vorbis.h /usr/include/stb/stb_image.h
     DESTINATION ${WEB_HEADERS}/stb)

add_compile_options(-O2)
file(GLOB WEB_SOURCES CONFIGURE_DEPENDS web/*.cpp web/*.c)
list(REMOVE_ITEM WEB_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/web/main.cpp)
add_library(tolvek_engine STATIC ${ENGINE_SOURCES} ${WEB_SOURCES})
target_include_directories(tolvek_engine BEFORE PUBLIC
  ${CMAKE_CURRENT_SOURCE_DIR} ${WEB_HEADERS} ${TOLVEK_WEB_DEPS}/include)
target_compile_definitions(tolvek_engine PUBLIC TOLVEK_VERSION="${PROJECT_VERSION}")
# Only the XML reader catches exceptions (Xerces throws them); elsewhere none
# are caught, which keeps every other call direct.
set_source_files_properties(app/LoaderXML.cpp PROPERTIES COMPILE_OPTIONS -fexceptions)
# stb_vorbis is third-party C: its warnings are not ours to fix.
set_source_files_properties(web/StbVorbis.c PROPERTIES COMPILE_OPTIONS -w)

set(WEB_PAGE ${CMAKE_BINARY_DIR}/web)
add_executable(tolvek web/main.cpp)
target_link_libraries(tolvek PRIVATE tolvek_engine
  ${TOLVEK_WEB_DEPS}/lib/libxerces-c.a ${TOLVEK_WEB_DEPS}/lib/libz.a)
set_target_properties(tolvek PROPERTIES SUFFIX .js RUNTIME_OUTPUT_DIRECTORY ${WEB_PAGE})
file(GLOB WEB_JS CONFIGURE_DEPENDS web/*.js)
target_link_options(tolvek PRIVATE
  -O2 -fexceptions -lopenal -lidbfs.js
  -sLEGACY_GL_EMULATION=1 -sMAX_WEBGL_VERSION=2 -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
  -sFORCE_FILESYSTEM=1 -sEXPORTED_RUNTIME_METHODS=[FS]
  "SHELL:--preload-file ${CMAKE_CURRENT_SOURCE_DIR}/data@/data"
  "SHELL:--pre-js ${CMAKE_CURRENT_SOURCE_DIR}/web/pre.js"
  "SHELL:--post-js ${CMAKE_CURRENT_SOURCE_DIR}/web/post.js")
foreach(library IN LISTS WEB_JS)
  if(library MATCHES "/library_[^/]*\\.js$")
    target_link_options(tolvek PRIVATE "SHELL:--js-library ${library}")
  endif()
endforeach()
set_property(TARGET tolvek APPEND PROPERTY LINK_DEPENDS ${WEB_JS})
add_custom_command(TARGET tolvek POST_BUILD
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/web/index.html ${WEB_PAGE}/)
