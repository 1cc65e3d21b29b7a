"""Installation: `cmake --install` into an empty prefix puts the program, its
private library (its soname versioned, no development link beside it) and
record window's module, its desktop entry, its metainfo and its theme icons
where a Linux desktop looks for them, and the desktop tools accept the
installed files; the installed game starts and opens its record window. The
program exports none of the game's symbols, and no shared object of the game
leaves a symbol undefined, in the build tree and once installed. An install
into a staging folder (DESTDIR, as packagers do) lays out the same tree there
and writes nothing under the prefix itself.

Usage: tst_install.py BUILD_DIR [SCREENSHOT_DIR]
"""

import glob
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

import installed_game
import linkage
import xsession as xs

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
    private = installed_game.shared_objects(
        glob.glob(os.path.join(prefix, "lib*", "**", "tormell", "*.so*"), recursive=True))
    names = [os.path.basename(path) for path in private]
    if installed_game.MODULE not in names:
        problems.append("missing: lib/.../tormell/" + installed_game.MODULE)
    libraries = [path for path in private if installed_game.PRIVATE_LIBRARY.match(os.path.basename(path))]
    if not libraries:
        problems.append("missing: lib/.../tormell/libtormell-private.so.<version>")
    for library in libraries:
        name = soname(library)
        if name != os.path.basename(library):
            problems.append("%s has the soname %s, not its own versioned name" % (library, name))
    # Only a build against the library would use a link without the version; none is installed.
    if glob.glob(os.path.join(prefix, "lib*", "**", "tormell", "libtormell-private.so"), recursive=True):
        problems.append("a development link libtormell-private.so is installed")
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


# The private library may export a little more than the programs of this build
# call: what the bench's probes linked as the game call, when they are not built.
UNUSED_EXPORTS_ALLOWED = 2


def game_programs(build_dir):
    """The programs and modules in the build tree that load the private library."""
    found = []
    for folder in ("src", "tests", "tests/unlinked", "bench", "lib/tormell"):
        for path in glob.glob(os.path.join(build_dir, folder, "*")):
            if not os.path.isfile(path) or os.path.islink(path) or not os.access(path, os.X_OK):
                continue
            # Needed, not named: the library's own soname is no use of it.
            if re.search(r"\(NEEDED\)\s+Shared library: \[libtormell-private\.so", dynamic_section(path)):
                found.append(path)
    return found


def exports_problems(build_dir):
    """The private library must export what the game's programs call and little else."""
    libraries = [path for path in glob.glob(os.path.join(build_dir, "lib*", "**", "tormell", "libtormell-private.so.*"),
                                           recursive=True) if not os.path.islink(path)]
    if len(libraries) != 1:
        return ["expected one private library in the build tree, found %s" % libraries]
    users = game_programs(build_dir)
    unused = linkage.unused_exports(libraries[0], users)
    if len(unused) > UNUSED_EXPORTS_ALLOWED:
        return ["the private library exports %d of the game's symbols that none of %d programs calls, such as %s"
                % (len(unused), len(users), "; ".join(unused[:3]))]
    return []


def dynamic_section(path):
    return subprocess.run(["readelf", "-d", path], capture_output=True, text=True, timeout=60).stdout


def soname(library):
    found = re.search(r"\(SONAME\)\s+Library soname: \[([^\]]+)\]", dynamic_section(library))
    return found.group(1) if found else None


def install(build_dir, prefix, destdir=None):
    env = dict(os.environ)
    env.pop("DESTDIR", None)
    if destdir:
        env["DESTDIR"] = destdir
    result = subprocess.run(["cmake", "--install", build_dir, "--prefix", prefix], env=env,
                            capture_output=True, text=True, timeout=120)
    if result.returncode != 0:
        sys.exit("FAIL: cmake --install failed:\n" + result.stdout + result.stderr)


def validate(tool_args, path, problems, skipped):
    if not shutil.which(tool_args[0]):
        skipped.append(tool_args[0])
        return
    result = subprocess.run(tool_args + [path], capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        problems.append("%s rejects %s:\n%s%s" % (tool_args[0], os.path.basename(path), result.stdout, result.stderr))


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit("usage: %s BUILD_DIR [SCREENSHOT_DIR]" % sys.argv[0])
    build_dir = sys.argv[1]
    shots = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.getcwd(), "e2e-screenshots")
    built = linkage.problems(os.path.join(build_dir, "src", "tormell"),
                             glob.glob(os.path.join(build_dir, "lib*", "**", "tormell", "*.so*"), recursive=True))
    built += exports_problems(build_dir)
    if built:
        sys.exit("FAIL: in the build tree:\n  " + "\n  ".join(built))
    prefix = tempfile.mkdtemp(prefix="tormell-install-")
    staging = tempfile.mkdtemp(prefix="tormell-destdir-")
    # A prefix that does not exist: staged, nothing may be written there.
    staged_prefix = os.path.join(prefix, "staged-prefix")
    try:
        install(build_dir, prefix)
        problems, desktop, metainfo = check_tree(prefix)
        skipped = []
        if desktop:
            validate(["desktop-file-validate"], desktop, problems, skipped)
        if metainfo:
            validate(["appstreamcli", "validate", "--no-net"], metainfo, problems, skipped)
        install(build_dir, staged_prefix, destdir=staging)
        if os.path.exists(staged_prefix):
            problems.append("an install with DESTDIR wrote into the prefix %s itself" % staged_prefix)
        staged_problems, _, _ = check_tree(staging + staged_prefix)
        problems += ["with DESTDIR: " + problem for problem in staged_problems]
        if not problems:
            try:
                installed_game.play(os.path.join(prefix, "bin", "tormell"), shots, "installed-prefix")
            except xs.Failure as failure:
                problems.append("the installed game: %s" % failure)
    finally:
        shutil.rmtree(prefix, ignore_errors=True)
        shutil.rmtree(staging, ignore_errors=True)
    if problems:
        sys.exit("FAIL:\n  " + "\n  ".join(problems))
    if skipped:
        # The files are all there, but the validation did not happen: say so
        # rather than pass. scripts/install-deps.sh installs both tools.
        print("SKIP: installed files complete, but %s not found, so they were not validated" % ", ".join(skipped))
        sys.exit(SKIPPED)
    print("PASS: the program linked as a distribution would have it; %d icon sizes, scalable icon, desktop "
          "entry and metainfo installed and accepted by desktop-file-validate and appstreamcli; the same tree "
          "staged with DESTDIR; the installed game opened its record window" % len(ICON_SIDES))


if __name__ == "__main__":
    main()
