"""Plays one round on a private X server and keeps a picture of each step
for the README: title, ready, display, reproducing, dragged, result; then
the ready window again at a scale factor of 2 (ready@2x).

Usage: screenshots.py TORMELL_BINARY OUTPUT_DIR
"""

import os
import shutil
import sys

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

import xsession as xs  # noqa: E402
from tst_round import read_target  # noqa: E402

ROUNDS = 6
DIALOG_GAP = 16  # pixels between the main window and the result dialog beside it
HIDPI_SCALE = 2


def tour(s):
    s.start_game()

    def title_probe():
        wins = [w for w in s.windows("^Tormell$") if w.h < xs.MAIN_CLIENT_HEIGHT]
        return wins[0] if wins else None

    title = s.wait_for("the title window", title_probe, 15)
    s.wait_for("the title to paint", lambda: s.grab().pixel(title.x + 4, title.y + 4) == xs.TITLE_BACKGROUND, 5)
    s.save(s.grab(), "title.png", s.frame_rect(title))

    main = s.main_window()
    ready = s.wait_for("the rest figure", lambda: (lambda img: img if len(main.discs(img)) >= 9 else None)(s.grab()), 5)
    s.save(ready, "ready.png", s.frame_rect(main.win))

    for _ in range(ROUNDS):
        main.start()
        display = main.wait_for_target(True)
        found = read_target(main, display)
        main.wait_for_target(False)
        if found:
            break
    else:
        raise xs.Failure("no usable target in %d rounds" % ROUNDS)
    joint, target = found
    s.save(display, "display.png", s.frame_rect(main.win))

    rest = main.canvas_point(xs.rest_joints()[joint])
    halfway = ((rest[0] + target[0]) / 2, (rest[1] + target[1]) / 2)
    s.press(rest)
    s.move(rest, halfway, 6)
    s.save(s.grab(), "reproducing.png", s.frame_rect(main.win))
    s.move(halfway, target, 6)
    s.release()
    dropped = s.wait_for("the dropped joint",
                         lambda: (lambda img: img if any(xs.distance(target, d) < 2.5 for d in main.discs(img))
                                  else None)(s.grab()), 5)
    s.save(dropped, "dragged.png", s.frame_rect(main.win))

    main.check()
    dialog = s.result_dialog()
    # Beside the main window, so the picture shows the figure and the verdict too.
    main_frame = s.frame_rect(main.win)
    s.run("xdotool", "windowmove", str(dialog.id), str(main_frame[0] + main_frame[2] + DIALOG_GAP),
          str(main.win.y + xs.CANVAS_SIDE // 3))
    dialog = s.wait_for("the dialog beside the main window",
                        lambda: next((w for w in s.windows("^採点結果$") if w.x > main.win.x + main.win.w), None), 5)
    img = main.wait_for_new_status(dropped)
    frames = [main_frame, s.frame_rect(dialog)]
    left, top = min(f[0] for f in frames), min(f[1] for f in frames)
    right, bottom = max(f[0] + f[2] for f in frames), max(f[1] + f[3] for f in frames)
    s.save(img, "result.png", (left, top, right - left, bottom - top))

    main.end()
    xs.check(s.wait_for_exit() == 0, "the game did not exit cleanly")
    ready_at_scale(s.binary, s.shots_dir, s.wm is not None)


def ready_at_scale(binary, shots_dir, framed):
    """The ready window as a screen at twice the density shows it, on a screen twice as large."""
    screen = tuple(HIDPI_SCALE * side for side in xs.SCREEN)
    s = xs.Session(binary, shots_dir, shutil.which("openbox") if framed else None, screen)
    try:
        s.start_game({"QT_SCALE_FACTOR": str(HIDPI_SCALE)})
        main = s.wait_for("the main window at scale %d" % HIDPI_SCALE,
                          lambda: next((w for w in s.windows("^Tormell$")
                                        if w.h > HIDPI_SCALE * xs.MAIN_CLIENT_HEIGHT), None), 20)
        # Painted when two grabs a moment apart agree and the canvas is no longer blank.
        last = None

        def settled():
            nonlocal last
            img = s.grab()
            same = last is not None and img.data == last.data
            last = img
            band = (main.x, main.y + main.h // 3, main.w, 8)  # across the figure's chest
            return img if same and img.count(band, xs.is_black) > 0 else None
        img = s.wait_for("the window at scale %d to paint" % HIDPI_SCALE, settled, 10)
        s.save(img, "ready@2x.png", s.frame_rect(main))
    finally:
        s.close()


if __name__ == "__main__":
    xs.main(tour, window_manager=shutil.which("openbox"))
