"""Dragging a joint with the real pointer: after START's display the left
hand's handle follows a press-move-release and its disc stays where it was
dropped."""

import xsession as xs

HAND = 3                 # the left hand: its forearm carries nothing along
MOVE = (40, -30)         # pixels


def test(s):
    s.start_game()
    main = s.main_window()
    main.wait_for_rest_figure()
    main.set_display_time()
    main.start()
    main.wait_for_display()

    old = main.canvas_point(xs.rest_joints()[HAND])
    new = (old[0] + MOVE[0], old[1] + MOVE[1])
    s.drag(old, new)

    img, discs = main.wait_for_disc(new)
    xs.check(not any(xs.distance(old, d) < 5 for d in discs), "a disc is still at the hand's old place %s" % (old,))
    # The other eight joints stay at rest.
    for i, joint in xs.rest_joints().items():
        if i != HAND:
            spot = main.canvas_point(joint)
            xs.check(any(xs.distance(spot, d) < 2.5 for d in discs), "joint %d left its rest place" % i)
    # The forearm now ends at the new place: its line passes the midpoint of elbow and drop point.
    elbow = main.canvas_point(xs.rest_joints()[HAND - 1])
    middle = ((elbow[0] + new[0]) / 2, (elbow[1] + new[1]) / 2)
    xs.check(img.count((middle[0] - 1, middle[1] - 1, 3, 3), xs.is_black) >= 3,
             "no forearm line between the elbow and the dropped hand")
    s.save(img, "drag-hand.png", s.frame_rect(main.win))

    main.end()
    code = s.wait_for_exit()
    xs.check(code == 0, "END: the game exited with %s\n%s" % (code, s.game_output()))


if __name__ == "__main__":
    xs.main(test)
