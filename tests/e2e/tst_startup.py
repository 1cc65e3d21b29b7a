"""Start-up: the title shows for about three seconds, then the main window
takes its place, and END ends the program cleanly."""

import time

import xsession as xs

# The title's wait is three seconds; polling can only shorten what we see of it.
TITLE_AT_LEAST = 2.0


def test(s):
    s.start_game()

    title = s.title_window()
    title_seen = time.monotonic()
    img = s.grab()
    # Mostly the title's own background colour: the window painted, not a blank frame.
    background = img.count(title.rect, lambda p: p == xs.TITLE_BACKGROUND)
    xs.check(background > 0.6 * title.w * title.h,
             "title window is not mostly #C0C0FF (%d of %d pixels)" % (background, title.w * title.h))
    xs.check(not [w for w in s.windows("^Tormell$") if w.h > xs.MAIN_CLIENT_HEIGHT],
             "the main window is already up while the title shows")
    s.save(img, "title.png", s.frame_rect(title))

    main = s.main_window()
    shown_after = time.monotonic() - title_seen
    xs.check(shown_after >= TITLE_AT_LEAST,
             "main window came %.2f s after the title, expected about 3 s" % shown_after)
    s.wait_for("the title to be hidden",
               lambda: not [w for w in s.windows("^Tormell$") if w.h < xs.MAIN_CLIENT_HEIGHT], 5)

    # The ready state: white canvas with the black rest figure on it.
    img, discs = main.wait_for_rest_figure(5)
    inside = main.canvas_inside
    white = img.count(inside, lambda p: p == (255, 255, 255))
    xs.check(white > 0.8 * inside[2] * inside[3], "canvas is not mostly white (%d pixels)" % white)
    for i, joint in xs.rest_joints().items():
        spot = main.canvas_point(joint)
        xs.check(any(xs.distance(spot, d) < 2.5 for d in discs), "no joint disc at rest joint %d %s" % (i, spot))
    s.save(img, "ready.png", s.frame_rect(main.win))

    main.end()
    code = s.wait_for_exit()
    xs.check(code == 0, "END: the game exited with %s\n%s" % (code, s.game_output()))
    print("title shown for %.2f s before the main window appeared" % shown_after)


if __name__ == "__main__":
    xs.main(test)
