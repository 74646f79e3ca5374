#!/usr/bin/python3
"""Reads Chimewell through the accessibility (AT-SPI) tree, as a screen reader does.
  atspi.py names TITLE   prints the focusable controls of the windows TITLE with their names;
                         fails when one has none, or the name of another
  atspi.py status        prints the status line
  atspi.py texts         prints every label of every window
  atspi.py clock         prints the clock's time"""
import sys
import time

import pyatspi


def application():
    for _ in range(50):  # the program joins the bus a moment after its window shows
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Chimewell":
                return app
        time.sleep(0.2)
    sys.exit("Chimewell is not on the accessibility bus")


def walk(node):
    # A tab bar is read as its tabs; a combo box's list and editor, and a table's cells, are
    # their own parts.
    if node.getRoleName() != "page tab list":
        yield node
    if node.getRoleName() not in ("combo box", "table"):
        for child in node:
            yield from walk(child) if child is not None else ()


def name(node):
    """A control's name; an editable combo box's text field must be named too."""
    if node.getRoleName() == "combo box":
        for child in node:
            if child is not None and child.getRoleName() == "text" and child.name != node.name:
                return f"{node.name} (its text field: {child.name!r})"
    return node.name


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


if sys.argv[1:2] == ["names"]:
    windows = [w for w in application() if w is not None and w.name == sys.argv[2] and showing(w)]
    windows or sys.exit(f'no window "{sys.argv[2]}" shows')
    focusable = [node for window in windows for node in walk(window)
                 if node.getState().contains(pyatspi.STATE_FOCUSABLE) and showing(node)]
    names = [name(node) for node in focusable]
    print("\n".join(f"{node.getRoleName()}: {name(node)}" for node in focusable))
    wrong = [text for text in names if not text.strip() or names.count(text) > 1]
    if wrong:
        sys.exit("without a name of their own: " + ", ".join(repr(text) for text in wrong))
elif sys.argv[1:2] == ["texts"]:
    for window in application():
        for node in walk(window):
            if node.getRoleName() == "label" and showing(node):
                print(node.name)
elif sys.argv[1:2] == ["clock"]:
    for node in walk(application()):
        if node.name == "Current time":
            print(node.description)
elif sys.argv[1:2] == ["status"]:
    for node in walk(application()):
        if node.getRoleName() == "status bar":
            print(" ".join(label.name for label in walk(node) if label.getRoleName() == "label"))
else:
    sys.exit(__doc__)
