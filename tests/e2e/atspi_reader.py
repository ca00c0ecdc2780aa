#!/usr/bin/python3
"""Reads talvora's windows over the AT-SPI bus as a screen reader does.

Run inside a D-Bus session of its own (dbus-run-session) with DISPLAY set: starts the program
given as the first argument with COM1 on the simulated radio system, picks COM1 and presses OK
through the accessible actions, reads EEPROM register 0 the same way, and prints one line per
accessible object of both windows ("object<TAB>role<TAB>name<TAB>description") and one per
event a screen reader listens to ("event<TAB>kind<TAB>name<TAB>new name or description"). Exit status 77, with
the reason on standard error, where the accessibility bus cannot be had.
"""

import os
import subprocess
import sys
import time

try:
    import pyatspi
    from gi.repository import GLib
except ImportError as error:
    print(f"no AT-SPI bindings: {error}", file=sys.stderr)
    sys.exit(77)

PATIENCE = 60.0


def wait_for(what, find):
    deadline = time.monotonic() + PATIENCE
    while time.monotonic() < deadline:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    print(f"no {what} on the accessibility bus", file=sys.stderr)
    sys.exit(1)


def descendants(accessible):
    yield accessible
    for index in range(accessible.childCount):
        child = accessible.getChildAtIndex(index)
        if child is not None:
            yield from descendants(child)


def application(pid):
    return next((app for app in pyatspi.Registry.getDesktop(0)
                 if app is not None and app.get_process_id() == pid), None)


def window(app, role, name):
    children = (app.getChildAtIndex(index) for index in range(app.childCount))
    return next((child for child in children if child is not None
                 and child.getRoleName() == role and child.name == name), None)


def named(root, name):
    return next((accessible for accessible in descendants(root) if accessible.name == name), None)


def press(accessible):
    accessible.queryAction().doAction(0)


def print_tree(root):
    for accessible in descendants(root):
        print("\t".join(["object", accessible.getRoleName(), accessible.name,
                         accessible.description]), flush=True)


def main():
    environment = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       TALVORA_COM1="sim")
    program = subprocess.Popen([sys.argv[1]], env=environment)
    try:
        try:
            app = wait_for("talvora", lambda: application(program.pid))
        except GLib.Error as error:
            print(f"the accessibility bus does not answer: {error}", file=sys.stderr)
            sys.exit(77)
        start = wait_for("start-up window", lambda: window(app, "frame", "intro"))
        print_tree(start)
        press(named(start, "COM1"))
        press(named(start, "OK"))
        main_window = wait_for("main window", lambda: window(app, "dialog", "TALVORA"))
        print_tree(main_window)

        def heard(event):
            source = event.source
            said = source.description if "description" in event.type else source.name
            print("\t".join(["event", event.type, source.name, said]), flush=True)

        pyatspi.Registry.registerEventListener(
            heard, "object:property-change:accessible-description",
            "object:property-change:accessible-name")
        press(named(main_window, "Select Register 00"))
        press(named(main_window, "EEPROM Reading"))
        GLib.timeout_add(3000, pyatspi.Registry.stop)
        pyatspi.Registry.start()
    finally:
        program.terminate()
        program.wait(timeout=PATIENCE)


main()
