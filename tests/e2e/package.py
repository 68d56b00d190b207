#!/usr/bin/env python3
"""The Debian package: built with cpack, validated, unpacked into a scratch root (nothing is
installed), and its launcher run from / to the menu and out.

Usage: package.py CPACK BUILD_DIR SOURCE_DIR
"""
import filecmp
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile

from gamedriver import Display, Game, check, menu_screen, rms

# Everything but the game data, which must be data/ itself.
FILES = {"usr/games/tolvek", "usr/libexec/tolvek/tolvek", "usr/share/applications/tolvek.desktop",
         "usr/share/icons/hicolor/64x64/apps/tolvek.png", "usr/share/doc/tolvek/changelog.gz",
         "usr/share/icons/hicolor/256x256/apps/tolvek.png", "usr/share/doc/tolvek/copyright",
         "usr/share/metainfo/example.tolvek.tolvek.metainfo.xml", "usr/share/man/man6/tolvek.6.gz"}
DATA = "usr/share/games/tolvek"
EXECUTABLES = {"usr/games/tolvek", "usr/libexec/tolvek/tolvek"}
# Libraries the game links; dpkg-shlibdeps must have found each one.
LINKED = ("libsdl1.2debian", "libsdl-image1.2", "libopenal1", "libsndfile1", "libxerces-c3.2",
          "libglu1-mesa", "libopengl0", "libstdc++6")


def run(*command, **kwargs):  # its standard output; all it printed when it fails
    done = subprocess.run(list(command), capture_output=True, text=True, timeout=240, **kwargs)
    check(done.returncode == 0, "%s failed (%d):\n%s" % (" ".join(command), done.returncode,
                                                        done.stdout + done.stderr))
    return done.stdout


def build(cpack, build_dir, out):
    run(cpack, "-G", "DEB", "-B", out, "--config", os.path.join(build_dir, "CPackConfig.cmake"),
        cwd=build_dir)
    debs = [f for f in os.listdir(out) if f.endswith(".deb")]
    check(len(debs) == 1, "cpack made %s" % debs)
    deb = os.path.join(out, debs[0])
    version, arch, section, depends, description = (run("dpkg-deb", "-f", deb, k).strip() for k in (
        "Version", "Architecture", "Section", "Depends", "Description"))
    check(debs[0] == "tolvek_%s_%s.deb" % (version, arch), "package named %s" % debs[0])
    check(section == "games", "section %s" % section)
    check(len(description.splitlines()) > 3, "no long description")
    names = {re.split(r"[ (]", d.strip())[0] for d in re.split(r"[,|]", depends)}
    check(names >= set(LINKED), "Depends lacks %s: %s" % (set(LINKED) - names, depends))
    return deb


def files_under(top):
    return {os.path.relpath(os.path.join(folder, name), top)
            for folder, _, names in os.walk(top) for name in names}


def unpack(deb, source_dir, root):
    run("dpkg-deb", "-x", deb, root)
    found, data_dir = files_under(root), os.path.join(source_dir, "data")
    data = {p for p in files_under(data_dir) if not p.endswith(".gitattributes")}
    expected = FILES | {os.path.join(DATA, p) for p in data}
    check(found == expected, "extra %s, missing %s" % (sorted(found - expected),
                                                      sorted(expected - found)))
    for path in data:
        check(filecmp.cmp(os.path.join(root, DATA, path), os.path.join(data_dir, path), False),
              "%s differs from data/" % path)
    for path in found:
        executable = os.access(os.path.join(root, path), os.X_OK)
        check(executable == (path in EXECUTABLES), "%s: executable bit %s" % (path, executable))
    run("desktop-file-validate", os.path.join(root, "usr/share/applications/tolvek.desktop"))
    run("appstreamcli", "validate", "--no-net",
        os.path.join(root, "usr/share/metainfo/example.tolvek.tolvek.metainfo.xml"))
    run("lintian", "--fail-on", "error,warning", deb)


def play(root):  # the unpacked launcher from /: the menu shows, SIGTERM ends it with 0
    display = Display()
    game = Game(os.path.join(root, "usr/games/tolvek"), "/", display)
    try:
        game.started()
        menu = menu_screen(os.path.join(root, DATA))
        game.wait_for(lambda shot: rms(shot, menu) < 6, 10, "the menu")
        game.proc.send_signal(signal.SIGTERM)  # ends the game from any screen
        check(game.exit_code() == 0, "exit code %d: %r" % (game.proc.returncode, game.err))
    finally:
        game.stop()
        display.close()


def main():
    cpack, build_dir, source_dir = (os.path.abspath(a) for a in sys.argv[1:4])
    scratch = tempfile.mkdtemp(prefix="tolvek-package-")
    root = os.path.join(scratch, "root")
    try:
        deb = build(cpack, build_dir, scratch)
        unpack(deb, source_dir, root)
        play(root)
    except (AssertionError, subprocess.TimeoutExpired) as error:
        print("FAIL", error)
        return 1
    finally:
        shutil.rmtree(scratch)
    print("PASS", os.path.basename(deb))
    return 0


if __name__ == "__main__":
    sys.exit(main())
