#!/usr/bin/python3
"""Reads Chimewell through the accessibility (AT-SPI) tree, as a screen reader does.
  atspi.py names TITLE   prints the names of the focusable controls of the window TITLE;
                         fails when one has none, or the name of another
  atspi.py status        prints the status line
"""
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
            if child is not None:
                yield from walk(child)


def name(node):
    """What a screen reader calls the control: its name, or for a combo box (whose name is its
    value on Linux) the label it is tied to."""
    if node.getRoleName() == "combo box":
        for relation in node.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                return relation.getTarget(0).name
        return ""
    return node.name


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def window(title):
    for node in application():
        if node is not None and node.name == title and showing(node):
            return node
    sys.exit(f'no window "{title}" shows')


command = sys.argv[1] if len(sys.argv) > 1 else ""
if command == "names":
    focusable = [node for node in walk(window(sys.argv[2]))
                 if node.getState().contains(pyatspi.STATE_FOCUSABLE) and showing(node)]
    names = [name(node) for node in focusable]
    print("\n".join(f"{node.getRoleName()}: {name(node)}" for node in focusable))
    wrong = [text for text in names if not text.strip() or names.count(text) > 1]
    if wrong:
        sys.exit("without a name of their own: " + ", ".join(repr(text) for text in wrong))
elif command == "status":
    for node in walk(application()):
        if node.getRoleName() == "status bar":
            print(" ".join(label.name for label in walk(node) if label.getRoleName() == "label"))
else:
    sys.exit(__doc__)
