#!/usr/bin/python3
"""Walks Tolvaro by keyboard as a blind reader would and prints what a screen reader would
announce after each step: the object with the focus (role, name, state), the text of the
dialog or message box that opened, and for the book's text where the caret stands.

Run it through transcript.sh, which starts the program under Xvfb with an AT-SPI bus.
Usage: transcript.py BOOKFOLDER"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

LAST_FOCUS = []
DEBUG = len(sys.argv) > 2


def on_focus(event):
    if event.detail1 == 1:
        LAST_FOCUS.append(event.source)
        if DEBUG:
            try:
                print("    [focus] %s %s" % (event.source.getRoleName(), event.source.name))
            except Exception:
                pass


def pump(seconds):
    """Lets the focus events arrive, as a screen reader hears them."""
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)

STATES = {pyatspi.STATE_CHECKED: "checked", pyatspi.STATE_EXPANDED: "expanded",
          pyatspi.STATE_SELECTED: "selected"}


def app():
    for a in pyatspi.Registry.getDesktop(0):
        if a is not None and "tolvaro" in (a.name or "").lower():
            return a
    return None


def walk(acc, depth=0):
    if acc is None or depth > 40:
        return
    yield acc
    try:
        count = acc.childCount
    except Exception:
        return
    for i in range(min(count, 400)):
        try:
            yield from walk(acc.getChildAtIndex(i), depth + 1)
        except Exception:
            pass


def describe(acc):
    try:
        return say(acc)
    except Exception:
        return "(gone: the program has ended)"


def say(acc):
    states = acc.getState()
    said = [acc.getRoleName(), acc.name or "(no name)"]
    if not states.contains(pyatspi.STATE_SENSITIVE) and not states.contains(pyatspi.STATE_ENABLED):
        said.append("unavailable")
    said += [word for state, word in STATES.items() if states.contains(state)]
    try:
        keys = acc.queryAction().getKeyBinding(0)
        if keys:
            said.append("shortcut " + keys.split(";")[-1])
    except Exception:
        pass
    try:
        text = acc.queryText()
        caret = max(text.caretOffset, 0)
        line = text.getTextAtOffset(caret, pyatspi.TEXT_BOUNDARY_LINE_START)[0].strip()
        if line:
            said.append('reads "%s"' % line[:100])
    except Exception:
        pass
    return ", ".join(said)


def focused():
    """The object of the last focus event: what a screen reader announces."""
    return LAST_FOCUS[-1] if LAST_FOCUS else None


def dialog_texts():
    """Labels of a dialog or alert that is open, as a screen reader reads it when it appears."""
    out = []
    for acc in walk(app(), 0):
        try:
            role = acc.getRole()
        except Exception:
            continue
        if role in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT) and acc.getState().contains(
                pyatspi.STATE_SHOWING):
            out.append("%s %s" % (acc.getRoleName(), acc.name))
            for child in walk(acc, 0):
                try:
                    if child.getRole() == pyatspi.ROLE_LABEL and child.name:
                        out.append('  label "%s"' % child.name.replace("\n", " "))
                except Exception:
                    pass
    return out


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "150"] + list(keys), check=True)
    pump(1.2)


def step(title, *keys, typed=None):
    if typed is not None:
        subprocess.run(["xdotool", "type", "--delay", "30", typed], check=True)
        pump(0.5)
    if keys:
        key(*keys)
    f = focused()
    print("%-34s %s" % (title + ":", describe(f) if f else "(nothing focused)"))
    for line in dialog_texts():
        print("%-34s %s" % ("", line))


def main():
    book = sys.argv[1].rstrip("/")
    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    for _ in range(60):
        if app() is not None:
            break
        pump(0.5)
    pump(3)
    step("start")
    step("Alt alone (menu bar)", "alt")
    step("Right (greyed without a book)", "Right")
    step("Down (into the greyed menu)", "Down")
    step("Down", "Down")
    step("Escape, Escape", "Escape", "Escape")
    step("Ctrl+O (file dialog)", "ctrl+o")
    step("type the ncc.html path, Enter", "Return", typed=book + "/ncc.html")
    pump(2)
    step("book opened")
    step("Down in the heading tree", "Down")
    step("Down again", "Down")
    step("T (to the text)", "t")
    step("N (back to the headings)", "n")
    for i in range(4):
        step("Tab", "Tab")
    step("N", "n")
    step("Alt alone (menu bar)", "alt")
    step("Right", "Right")
    step("Down (into Navigation)", "Down")
    step("Escape, Escape", "Escape", "Escape")
    step("Alt+S (go to page)", "alt+s")
    step("type 999, Enter (message box)", "Return", typed="999")
    step("Enter (box closed)", "Return")
    step("Alt+F4", "alt+F4")


if __name__ == "__main__":
    main()
