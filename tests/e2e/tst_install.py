"""Installation: `cmake --install` into an empty prefix puts the program, its
private library and record window's module, its desktop entry, its metainfo
and its theme icons where a Linux desktop looks for them, and the desktop
tools accept the installed files. The program exports none of the game's
symbols, and no shared object of the game leaves a symbol undefined, in the
build tree and once installed.

Usage: tst_install.py BUILD_DIR
"""

import glob
import os
import shutil
import struct
import subprocess
import sys
import tempfile

import linkage

APP_ID = "io.github.tormell.Tormell"
ICON_SIDES = (16, 32, 48, 64, 128, 256)
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
SKIPPED = 77  # ctest's SKIP_RETURN_CODE for these tests


def png_size(path):
    """Width and height from the IHDR chunk, which every PNG has first."""
    with open(path, "rb") as f:
        head = f.read(24)
    if len(head) < 24 or head[:8] != PNG_SIGNATURE or head[12:16] != b"IHDR":
        return None
    return struct.unpack(">II", head[16:24])


def check_tree(prefix):
    """The problems found in the installed tree; empty when it is complete."""
    problems = []

    def need(relative):
        path = os.path.join(prefix, relative)
        if not os.path.isfile(path) or os.path.getsize(path) == 0:
            problems.append("missing or empty: " + relative)
            return None
        return path

    binary = need("bin/tormell")
    if binary and not os.access(binary, os.X_OK):
        problems.append("bin/tormell is not executable")
    # The private library and the record window's module, in the library folder the build chose.
    private = glob.glob(os.path.join(prefix, "lib*", "**", "tormell", "*.so"), recursive=True)
    for name in ("libtormell-private.so", "tormell_record_window.so"):
        if not any(os.path.basename(path) == name for path in private):
            problems.append("missing: lib/.../tormell/" + name)
    if binary:
        problems += linkage.problems(binary, private)
    desktop = need("share/applications/%s.desktop" % APP_ID)
    metainfo = need("share/metainfo/%s.metainfo.xml" % APP_ID)
    for side in ICON_SIDES:
        relative = "share/icons/hicolor/%dx%d/apps/%s.png" % (side, side, APP_ID)
        icon = need(relative)
        if icon and png_size(icon) != (side, side):
            problems.append("%s is %s, not %dx%d" % (relative, png_size(icon), side, side))
    svg = need("share/icons/hicolor/scalable/apps/%s.svg" % APP_ID)
    if svg:
        with open(svg, "rb") as f:
            if b"<svg" not in f.read():
                problems.append("the scalable icon is not an SVG drawing")
    return problems, desktop, metainfo


def validate(tool_args, path, problems, skipped):
    if not shutil.which(tool_args[0]):
        skipped.append(tool_args[0])
        return
    result = subprocess.run(tool_args + [path], capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        problems.append("%s rejects %s:\n%s%s" % (tool_args[0], os.path.basename(path), result.stdout, result.stderr))


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: %s BUILD_DIR" % sys.argv[0])
    build_dir = sys.argv[1]
    built = linkage.problems(os.path.join(build_dir, "src", "tormell"),
                             glob.glob(os.path.join(build_dir, "lib*", "**", "tormell", "*.so"), recursive=True))
    if built:
        sys.exit("FAIL: in the build tree:\n  " + "\n  ".join(built))
    prefix = tempfile.mkdtemp(prefix="tormell-install-")
    try:
        result = subprocess.run(["cmake", "--install", build_dir, "--prefix", prefix],
                                capture_output=True, text=True, timeout=120)
        if result.returncode != 0:
            sys.exit("FAIL: cmake --install failed:\n" + result.stdout + result.stderr)
        problems, desktop, metainfo = check_tree(prefix)
        skipped = []
        if desktop:
            validate(["desktop-file-validate"], desktop, problems, skipped)
        if metainfo:
            validate(["appstreamcli", "validate", "--no-net"], metainfo, problems, skipped)
    finally:
        shutil.rmtree(prefix, ignore_errors=True)
    if problems:
        sys.exit("FAIL:\n  " + "\n  ".join(problems))
    if skipped:
        # The files are all there, but the validation did not happen: say so
        # rather than pass. scripts/install-deps.sh installs both tools.
        print("SKIP: installed files complete, but %s not found, so they were not validated" % ", ".join(skipped))
        sys.exit(SKIPPED)
    print("PASS: the program linked as a distribution would have it; %d icon sizes, scalable icon, desktop "
          "entry and metainfo installed and accepted by desktop-file-validate and appstreamcli" % len(ICON_SIDES))


if __name__ == "__main__":
    main()
