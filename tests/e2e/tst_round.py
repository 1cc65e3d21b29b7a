"""A whole round at difficulty 1, played from the screen alone: START, read
the moved joint off the display, drag its handle there, CHEK, read the
result. A second round left untouched must earn a shorter verdict."""

import xsession as xs

LARGEST_ANGLE_ERROR = 3      # pixels a target disc may sit off its segment's circle
# A target disc this far from every rest joint counts as moved. Far enough that
# a drop a pixel off still scores above 80, the best verdict's threshold.
SEEN_AS_MOVED = 15
HANDLE_CLEARANCE = 12        # a path nearer than this to another handle would hand the drag over
ATTEMPTS = 6
# Status texts: the best verdict is six full-width characters (about 19 pixels
# each) and two blanks longer than the worst; the second best only three.
LONGER_VERDICT = 80


def near_segment(p, a, b):
    """Distance of point p from the segment a-b."""
    ax, ay = a
    bx, by = b
    length2 = (bx - ax) ** 2 + (by - ay) ** 2
    t = 0 if length2 == 0 else max(0, min(1, ((p[0] - ax) * (bx - ax) + (p[1] - ay) * (by - ay)) / length2))
    return xs.distance(p, (ax + t * (bx - ax), ay + t * (by - ay)))


def read_target(main, img):
    """(joint, target point) of the one joint the display moved, or None when
    it moved too little to see or lands where another handle would take the drag."""
    rest = {i: main.canvas_point(j) for i, j in xs.rest_joints().items()}
    discs = main.discs(img)
    moved = [d for d in discs if min(xs.distance(d, r) for r in rest.values()) > SEEN_AS_MOVED]
    xs.check(len(moved) <= 1, "difficulty 1 shows more than one moved joint: %s" % moved)
    if not moved:
        return None
    target = moved[0]
    vacated = [i for i, r in rest.items() if not any(xs.distance(d, r) < 3 for d in discs)]
    xs.check(len(vacated) == 1, "expected one joint to leave its rest place, found %s" % vacated)
    joint = vacated[0]
    xs.check(joint % 2 == 1, "difficulty 1 moved joint %d; only head, hands and feet may move" % joint)

    # The target joint lies on its segment's circle, and a red line leads to it.
    start = main.canvas_point(xs.segment_start(xs.rest_joints(), joint))
    radius = xs.px(xs.LENGTHS[joint])
    xs.check(abs(xs.distance(start, target) - radius) < LARGEST_ANGLE_ERROR,
             "target disc %s is %.1f px from its segment start, expected %.1f"
             % (target, xs.distance(start, target), radius))
    middle = ((start[0] + target[0]) / 2, (start[1] + target[1]) / 2)
    xs.check(img.count((middle[0] - 1, middle[1] - 1, 3, 3), xs.is_red) > 0,
             "no red target line between %s and %s" % (start, target))

    others = [r for i, r in rest.items() if i != joint]
    if any(near_segment(r, rest[joint], target) < HANDLE_CLEARANCE for r in others):
        return None
    return joint, target


def usable_target(main, attempts=ATTEMPTS):
    """START until the display moves a joint the mouse can take there:
    (the grab showing it, (joint, target point))."""
    for attempt in range(attempts):
        main.start()
        display = main.wait_for_target(True)
        found = read_target(main, display)
        main.wait_for_target(False)
        if found:
            return display, found
        print("attempt %d: target too close to the rest pose or to another handle; new round" % (attempt + 1))
    raise xs.Failure("no usable target in %d rounds" % attempts)


def test(s):
    s.start_game()
    main = s.main_window()
    main.wait_for_rest_figure()
    main.set_display_time()

    display, (joint, target) = usable_target(main)
    print("joint %d moved to %s" % (joint, target))
    s.save(display, "display.png", s.frame_rect(main.win))

    rest = main.canvas_point(xs.rest_joints()[joint])
    halfway = ((rest[0] + target[0]) / 2, (rest[1] + target[1]) / 2)
    s.press(rest)
    s.move(rest, halfway, 6)
    s.save(s.grab(), "reproducing.png", s.frame_rect(main.win))
    s.move(halfway, target, 6)
    s.release()

    img, discs = main.wait_for_disc(target)
    xs.check(not any(xs.distance(rest, d) < 3 for d in discs), "the joint's disc stayed at rest")
    s.save(img, "dragged.png", s.frame_rect(main.win))

    main.check()
    dialog = s.result_dialog()
    img = main.wait_for_new_status(img)
    good = main.status_text_right(img)
    frames = [s.frame_rect(main.win), s.frame_rect(dialog)]
    left = min(f[0] for f in frames)
    top = min(f[1] for f in frames)
    right = max(f[0] + f[2] for f in frames)
    bottom = max(f[1] + f[3] for f in frames)
    s.save(img, "result.png", (left, top, right - left, bottom - top))

    # "点数保存" closes the dialog and leaves the main window as it is.
    s.save_round(dialog)

    # A round with no joint moved scores 0: the worst verdict, the shortest text.
    main.start()
    main.wait_for_target(True)
    img = main.wait_for_target(False)
    main.check()
    s.result_dialog()
    img = main.wait_for_new_status(img)
    poor = main.status_text_right(img)
    s.save(img, "untouched-result.png", s.frame_rect(main.win))
    print("verdict text reaches %d px after the reproduced round, %d px after the untouched one" % (good, poor))
    xs.check(poor > 0, "no verdict in the status bar after the untouched round")
    xs.check(good - poor >= LONGER_VERDICT,
             "the reproduced round's verdict (%d px) is not clearly longer than the untouched one's (%d px)"
             % (good, poor))

    # END also takes the open dialog with it, and the program ends.
    main.end()
    code = s.wait_for_exit()
    xs.check(code == 0, "END: the game exited with %s\n%s" % (code, s.game_output()))


if __name__ == "__main__":
    xs.main(test)
