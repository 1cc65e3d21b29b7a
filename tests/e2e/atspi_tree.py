"""Prints, as JSON, what a screen reader finds of one running program through
AT-SPI: the program's node, its windows below it and every accessible object
in them, each with its role, name, description and whether it takes the focus.
Prints null while the program has not registered.

Run with an interpreter that has pyatspi; Debian's python3-pyatspi is built
for the system's Python, which need not be the one running the tests.

Usage: atspi_tree.py PID
"""

import json
import sys

import pyatspi


def node(accessible):
    children = (accessible.getChildAtIndex(i) for i in range(accessible.childCount))
    return {
        "role": accessible.getRoleName(),
        "name": accessible.name,
        "description": accessible.description,
        "focusable": accessible.getState().contains(pyatspi.STATE_FOCUSABLE),
        # A child may go away while it is read.
        "children": [node(child) for child in children if child is not None],
    }


def main():
    pid = int(sys.argv[1])
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        application = desktop.getChildAtIndex(i)
        if application is not None and application.get_process_id() == pid:
            print(json.dumps(node(application)))
            return
    print("null")


if __name__ == "__main__":
    main()
