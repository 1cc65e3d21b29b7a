"""How the game is linked, as a distribution builds and checks it: the
program exports none of the game's symbols, and no shared object of the game
(the program, its private library, the record window's module) is left with
a symbol undefined or a library not found."""

import re
import subprocess

# The game's namespaces, as nm -C writes their symbols.
GAME_SYMBOL = re.compile(r"\b(toolkit|core|record|widgets|ui|app)::")


def problems(program, shared_objects):
    """What is wrong with the linkage of `program` and `shared_objects`; empty when nothing."""
    found = []
    exported = subprocess.run(["nm", "-D", "--defined-only", "-C", program], capture_output=True, text=True,
                              timeout=60)
    if exported.returncode != 0:
        found.append("nm -D failed on %s: %s" % (program, exported.stderr))
    game = [line for line in exported.stdout.splitlines() if GAME_SYMBOL.search(line)]
    if game:
        found.append("%s exports %d of the game's symbols, such as %s" % (program, len(game), game[0]))
    for path in [program] + list(shared_objects):
        resolved = subprocess.run(["ldd", "-r", path], capture_output=True, text=True, timeout=60)
        unresolved = [line.strip() for line in (resolved.stdout + resolved.stderr).splitlines()
                      if "undefined symbol" in line or "not found" in line]
        if resolved.returncode != 0 or unresolved:
            found.append("ldd -r %s: %s" % (path, "; ".join(unresolved[:3]) or resolved.stderr.strip()))
    return found
