#!/usr/bin/python3
"""A screen reader's view of the dock, through AT-SPI: what accessibility.sh
asks of the dock, one command a run (each run reads the dock afresh).

  row PID                   the dock's tool bar: "bar<TAB>name<TAB>role", then
                            one line per child: role, name, description,
                            showing|hidden, x,y,w,h on the screen, actions,
                            focused or nothing
  act PID NAME ACTION       runs the action (by its name) of the row's child NAME
  events PID FILE SECONDS   writes the dock's focus, name and children events
                            to FILE, a line each, for SECONDS ("ready" first)
  window PID ROLE [SECONDS] the controls and captions of the dock's window of
                            that role (a dialog): role, name and the names
                            of what labels it, a line each
  popup PID FILE SECONDS    writes to FILE the items of the first menu of the
                            dock that shows within SECONDS ("ready" first)
"""
import sys
import time

import pyatspi
from gi.repository import GLib


def app_of(pid):
    deadline = time.time() + 10
    while time.time() < deadline:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == pid:
                    return app
            except Exception:
                pass
        time.sleep(0.1)
    sys.exit("no accessible application of process %d" % pid)


def role(obj):
    return obj.getRoleName()


def walk(obj, depth=0):
    yield obj
    if depth > 12:
        return
    for child in obj:
        if child is not None:
            yield from walk(child, depth + 1)


def dock_row(app):
    for window in app:
        if window is not None and window.name == "Pondwillow" and role(window) == "frame":
            for child in window:
                if child is not None and role(child) == "tool bar":
                    return child
    sys.exit("no tool bar in a window named Pondwillow")


def extents(obj):
    e = obj.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return "%d,%d,%d,%d" % (e.x, e.y, e.width, e.height)


def actions(obj):
    try:
        a = obj.queryAction()
    except NotImplementedError:
        return ""
    return ",".join(a.getName(i) for i in range(a.nActions))


def print_row(pid):
    row = dock_row(app_of(pid))
    print("bar\t%s\t%s" % (row.name, role(row)))
    for child in row:
        state = child.getState()
        showing = state.contains(pyatspi.STATE_SHOWING)
        focused = state.contains(pyatspi.STATE_FOCUSED)
        print("\t".join([role(child), child.name, child.description,
                         "showing" if showing else "hidden", extents(child), actions(child),
                         "focused" if focused else ""]))


def act(pid, name, action):
    row = dock_row(app_of(pid))
    for child in row:
        if child.name == name:
            a = child.queryAction()
            for i in range(a.nActions):
                if a.getName(i) == action:
                    a.doAction(i)
                    return
            sys.exit("%s has no action %s" % (name, action))
    sys.exit("no child %s" % name)


def listen(pid, path, seconds):
    app_of(pid)
    out = open(path, "w", buffering=1)

    def on_event(e):
        try:
            if e.host_application is None or e.host_application.get_process_id() != pid:
                return
            src = e.source
            if e.type.startswith("object:state-changed:focused"):
                if e.detail1 == 1:
                    out.write("focus\t%s\t%s\n" % (role(src), src.name))
            elif e.type.startswith("object:property-change:accessible-name"):
                out.write("name\t%s\t%s\n" % (role(src), src.name))
            elif e.type.startswith("object:children-changed"):
                out.write("children\t%s\t%s\n" % (role(src), src.name))
        except Exception as error:  # an object gone meanwhile
            out.write("error\t%s\n" % error)

    pyatspi.Registry.registerEventListener(
        on_event, "object:state-changed:focused", "object:property-change:accessible-name",
        "object:children-changed")
    # Qt learns of the listeners from the registry; give it a moment.
    GLib.timeout_add(500, lambda: out.write("ready\n") and False)
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() and False)
    pyatspi.Registry.start()


def print_window(pid, window_role, seconds):
    app = app_of(pid)
    deadline = time.time() + seconds
    while time.time() < deadline:
        for window in app:
            if window is not None and role(window) == window_role:
                for obj in walk(window):
                    r = role(obj)
                    if r in ("filler", "panel", "frame", "dialog", "scroll bar", "list item",
                             "menu", "menu item", "window", "unknown"):
                        continue
                    labels = []
                    for rel in obj.getRelationSet():
                        if rel.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                            labels += [rel.getTarget(i).name for i in range(rel.getNTargets())]
                    print("\t".join([r, obj.name, "|".join(labels)]))
                return
        time.sleep(0.1)
    sys.exit("no window of role %s" % window_role)


def popup(pid, path, seconds):
    app_of(pid)
    out = open(path, "w", buffering=1)

    # A menu is a window of its own that no window of the dock holds: a
    # client learns of it as it shows.
    def on_event(e):
        try:
            if e.detail1 != 1 or e.host_application.get_process_id() != pid:
                return
            if role(e.source) == "popup menu":
                for item in e.source:
                    if item is not None and item.name:
                        out.write("%s\t%s\n" % (role(item), item.name))
                out.write("end\n")
                pyatspi.Registry.stop()
        except Exception as error:
            out.write("error\t%s\n" % error)

    pyatspi.Registry.registerEventListener(on_event, "object:state-changed:showing")
    GLib.timeout_add(500, lambda: out.write("ready\n") and False)
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() and False)
    pyatspi.Registry.start()


def main():
    cmd, pid = sys.argv[1], int(sys.argv[2])
    if cmd == "row":
        print_row(pid)
    elif cmd == "act":
        act(pid, sys.argv[3], sys.argv[4])
    elif cmd == "events":
        listen(pid, sys.argv[3], float(sys.argv[4]))
    elif cmd == "window":
        print_window(pid, sys.argv[3], float(sys.argv[4]) if len(sys.argv) > 4 else 10)
    elif cmd == "popup":
        popup(pid, sys.argv[3], float(sys.argv[4]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
