"""What a screen reader finds through AT-SPI, on a private session bus with
the accessibility bus switched on as a screen reader switches it on: every
window is announced as a frame or a dialog, every control that takes the
focus has a name, and the labels that show a value are read with the value:
the seconds count while a round runs, the result, and the record's summary."""

import re
import sys

import xsession as xs

SKIPPED = 77  # ctest's SKIP_RETURN_CODE
WINDOW_ROLES = ("frame", "dialog")
# Long enough for the seconds count to reach 1 after the display.
TREE_TIMEOUT = 10


def nodes(tree):
    yield tree
    for child in tree["children"]:
        yield from nodes(child)


def windows(app, name):
    return [w for w in app["children"] if w["name"] == name]


def window(app, name):
    return next(iter(windows(app, name)), None)


def check_every_window_and_control(app):
    """Roles of the windows and names of the controls that take the focus."""
    for win in app["children"]:
        xs.check(win["role"] in WINDOW_ROLES, "window %r is announced as a %s" % (win["name"], win["role"]))
        for node in nodes(win):
            xs.check(not node["focusable"] or node["name"].strip(),
                     "in %r a %s that takes the focus has no name" % (win["name"], node["role"]))


def label_reading(wins, pattern):
    """The match of pattern against the name of a label in the windows wins, or None."""
    for win in wins:
        for node in nodes(win):
            match = re.fullmatch(pattern, node["name"]) if node["role"] == "label" else None
            if match:
                return match
    return None


def tree_where(s, python, what, found):
    """The accessibility tree, once found(tree) says it shows what."""
    return s.wait_for(what, lambda: (lambda app: app if app and found(app) else None)(s.accessible_tree(python)),
                      TREE_TIMEOUT)


def test(s):
    python = xs.pyatspi_python()
    if not python:
        print("SKIP: no Python with pyatspi (Debian's python3-pyatspi; scripts/install-deps.sh installs it)")
        sys.exit(SKIPPED)
    s.start_screen_reader_bus()
    s.start_game()
    main = s.main_window()
    main.wait_for_rest_figure()
    main.set_display_time()

    # The count is read while it runs.
    main.start()
    main.wait_for_display()
    app = tree_where(s, python, "the seconds count in the main window's tree",
                     lambda app: label_reading(windows(app, "Tormell"), r"経過時間 \d+ 秒"))
    # The title, hidden now, and the main window.
    xs.check(len(windows(app, "Tormell")) == 2, "expected the title and the main window, found %s"
             % [(w["role"], w["name"]) for w in app["children"]])
    check_every_window_and_control(app)

    main.check()
    s.result_dialog()
    app = tree_where(s, python, "the result dialog in the tree", lambda app: window(app, "採点結果"))
    check_every_window_and_control(app)
    result = window(app, "採点結果")
    xs.check(result["role"] == "dialog", "the result dialog is announced as a %s" % result["role"])
    xs.check(label_reading([result], r"表示時間 %d 秒" % xs.DISPLAY_SECONDS),
             "the result dialog does not read the display time typed, %d s" % xs.DISPLAY_SECONDS)
    xs.check(label_reading([result], r"点数 \d+ 点"), "the result dialog does not read the score")
    took = label_reading([result], r"経過時間 (\d+) 秒")
    counted = label_reading(windows(app, "Tormell"), r"経過時間 (\d+) 秒")
    xs.check(took and counted and counted.group(1) == took.group(1),
             "the seconds the result reads (%s) are not those the main window reads (%s)"
             % (took and took.group(0), counted and counted.group(0)))

    s.save_round(s.result_dialog())
    main.open_record()
    app = tree_where(s, python, "the record window in the tree", lambda app: window(app, "点数の記録"))
    check_every_window_and_control(app)
    xs.check(label_reading(windows(app, "点数の記録"), r"(?s)まとめ 回数：1　最高：\d+点　直近10回の平均：[\d.]+点\n(難易度 [\d.]+ の)?記憶の速さ：.+"),
             "the record's summary is not read with its numbers")

    # Closing the record first: it lies over END.
    s.close_window(s.record_window())
    s.wait_for("the record window to close", lambda: not s.windows("^点数の記録$"), 5)
    main.end()
    code = s.wait_for_exit()
    xs.check(code == 0, "END: the game exited with %s\n%s" % (code, s.game_output()))


if __name__ == "__main__":
    xs.main(test)
