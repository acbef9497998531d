#!/usr/bin/python3
"""Reads the running window's accessibility tree over AT-SPI, as a screen
reader does, for the check under X (x_check.sh).

  x_a11y.py wait TITLE            waits until a window titled TITLE is up
  x_a11y.py unnamed TITLE         lists the unnamed edits, spin edits,
                                  buttons and progress bars of that window;
                                  fails if any
  x_a11y.py english TITLE         lists the texts of that window's buttons
                                  and labels that Qt leaves English; fails
                                  if any
  x_a11y.py focus TITLE ROLE NAME gives the focus to that control
  x_a11y.py value TITLE ROLE NAME prints that control's value (its
                                  current value and the text read for it)
"""
import sys
import time

import pyatspi

EDIT_ROLES = {"text", "entry", "spin button", "password text", "paragraph"}
BUTTON_ROLES = {"push button"}
GAUGE_ROLES = {"progress bar"}
ENGLISH = {"Open", "Save", "Cancel", "Look in:", "File name:", "Files of type:", "Save as:"}


def children(node):
    try:
        return [node.getChildAtIndex(i) for i in range(node.childCount)]
    except Exception:
        return []


def walk(node):
    stack = [node]
    while stack:
        n = stack.pop()
        if n is None:
            continue
        yield n
        stack.extend(reversed(children(n)))


def role_name(node):
    try:
        return node.getRoleName(), node.name or ""
    except Exception:
        return "", ""


def window(title):
    """The top-level window (frame or dialog) whose name is title."""
    desktop = pyatspi.Registry.getDesktop(0)
    for app in children(desktop):
        for top in children(app):
            if role_name(top)[1] == title:
                return top
    return None


def wait_for(title, seconds=20.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = window(title)
        if found is not None:
            return found
        time.sleep(0.2)
    sys.exit(f"no window titled {title!r} in the accessibility tree")


def text_of(node):
    try:
        return node.queryText().getText(0, -1)
    except Exception:
        return ""


def main(argv):
    command, title = argv[1], argv[2]
    top = wait_for(title)
    if command == "wait":
        return 0
    if command == "unnamed":
        seen, unnamed = 0, []
        for n in walk(top):
            role, name = role_name(n)
            if role in EDIT_ROLES or role in BUTTON_ROLES or role in GAUGE_ROLES:
                seen += 1
                if not name.strip():
                    unnamed.append(f"{role} holding {text_of(n)!r}")
        print(f"{seen} edits, buttons and progress bars read")
        for u in unnamed:
            print("unnamed:", u)
        return 1 if unnamed or seen == 0 else 0
    if command == "english":
        texts = []
        for n in walk(top):
            role, name = role_name(n)
            if role in BUTTON_ROLES or role == "label":
                texts.append((name or text_of(n)).replace("&", ""))
        print(f"{len(texts)} buttons and labels read: " + " | ".join(t for t in texts if t))
        english = [t for t in texts if t in ENGLISH]
        for t in english:
            print("English:", t)
        return 1 if english or not texts else 0
    if command == "focus":
        role, name = argv[3], argv[4]
        for n in walk(top):
            if role_name(n) == (role, name):
                n.queryComponent().grabFocus()
                return 0
        sys.exit(f"no {role} named {name!r}")
    if command == "value":
        role, name = argv[3], argv[4]
        for n in walk(top):
            if role_name(n) == (role, name):
                value = n.queryValue()
                print(f"{value.currentValue:g} of {value.minimumValue:g}-{value.maximumValue:g}")
                return 0
        sys.exit(f"no {role} named {name!r}")
    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
