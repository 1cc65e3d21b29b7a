"""The installed game played briefly, as after an installation: it starts on a
private X server, shows its main window, opens its record window (a module
found beside its private library, relative to the program) and ends with 0
on END. Shared by the installation and package tests."""

import re

import xsession as xs

# The private library's file carries the whole version: it is this build's alone.
PRIVATE_LIBRARY = re.compile(r"^libtormell-private\.so\.\d+\.\d+\.\d+$")
MODULE = "tormell_record_window.so"


def shared_objects(paths):
    """The game's shared objects among `paths`: its private library and its module."""
    return [path for path in paths
            if "/tormell/" in path and (path.endswith("/" + MODULE) or PRIVATE_LIBRARY.match(path.rsplit("/", 1)[-1]))]


def play(program, shots, name):
    """Starts `program`, waits for its ready main window, opens and closes the
    record window and ends the game with END; screenshots NAME.png and
    NAME-record.png go to `shots`."""
    session = xs.Session(program, shots)
    try:
        session.start_game()
        main = session.main_window(timeout=30)  # after the title's three seconds
        img, _ = main.wait_for_rest_figure()
        session.save(img, name + ".png", session.frame_rect(main.win))
        # The record window is a module of its own: it must have been installed where the program looks.
        record = main.open_record()
        session.save(session.grab(), name + "-record.png", session.frame_rect(record))
        session.close_window(record)  # it stands over the main window's buttons
        session.wait_for("the record window to close", lambda: not session.windows("^点数の記録$"), 5)
        main.end()
        code = session.wait_for_exit()
        xs.check(code == 0, "the installed program exited with %s on END\n%s" % (code, session.game_output()))
    finally:
        session.close()
