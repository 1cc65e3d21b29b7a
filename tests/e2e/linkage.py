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


# Every name a constructor or destructor has in the Itanium ABI, told apart by one code.
_STRUCTOR_CODE = re.compile(r"([CD])[0-5](E|I)")
_CLASS_PART = re.compile(r"^(?:vtable for |typeinfo for |typeinfo name for )?((?:\w+::)+?\w+)(?:::~?\w+(?:\(|$)|$)")
_TYPEINFO = re.compile(r"^typeinfo for (.+)$")
# A symbol of the game's own, not a standard template made for one of its types.
_GAME_OWN = re.compile(r"^(?:(?:vtable|typeinfo|typeinfo name|guard variable) for )?(?:toolkit|core|record|widgets|ui|app)::")


def _dynamic(path, which):
    """The mangled dynamic symbols of `path`, defined or undefined."""
    listed = subprocess.run(["nm", "-D", which, "--format=posix", path], capture_output=True, text=True, timeout=60)
    return {line.split()[0] for line in listed.stdout.splitlines() if line.strip()}


def _demangled(names):
    if not names:
        return {}
    names = sorted(names)
    out = subprocess.run(["c++filt"], input="\n".join(names), capture_output=True, text=True, timeout=60).stdout
    return dict(zip(names, out.splitlines()))


def unused_exports(library, users):
    """The game's symbols that `library` exports and none of `users` imports,
    leaving out another ABI name of a constructor or destructor one of them
    imports, and the members of a class exported whole (its type information
    exported: its vtable and meta-object go with it, and the sanitizers check
    calls of its members against it)."""
    exported = {name for name in _dynamic(library, "--defined-only")}
    imported = set()
    for user in users:
        imported |= _dynamic(user, "--undefined-only")
    used = exported & imported
    used_structors = {_STRUCTOR_CODE.sub(r"\1*\2", name) for name in used}
    names = _demangled(exported)
    # A class is exported whole when its type information is.
    whole = {match.group(1) for match in map(_TYPEINFO.match, names.values()) if match}
    unused = []
    for name in sorted(exported - used):
        text = names.get(name, name)
        if not _GAME_OWN.match(text) or _STRUCTOR_CODE.sub(r"\1*\2", name) in used_structors:
            continue
        match = _CLASS_PART.match(text)
        if match and match.group(1) in whole:
            continue
        unused.append(text)
    return unused
