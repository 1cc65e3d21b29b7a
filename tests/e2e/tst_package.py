"""The Debian package: cpack builds it from this build, dpkg installs it, the
installed program is linked as a distribution would have it, /usr/bin/tormell
starts on a private X server, opens its record window and ends cleanly on
END, and dpkg removes it again.

The package is built here only, not by the normal build. Installing needs
root (or sudo without a password); without either the test is skipped. The
package is removed whatever happens after dpkg -i.

Usage: tst_package.py BUILD_DIR [SCREENSHOT_DIR]
"""

import fcntl
import glob
import os
import shutil
import subprocess
import sys
import tempfile

import installed_game
import linkage
import xsession as xs

PACKAGE = "tormell"
INSTALLED_BINARY = "/usr/bin/tormell"
EXPECTED_FILES = (INSTALLED_BINARY,
                  "/usr/share/applications/io.github.tormell.Tormell.desktop",
                  "/usr/share/metainfo/io.github.tormell.Tormell.metainfo.xml")
SKIPPED = 77  # ctest's SKIP_RETURN_CODE for these tests
# Test runs from several build folders take turns with the system's package.
LOCK_PATH = "/tmp/tormell-package-test.lock"


def skip(message):
    print("SKIP:", message)
    sys.exit(SKIPPED)


def root_prefix():
    """What to put before a command that needs root: nothing, sudo -n, or None."""
    if os.geteuid() == 0:
        return []
    if shutil.which("sudo") and subprocess.run(["sudo", "-n", "true"], capture_output=True).returncode == 0:
        return ["sudo", "-n"]
    return None


def dpkg_env():
    # dpkg wants ldconfig and start-stop-daemon, which live in the sbin folders.
    env = dict(os.environ)
    env["PATH"] = env.get("PATH", "") + ":/usr/sbin:/sbin"
    return env


def run(args, what, cwd=None):
    result = subprocess.run(args, cwd=cwd, env=dpkg_env(), stdin=subprocess.DEVNULL,
                            capture_output=True, text=True, timeout=240)
    xs.check(result.returncode == 0, "%s failed (%d):\n%s%s" % (what, result.returncode, result.stdout, result.stderr))
    return result.stdout


def installed():
    result = subprocess.run(["dpkg-query", "-W", "-f=${db:Status-Status}", PACKAGE], capture_output=True, text=True)
    return result.returncode == 0 and result.stdout.strip() not in ("", "not-installed", "config-files")


def build_package(build_dir, out_dir):
    run(["cpack", "--config", os.path.join(build_dir, "CPackConfig.cmake"), "-G", "DEB", "-B", out_dir],
        "cpack -G DEB", cwd=build_dir)
    debs = glob.glob(os.path.join(out_dir, "*.deb"))
    xs.check(len(debs) == 1, "cpack made %d .deb files in %s, expected one" % (len(debs), out_dir))
    return debs[0]


def main():
    if len(sys.argv) < 2:
        sys.exit("usage: %s BUILD_DIR [SCREENSHOT_DIR]" % sys.argv[0])
    build_dir = os.path.abspath(sys.argv[1])
    shots = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.getcwd(), "e2e-screenshots")
    as_root = root_prefix()
    if as_root is None:
        skip("installing a package needs root or password-less sudo")
    for tool in ("cpack", "dpkg-shlibdeps"):
        if not shutil.which(tool, path=dpkg_env()["PATH"]):
            skip("%s not found; scripts/install-deps.sh installs it" % tool)

    out_dir = tempfile.mkdtemp(prefix="tormell-package-")
    try:
        deb = build_package(build_dir, out_dir)
        with open(LOCK_PATH, "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            if installed():
                skip("a tormell package is already installed here; this test does not replace it "
                     "(dpkg -r tormell lets it run)")
            try:
                run(as_root + ["dpkg", "-i", deb], "dpkg -i " + os.path.basename(deb))
                listed = run(["dpkg", "-L", PACKAGE], "dpkg -L").splitlines()
                for path in EXPECTED_FILES:
                    xs.check(path in listed, "dpkg -L %s does not list %s" % (PACKAGE, path))
                shared = installed_game.shared_objects(listed)
                xs.check(len(shared) == 2, "the package's private library and module: %s" % shared)
                wrong = linkage.problems(INSTALLED_BINARY, shared)
                xs.check(not wrong, "linked wrongly once installed:\n  " + "\n  ".join(wrong))
                installed_game.play(INSTALLED_BINARY, shots, "installed")
            finally:
                # Reported, not raised: a failure above must not be hidden by this one.
                removed = subprocess.run(as_root + ["dpkg", "-r", PACKAGE], env=dpkg_env(), capture_output=True,
                                         text=True, timeout=120)
                if removed.returncode != 0:
                    print("dpkg -r %s failed:\n%s%s" % (PACKAGE, removed.stdout, removed.stderr))
            xs.check(not installed() and not os.path.exists(INSTALLED_BINARY),
                     "dpkg -r left the package or %s behind" % INSTALLED_BINARY)
    except xs.Failure as failure:
        sys.exit("FAIL: %s" % failure)
    finally:
        shutil.rmtree(out_dir, ignore_errors=True)
    print("PASS: %s built, installed, started, ended with 0 and removed" % os.path.basename(deb))


if __name__ == "__main__":
    main()
