"""Closing the title during its three seconds ends the program at once with
status 0, and no main window comes up. Under the window manager the player
presses Alt+F4 (the title is frameless: no close box), and the window manager
asks the title to close; without one the test sends that request itself
(WM_DELETE_WINDOW)."""

import time

import xsession as xs

# Well under the title's three seconds: the program must not wait them out.
EXIT_WITHIN = 2.5


def test(s):
    s.start_game()

    title = s.title_window()
    asked = time.monotonic()
    s.close_window(title)
    code = s.wait_for_exit()
    took = time.monotonic() - asked
    output = s.game_output()
    xs.check(code == 0, "the game exited with %s after its title was closed\n%s" % (code, output))
    xs.check(took < EXIT_WITHIN, "the game took %.2f s to end after its title was closed" % took)
    xs.check("tormell:" not in output and "ERROR" not in output, "the game reported trouble:\n" + output)
    print("the game ended %.2f s after its title was asked to close" % took)


if __name__ == "__main__":
    xs.main(test)
