"""The record window on the desktop: it opens beside the main window
wherever that is, comes back where the player left it, and its close box
closes it and leaves the game running. Under the window manager the player
drags the windows by their title bars and clicks the close box; without one
the test moves them and sends the close request itself."""

import xsession as xs

# Room on the main window's right for the record window at its opening size.
SCREEN = (2200, 1000)
# The main window opens in the middle of the screen: moved off it, beside the
# main window is not where a window manager may put a window of its own accord.
MAIN_MOVE = (-400, -100)
MOVE = (170, 110)  # kept on the screen: one partly off it comes back moved onto it


def overlap(a, b):
    """Whether frames a and b, as (x, y, w, h), share a pixel."""
    return a[0] < b[0] + b[2] and b[0] < a[0] + a[2] and a[1] < b[1] + b[3] and b[1] < a[1] + a[3]


def moved_to(s, title, rect):
    """The window titled title once it is at rect."""
    return s.wait_for("the window %s at %s" % (title, rect),
                      lambda: next((w for w in s.windows(title) if w.rect == rect), None), 5)


def test(s):
    s.start_game()
    main = s.main_window()
    main.wait_for_rest_figure()
    to = (main.win.x + MAIN_MOVE[0], main.win.y + MAIN_MOVE[1], main.win.w, main.win.h)
    s.move_window(main.win, MAIN_MOVE)
    main = xs.MainWindow(s, moved_to(s, "^Tormell$", to))

    record = main.open_record()
    opened, owner = s.frame_rect(record), s.frame_rect(main.win)
    xs.check(not overlap(opened, owner) and opened[0] >= owner[0] + owner[2] and opened[1] == owner[1],
             "the record window opened at %s, not on the right of the main window at %s" % (opened, owner))

    moved = (record.x + MOVE[0], record.y + MOVE[1], record.w, record.h)
    s.move_window(record, MOVE)
    record = moved_to(s, "^点数の記録$", moved)
    s.save(s.grab(), "moved.png", (0, 0) + s.screen)

    s.close_window(record)
    s.wait_for("the record window to close", lambda: not s.windows("^点数の記録$"), 5)
    # The main window is looked for until it is found: a look at the moment the
    # record window goes may miss it. Should the game have ended, wait_for says
    # so, with its exit code and what it printed.
    s.wait_for("the main window, the game running, after the record window closed",
               lambda: s.game.poll() is None and s.windows("^Tormell$"), 5)

    reopened = main.open_record()
    xs.check(reopened.rect == moved, "the record window came back at %s, not where it was left, %s"
             % (reopened.rect, moved))

    # Closed again, so that it does not lie over END.
    s.close_window(reopened)
    s.wait_for("the record window to close again", lambda: not s.windows("^点数の記録$"), 5)
    main.end()
    code = s.wait_for_exit()
    xs.check(code == 0, "END: the game exited with %s\n%s" % (code, s.game_output()))


if __name__ == "__main__":
    xs.main(test, screen=SCREEN)
