#!/usr/bin/python3
"""What a screen reader sees of a running program, read over AT-SPI.

  atspi_tree.py dump PID          the lists and combo boxes of the program's windows, as JSON
  atspi_tree.py focus PID NAME    gives the keyboard focus to the list named NAME

Waits up to 20 seconds for the program to appear on the accessibility bus.
"""
import json
import sys
import time

import pyatspi


def application(pid):
    end = time.monotonic() + 20
    while time.monotonic() < end:
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:  # an application that went away meanwhile
                pass
        time.sleep(0.3)
    sys.exit("no application with process %d on the accessibility bus" % pid)


def states(node):
    have = node.getState()
    return [name for name, state in (("selected", pyatspi.STATE_SELECTED),
                                     ("selectable", pyatspi.STATE_SELECTABLE),
                                     ("focused", pyatspi.STATE_FOCUSED),
                                     ("focusable", pyatspi.STATE_FOCUSABLE))
            if have.contains(state)]


def walk(node, found, depth=0):
    if node is None or depth > 40:
        return
    role = node.getRole()
    if role == pyatspi.ROLE_COMBO_BOX:
        # Its drop-down list holds every item (every font): not walked.
        found["combos"].append({"name": node.name, "states": states(node)})
        return
    if role == pyatspi.ROLE_LIST:
        items = [child for child in node if child is not None]
        found["lists"].append({
            "name": node.name,
            "states": states(node),
            "items": [{"role": child.getRoleName(), "name": child.name,
                       "states": states(child)} for child in items],
        })
        return
    for child in node:
        walk(child, found, depth + 1)


def dump(pid):
    found = {"windows": [], "lists": [], "combos": []}
    for window in application(pid):
        if window is None:
            continue
        found["windows"].append(window.name)
        walk(window, found)
    print(json.dumps(found, ensure_ascii=False))


def focus(pid, name):
    def search(node, depth=0):
        if node is None or depth > 40:
            return None
        if node.getRole() == pyatspi.ROLE_LIST and node.name == name:
            return node
        for child in node:
            hit = search(child, depth + 1)
            if hit is not None:
                return hit
        return None

    target = search(application(pid))
    if target is None:
        sys.exit("no list named %r" % name)
    if not target.queryComponent().grabFocus():
        sys.exit("the list did not take the focus")


if __name__ == "__main__":
    if len(sys.argv) == 3 and sys.argv[1] == "dump":
        dump(int(sys.argv[2]))
    elif len(sys.argv) == 4 and sys.argv[1] == "focus":
        focus(int(sys.argv[2]), sys.argv[3])
    else:
        sys.exit(__doc__)
