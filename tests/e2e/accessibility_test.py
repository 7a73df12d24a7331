#!/usr/bin/python3
"""The main window as a screen reader reads it, through pyatspi (the library of the Orca
screen reader) on the accessibility bus: each control's name and role, the quick conversion
run by the accessible press action alone, and a file job chosen, started, followed in the
window's name and cancelled the same way.

    accessibility_test.py WORK_FOLDER   (the program runs, with KOI8-R -> Windows-1251 chosen)
"""
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

WORK = sys.argv[1]
renamed_windows = []  # the names of the windows whose name change was told, as it was then


def fail(message):
    print("FAILED: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, probe, seconds=20):
    """Asks probe until it gives something; objects come and go while windows are built."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while GLib.MainContext.default().iteration(False):  # events that have come in
            pass
        try:
            found = probe()
            if found:
                return found
        except Exception:  # a window that closed under the question: ask again
            pass
        time.sleep(0.1)
    fail("no " + what + " within %d s" % seconds)


def fresh(accessible):
    accessible.clear_cache()
    return accessible


def descendants(accessible, depth=6):
    """The window's own objects; the inside of the advert's web page is not searched."""
    for child in fresh(accessible):
        if child is None:
            continue
        yield child
        if depth > 1 and not child.getRoleName().startswith("document"):
            yield from descendants(child, depth - 1)


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name == "Varnex2010":
            return app
    return None


def top_level(role, name):
    return wait_for("%s %r" % (role, name), lambda: next(
        (w for w in fresh(application()) if w.getRoleName() == role and w.name == name), None))


def find(root, role, name, seconds=20):
    return wait_for("%s %r" % (role, name), lambda: next(
        (a for a in descendants(root) if a.getRoleName() == role and a.name == name), None), seconds)


def actions(accessible):
    action = accessible.queryAction()
    return [action.getName(i) for i in range(action.nActions)]


def press(accessible):
    names = actions(accessible)
    if "Press" not in names:
        fail("%s %r has no press action, only %s" % (accessible.getRoleName(), accessible.name, names))
    accessible.queryAction().doAction(names.index("Press"))


def text_of(accessible):
    return accessible.queryText().getText(0, -1)


def clipboard():
    return subprocess.run(["xclip", "-selection", "clipboard", "-o"], capture_output=True,
                          timeout=10).stdout.decode("utf-8")


def on_name_change(event):
    try:
        if event.source.getRoleName() == "frame":
            renamed_windows.append(fresh(event.source).name)
    except Exception:  # from a window that has closed since
        pass


def check_names_and_roles(frame):
    for role, name in [("push button", name) for name in (
            "Source file", "Open", "Start", "Quick Conversion", "Help", "Minimise", "Exit")] + [
            ("link", "Visit the Varnex home page")]:
        first_action = actions(find(frame, role, name, 5))[0]
        if first_action != "Press":
            fail("the first action of %r is %r" % (name, first_action))
    for name, font in (("Source font", "KOI8-R"), ("Target font", "Windows-1251")):
        value = text_of(find(frame, "combo box", name, 5))
        if value != font:
            fail("%r reads %r, not %r" % (name, value, font))
    focusable = {a.name for a in descendants(frame) if a.getState().contains(pyatspi.STATE_FOCUSABLE)}
    if "Start" not in focusable or "Exit" in focusable:
        fail("Start must be a tab stop and Exit must not: %s" % sorted(focusable))
    silent = [a.getRoleName() for a in descendants(frame)
              if not a.name and a.getRoleName() in ("label", "push button")
              and a.getState().contains(pyatspi.STATE_SHOWING)]
    if silent:
        fail("a screen reader announces nothing for: %s" % silent)
    description = find(frame, "push button", "Start").description
    if description != "Click here to convert selected file":
        fail("Start is described as %r" % description)


def quick_conversion(frame):
    # "Привет, мир" typed in KOI8-R, as its 8-bit codes reach a Windows-1252 clipboard
    typed = b"\xF0\xD2\xC9\xD7\xC5\xD4, \xCD\xC9\xD2".decode("latin-1")
    expected = b"\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0".decode("latin-1")
    subprocess.run(["xclip", "-selection", "clipboard", "-i"], input=typed.encode("utf-8"), check=True,
                   timeout=10)
    press(find(frame, "push button", "Quick Conversion"))
    alert = top_level("alert", "Varnex 2010")
    find(alert, "label", "The clipboard was converted from font KOI8-R to WINDOWS-1251", 5)
    if clipboard() != expected:
        fail("the clipboard holds %r" % clipboard())
    press(find(alert, "push button", "OK", 5))
    wait_for("the box to close", lambda: all(w.getRoleName() != "alert" for w in fresh(application())))


def choose_file(frame, path):
    press(find(frame, "push button", "Source file"))
    dialog = top_level("dialog", "Select a Plain Text file for conversion")
    name_field = wait_for("the file name field", lambda: next(
        (a for a in descendants(dialog) if a.getRoleName() == "text"
         and a.getState().contains(pyatspi.STATE_EDITABLE) and "name" in a.name.lower()), None))
    name_field.queryEditableText().setTextContents(path)
    press(find(dialog, "push button", "Open", 5))
    source_file = find(frame, "push button", "Source file")
    wait_for("the chosen file as the field's value", lambda: text_of(source_file) == path.rsplit("/", 1)[1])


def follow_and_cancel_a_job(frame):
    press(find(frame, "push button", "Start"))
    press(find(top_level("dialog", "Save as.."), "push button", "OK"))
    progress = wait_for("the progress in the window's name",
                        lambda: re.fullmatch(r"Remaining: [0-9.]+%", fresh(frame).name) and frame.name, 30)
    print("the window reads: " + progress)
    told = wait_for("the progress told as a change of the window's name", lambda: next(
        (name for name in renamed_windows if name.startswith("Remaining: ")), None), 40)
    print("a screen reader was told: " + told)
    press(find(frame, "push button", "Cancel File Convertion"))
    question = top_level("alert", "Cancel Conversion?")
    find(question, "label", "Are you sure you wan't to cancel?", 5)
    press(find(question, "push button", "Yes", 5))
    wait_for("the window's own name after the job", lambda: fresh(frame).name == "Varnex 2010", 30)


def main():
    pyatspi.setCacheLevel(pyatspi.CACHE_PROPERTIES)
    wait_for("Varnex2010 on the accessibility bus", application, 30)
    frame = top_level("frame", "Varnex 2010")
    # Registered once the program's bridge is up, so that it hears of the listener: a listener
    # registered while a loaded machine still starts the program may never be told to it.
    pyatspi.Registry.registerEventListener(on_name_change, "object:property-change:accessible-name")
    check_names_and_roles(frame)
    quick_conversion(frame)
    choose_file(frame, WORK + "/texts/long.txt")
    follow_and_cancel_a_job(frame)
    try:
        press(find(frame, "push button", "Exit"))
    except Exception:  # the program may end before its answer leaves
        pass
    print("accessibility: every control read by name and role; quick conversion and a file job "
          "driven by press actions alone")


main()
