#!/usr/bin/python3
"""Reads Chimewell through the accessibility (AT-SPI) tree, as a screen reader does.
  atspi.py names TITLE   prints the focusable controls of the window TITLE with their names;
                         fails when one has none, or the name of another
  atspi.py status        prints the status line"""
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
    # A tab bar is read as its tabs; a combo box's list and editor are its own parts.
    if node.getRoleName() != "page tab list":
        yield node
    if node.getRoleName() != "combo box":
        for child in node:
            yield from walk(child) if child is not None else ()


def name(node):
    """A combo box's name is its value on Linux: a screen reader calls it by its label."""
    if node.getRoleName() != "combo box":
        return node.name
    labels = [relation.getTarget(0).name for relation in node.getRelationSet()
              if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    return labels[0] if labels else ""


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


if sys.argv[1:2] == ["names"]:
    window = next((w for w in application() if w is not None and w.name == sys.argv[2]
                   and showing(w)), None) or sys.exit(f'no window "{sys.argv[2]}" shows')
    focusable = [node for node in walk(window)
                 if node.getState().contains(pyatspi.STATE_FOCUSABLE) and showing(node)]
    names = [name(node) for node in focusable]
    print("\n".join(f"{node.getRoleName()}: {name(node)}" for node in focusable))
    wrong = [text for text in names if not text.strip() or names.count(text) > 1]
    if wrong:
        sys.exit("without a name of their own: " + ", ".join(repr(text) for text in wrong))
elif sys.argv[1:2] == ["status"]:
    for node in walk(application()):
        if node.getRoleName() == "status bar":
            print(" ".join(label.name for label in walk(node) if label.getRoleName() == "label"))
else:
    sys.exit(__doc__)
