"""Plays one round on a private X server and keeps a picture of each step
for the README: title, ready, display, reproducing, dragged, result; saves
it and several more rounds played with the mouse into the score record and
keeps the record window (record); adds eight weeks of coached practice by a
simulated player to the record and keeps the record window's memory speed
chart over the whole difficulty (progress) and its delete confirmation
(confirm); turns coached practice on there and takes its next display time
into the main window, the record window at its smallest beside it (coached,
record-small); then the ready window again at a scale factor of 2 (ready@2x).

Usage: screenshots.py TORMELL_BINARY OUTPUT_DIR
"""

import datetime
import os
import random
import shutil
import sqlite3
import sys
from contextlib import closing

sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))

import xsession as xs  # noqa: E402
from tst_round import usable_target  # noqa: E402

DIALOG_GAP = 16  # pixels between the main window and the result dialog beside it
HIDPI_SCALE = 2
# How far along the way from rest to target each further round drops its joint:
# a score of about a hundred times as much, so the record has a varied history.
DROPS = (0.45, 0.62, 0.55, 0.74, 0.68, 0.86, 0.93)
# The screen: a common laptop's, room for the record window at its opening size,
# and for the main window and the record window at its smallest side by side.
TOUR_SCREEN = (1600, 900)
WINDOW_GAP = 16  # pixels between the main window and the record window beside it
RECORD_AT = (16, 16)  # where the record window's frame goes, away from the screen's edge

# The simulated player of the progress chart: coached rounds at difficulty 1,
# some each day for eight weeks, its memory speed (the display time it
# remembers three rounds in four) falling from the first value to the second.
SIMULATED_SEED = 20261207
SIMULATED_DAYS = 56
SIMULATED_ROUNDS_A_DAY = 8
SIMULATED_SPEEDS = (1.2, 0.35)
SIMULATED_SLOPE = 4.0  # per unit of natural log of the display time
LAPSE = 0.02
# The coach's staircase: until the outcome first changes, the time halved after
# a remembered round (a score of 60 or more) and doubled after another; then a
# quarter of an octave a step, one step shorter after a remembered round,
# three longer after another.
FIRST_STEP = 2
STEP = 2 ** 0.25
REMEMBERED = 60
SHORTEST, LONGEST = 0.03, 3.0
VERDICTS = ((20, "××　だめ！　××"), (40, "　×もっとがんばれ×　"), (60, "△△　ふつう　△△"),
            (80, "○○　ＧＯＯＤ！！　○○"), (101, "◎◎ ＶＥＲＹ　ＧＯＯＤ！！ ◎◎"))


def tour(s):
    s.start_game()

    title = s.title_window()
    s.wait_for("the title to paint", lambda: s.grab().pixel(title.x + 4, title.y + 4) == xs.TITLE_BACKGROUND, 5)
    s.save(s.grab(), "title.png", s.frame_rect(title))

    main = s.main_window()
    ready, _ = main.wait_for_rest_figure(5)
    s.save(ready, "ready.png", s.frame_rect(main.win))

    display, (joint, target) = usable_target(main)
    s.save(display, "display.png", s.frame_rect(main.win))

    rest = main.canvas_point(xs.rest_joints()[joint])
    halfway = ((rest[0] + target[0]) / 2, (rest[1] + target[1]) / 2)
    s.press(rest)
    s.move(rest, halfway, 6)
    s.save(s.grab(), "reproducing.png", s.frame_rect(main.win))
    s.move(halfway, target, 6)
    s.release()
    dropped, _ = main.wait_for_disc(target)
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

    s.save_round(dialog)
    for drop in DROPS:
        play_round(s, main, drop)
    kept = rounds_kept(s)
    xs.check(kept == 1 + len(DROPS), "the record holds %d rounds, not the %d saved" % (kept, 1 + len(DROPS)))
    record = open_record(s, main)
    s.save(settled_grab(s, record.rect), "record.png", s.frame_rect(record))

    # The same window once eight weeks of coached practice are in the record:
    # brought forward again, it reads the record anew. The whole of difficulty
    # 1 (the list's first entry, every display time the coach chose) and the
    # second tab (the memory speed) are chosen from the keyboard.
    s.run("xdotool", "windowactivate", "--sync", str(main.win.id))
    add_simulated_practice(s)
    s.run("xdotool", "windowactivate", "--sync", str(record.id), "sleep", "0.5", "key", "--delay", "200", "Home", "Tab",
          "Right")
    s.save(settled_grab(s, record.rect), "progress.png", s.frame_rect(record))

    # Qt's own dialogs read Japanese: the table's Delete key asks before it
    # removes the round chosen, and Escape answers いいえ.
    s.run("xdotool", "key", "--delay", "200", "Tab", "Tab", "Delete")  # past the chart to the table
    s.wait_for("the delete confirmation", lambda: s.windows("^記録の削除$"), 5)
    s.save(settled_grab(s, record.rect), "confirm.png", s.frame_rect(record))
    s.run("xdotool", "key", "Escape")

    # Coached practice from the record window at its smallest, the main window
    # beside it: the switch turned on and its next display time taken to the
    # main window, both from the keyboard (the table has the focus).
    s.run("xdotool", "windowactivate", "--sync", str(main.win.id))  # its title bar out from under the record's
    main_frame = s.frame_rect(main.win)
    s.move_window(main.win, (WINDOW_GAP - main_frame[0], RECORD_AT[1] - main_frame[1]))
    main = xs.MainWindow(s, s.wait_for("the main window at the screen's left",
                                       lambda: next((w for w in s.windows("^Tormell$")
                                                     if s.frame_rect(w)[0] == WINDOW_GAP), None), 5))
    main_frame = s.frame_rect(main.win)
    s.run("xdotool", "windowsize", str(record.id), "1", "1")  # held at its smallest size
    record = s.wait_for("the record window at its smallest",
                        lambda: next((w for w in s.windows("^点数の記録$") if w.w < record.w), None), 5)
    frame = s.frame_rect(record)
    s.move_window(record, (main_frame[0] + main_frame[2] + WINDOW_GAP - frame[0], main_frame[1] - frame[1]))
    record = s.wait_for("the record window beside the main window",
                        lambda: next((w for w in s.windows("^点数の記録$")
                                      if s.frame_rect(w)[0] > main_frame[0] + main_frame[2]), None), 5)
    s.run("xdotool", "windowactivate", "--sync", str(record.id), "sleep", "0.5", "key", "--delay", "200",
          "Tab", "space", "Tab", "space")
    s.wait_for("the main window forward with the coach's time", lambda: s.active_window() == main.win.id, 5)
    img = settled_grab(s, record.rect)
    frames = [s.frame_rect(main.win), s.frame_rect(record)]
    left, top = min(f[0] for f in frames), min(f[1] for f in frames)
    right, bottom = max(f[0] + f[2] for f in frames), max(f[1] + f[3] for f in frames)
    s.save(img, "coached.png", (left, top, right - left, bottom - top))
    s.save(img, "record-small.png", frames[1])

    # The record window covers END; the main window comes forward to be clicked.
    s.run("xdotool", "windowactivate", "--sync", str(main.win.id))
    main.end()
    xs.check(s.wait_for_exit() == 0, "the game did not exit cleanly")
    ready_at_scale(s.binary, s.shots_dir, s.wm is not None)


def play_round(s, main, drop):
    """A round whose joint is dropped the fraction drop of the way to its target, checked and saved."""
    _, (joint, target) = usable_target(main)
    rest = main.canvas_point(xs.rest_joints()[joint])
    at = (rest[0] + drop * (target[0] - rest[0]), rest[1] + drop * (target[1] - rest[1]))
    s.drag(rest, at, 8)
    placed, _ = main.wait_for_disc(at)
    main.check()
    dialog = s.result_dialog()
    main.wait_for_new_status(placed)
    s.save_round(dialog)


def rounds_kept(s):
    """How many rounds the session's record file holds, read without writing."""
    path = os.path.join(s.env["XDG_DATA_HOME"], "Tormell", "scores.sqlite")
    with closing(sqlite3.connect("file:%s?mode=ro" % path, uri=True)) as db:
        return db.execute("SELECT COUNT(*) FROM rounds").fetchone()[0]


def add_simulated_practice(s):
    """Coached rounds of the simulated player, written into the session's record before its real rounds,
    each with the poses of the first round played, so that whichever round is drawn again looks like one."""
    rng = random.Random(SIMULATED_SEED)
    path = os.path.join(s.env["XDG_DATA_HOME"], "Tormell", "scores.sqlite")
    first_day = datetime.datetime.now().astimezone() - datetime.timedelta(days=SIMULATED_DAYS)
    seconds = 0.75
    first_outcome, reversed_ = None, False
    rows = []
    for day in range(SIMULATED_DAYS):
        progress = day / (SIMULATED_DAYS - 1)
        speed = SIMULATED_SPEEDS[0] * (SIMULATED_SPEEDS[1] / SIMULATED_SPEEDS[0]) ** progress
        for n in range(SIMULATED_ROUNDS_A_DAY):
            # A logistic in log time, scaled down by the lapses and passing 0.75 at the memory speed.
            odds_against = (1 - LAPSE) / 0.75 - 1
            remembered_with = (1 - LAPSE) / (1 + odds_against * (speed / seconds) ** SIMULATED_SLOPE)
            remembered = rng.random() < remembered_with
            score = rng.randint(REMEMBERED, 100) if remembered else rng.randint(0, REMEMBERED - 1)
            played = first_day + datetime.timedelta(days=day, hours=19, minutes=3 * n)
            rows.append((played, seconds, score))
            first_outcome = remembered if first_outcome is None else first_outcome
            reversed_ = reversed_ or remembered != first_outcome
            if reversed_:
                seconds = seconds / STEP if remembered else seconds * STEP ** 3
            else:
                seconds = seconds / FIRST_STEP if remembered else seconds * FIRST_STEP
            seconds = min(max(round(seconds, 2), SHORTEST), LONGEST)
    with closing(sqlite3.connect(path)) as db, db:
        poses = db.execute("SELECT target, player FROM round_joints ORDER BY round_id LIMIT 1").fetchone()
        for played, shown, score in rows:
            verdict = next(text for below, text in VERDICTS if score < below)
            cursor = db.execute(
                "INSERT INTO rounds (played_at, played_ms, difficulty, display_seconds, elapsed_seconds, score,"
                " verdict, grid_lines, coached) VALUES (?, ?, 1, ?, ?, ?, ?, 0, 1)",
                (played.isoformat(timespec="milliseconds"), int(played.timestamp() * 1000), shown,
                 rng.randint(4, 20), score, verdict))
            db.execute("INSERT INTO round_joints (round_id, target, player) VALUES (?, ?, ?)",
                       (cursor.lastrowid, *poses))


def open_record(s, main):
    """The 点数 menu's record window at the size it opens with, moved to be shown whole."""
    record = main.open_record()
    frame = s.frame_rect(record)
    at = (RECORD_AT[0] + record.x - frame[0], RECORD_AT[1] + record.y - frame[1])
    s.move_window(record, (RECORD_AT[0] - frame[0], RECORD_AT[1] - frame[1]))
    return s.wait_for("the record window in place",
                      lambda: next((w for w in s.windows("^点数の記録$") if (w.x, w.y) == at), None), 5)


def settled_grab(s, rect):
    """A grab once the screen has stopped changing and rect is no longer blank."""
    last = None

    def settled():
        nonlocal last
        img = s.grab()
        same = last is not None and img.data == last.data
        last = img
        return img if same and img.count(rect, xs.is_black) > 0 else None
    return s.wait_for("the window to paint", settled, 10)


def ready_at_scale(binary, shots_dir, framed):
    """The ready window as a screen at twice the density shows it, on a screen twice as large."""
    screen = tuple(HIDPI_SCALE * side for side in xs.SCREEN)
    s = xs.Session(binary, shots_dir, shutil.which("openbox") if framed else None, screen)
    try:
        s.start_game({"QT_SCALE_FACTOR": str(HIDPI_SCALE)})
        main = s.wait_for("the main window at scale %d" % HIDPI_SCALE,
                          lambda: next((w for w in s.windows("^Tormell$")
                                        if w.h > HIDPI_SCALE * xs.MAIN_CLIENT_HEIGHT), None), 20)
        band = (main.x, main.y + main.h // 3, main.w, 8)  # across the figure's chest
        s.save(settled_grab(s, band), "ready@2x.png", s.frame_rect(main))
    finally:
        s.close()


if __name__ == "__main__":
    xs.main(tour, window_manager=shutil.which("openbox"), screen=TOUR_SCREEN)
