"""Typing a display time: a click into the box gives it the keyboard (under a
window manager, by way of the focus it gives the main window for the click),
and START then shows the target for the time typed, not for the 0.75 s the
box opens with."""

import time

import xsession as xs

TYPED_SECONDS = 4
# Long after a display of 0.75 s has ended, and well before the one typed ends
# even when a screen grab is slow.
STILL_SHOWN_AFTER = 1.5


def test(s):
    s.start_game()
    main = s.main_window()
    main.wait_for_rest_figure()
    main.set_display_time(TYPED_SECONDS)

    main.start()
    main.wait_for_target(True)
    first_seen = time.monotonic()
    time.sleep(STILL_SHOWN_AFTER)
    xs.check(main.shows_red(s.grab()),
             "the target was gone %.1f s after it appeared: the typed %d s did not reach the box"
             % (time.monotonic() - first_seen, TYPED_SECONDS))
    main.wait_for_target(False, TYPED_SECONDS + 5)
    shown = time.monotonic() - first_seen
    print("the target showed for about %.1f s after %d s were typed" % (shown, TYPED_SECONDS))

    main.end()
    code = s.wait_for_exit()
    xs.check(code == 0, "END: the game exited with %s\n%s" % (code, s.game_output()))


if __name__ == "__main__":
    xs.main(test)
