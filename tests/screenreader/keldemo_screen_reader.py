#!/usr/bin/env python3
"""keldemo as a screen reader meets it.

Starts a virtual X server, a session bus and the desktop accessibility bus of its own, runs
keldemo on them with Qt's xcb platform and its accessibility bridge on, and reads keldemo's
accessible tree from outside through the accessibility bus, the way a screen reader does:

  - every interactive element of every window has a role and a name;
  - the filter box lists its three sample conditions as lines with their texts, and pressing a
    parameter's action opens its editor (which Escape closes again);
  - the calendar, moved to today with Ctrl+Enter, shows today's date as a focused cell;
  - the calculator's buttons are there, and pressing "7", "plus", "8", "equals" makes its
    display read 15.

Everything it starts is stopped at the end; a process of the run still alive after that is
killed and fails the run.

  keldemo_screen_reader.py KELDEMO            the checks (exit 0 passed, 1 failed, 77 skipped)
  keldemo_screen_reader.py --census KELDEMO   prints the roles of every window's tree

Without Xvfb, dbus-daemon, at-spi2-core or pyatspi the checks are skipped, unless the
environment variable KEL_REQUIRE_ACCESSIBILITY is set (as CI does): then they fail.
"""

import collections
import datetime
import importlib.util
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import uuid

SKIPPED = 77
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
MARKER = "KEL_SCREEN_READER_RUN"


def missing_tools():
    missing = [tool for tool in ("Xvfb", "dbus-daemon") if not shutil.which(tool)]
    if not os.access(BUS_LAUNCHER, os.X_OK):
        missing.append("at-spi2-core (" + BUS_LAUNCHER + ")")
    if importlib.util.find_spec("pyatspi") is None:
        missing.append("python3-pyatspi")
    return missing


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def wait_for(what, probe, seconds=30.0):
    """The first true result of probe(), polled until the time is up."""
    deadline = time.monotonic() + seconds
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.05)


class Desktop:
    """An X server, a session bus and an accessibility bus of this run's own."""

    def __init__(self):
        self.processes = []
        self.runtime = tempfile.mkdtemp(prefix="kel-a11y-")
        self.env = dict(os.environ)
        self.env[MARKER] = uuid.uuid4().hex
        self.env["XDG_RUNTIME_DIR"] = self.runtime
        for name in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)

    def _start_reporting(self, command):
        """Starts a program that writes a line (display number, bus address) to a pipe."""
        read_end, write_end = os.pipe()
        process = subprocess.Popen([part.replace("{fd}", str(write_end)) for part in command],
                                   env=self.env, pass_fds=[write_end],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(process)
        os.close(write_end)
        data = b""
        deadline = time.monotonic() + 15
        while not data.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(read_end, 4096)
            if not chunk:
                break
            data += chunk
        os.close(read_end)
        if not data.strip():
            raise Failure(command[0] + " did not start")
        return data.decode().strip()

    def start(self):
        display = self._start_reporting(["Xvfb", "-displayfd", "{fd}", "-nolisten", "tcp",
                                         "-screen", "0", "1280x1024x24"])
        self.env["DISPLAY"] = ":" + display
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self._start_reporting(
            ["dbus-daemon", "--session", "--nofork", "--print-address={fd}"])
        self.processes.append(subprocess.Popen([BUS_LAUNCHER, "--launch-immediately"],
                                               env=self.env, stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))
        # pyatspi finds the accessibility bus through these, so they are set before its import.
        os.environ.update({key: self.env[key] for key in
                           ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR")})

    def run(self, program):
        env = dict(self.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                   QT_ACCESSIBILITY="1", KEL_ALIASES="", LANG="C.UTF-8", LC_ALL="C.UTF-8")
        process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE)
        self.processes.append(process)
        return process

    def stop(self):
        """Stops what was started, newest first; returns the survivors it had to kill."""
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        survivors = self._wait_for_strays(3.0)
        for pid, _ in survivors:
            try:
                os.kill(pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        shutil.rmtree(self.runtime, ignore_errors=True)
        return survivors

    def _wait_for_strays(self, seconds):
        deadline = time.monotonic() + seconds
        while True:
            strays = self._strays()
            if not strays or time.monotonic() > deadline:
                return strays
            time.sleep(0.1)

    def _strays(self):
        """Running processes that carry this run's marker (the buses' helpers inherit it)."""
        mark = (MARKER + "=" + self.env[MARKER]).encode()
        found = []
        for entry in os.listdir("/proc"):
            if not entry.isdigit() or int(entry) == os.getpid():
                continue
            try:
                with open("/proc/%s/environ" % entry, "rb") as f:
                    if mark not in f.read().split(b"\0"):
                        continue
                with open("/proc/%s/stat" % entry) as f:
                    stat = f.read()
                if stat[stat.rindex(")") + 2] == "Z":
                    continue  # a zombie runs nothing
                with open("/proc/%s/comm" % entry) as f:
                    found.append((int(entry), f.read().strip()))
            except (OSError, ValueError):
                continue
        return found


# ---- reading the tree ---------------------------------------------------------------------

def children(acc):
    try:
        return [acc.getChildAtIndex(i) for i in range(acc.childCount)]
    except Exception:
        return []


def walk(acc, depth=0, limit=40):
    yield acc, depth
    if depth < limit:
        for child in children(acc):
            if child is not None:
                yield from walk(child, depth + 1, limit)


def find(root, predicate):
    for acc, _ in walk(root):
        if predicate(acc):
            return acc
    return None


def find_all(root, predicate):
    return [acc for acc, _ in walk(root) if predicate(acc)]


def role(acc):
    return acc.getRoleName()


def state_of(acc, state):
    return acc.getState().contains(state)


def action_names(acc):
    try:
        action = acc.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def do_action(acc, name):
    names = action_names(acc)
    check(name in names, "%s '%s' has no action %s (it has %s)" % (role(acc), acc.name, name, names))
    acc.queryAction().doAction(names.index(name))


def text_of(acc):
    text = acc.queryText()
    return text.getText(0, text.characterCount)


def window(app, title):
    return wait_for("the window " + title,
                    lambda: next((w for w in children(app) if w and w.name == title), None))


def keldemo_app(pyatspi):
    def probe():
        desktop = pyatspi.Registry.getDesktop(0)
        return next((a for a in children(desktop) if a and a.name == "keldemo"), None)
    return wait_for("keldemo on the accessibility bus", probe, 90)


DEMO_BUTTONS = {"Kel Sievra Demo": "Sievra Demo", "Calendar Demo": "Calendar Demo",
                "Other Components Demo": "Other Demo"}


def show_demo_window(app, title):
    """Opens (or brings back to the front, active) a demonstration window by its button."""
    main = window(app, "Main Demo")
    caption = DEMO_BUTTONS[title]
    button = find(main, lambda a: role(a) == "push button" and a.name == caption)
    check(button is not None, "the main window has no button " + caption)
    do_action(button, "Press")
    return window(app, title)


def open_demo_windows(app):
    for title in DEMO_BUTTONS:
        show_demo_window(app, title)
    return {w.name: w for w in children(app) if w}


# ---- the checks ---------------------------------------------------------------------------

def check_names(windows, pyatspi):
    """Every element a user can act on has a role and a name."""
    nameless = []
    for title, win in windows.items():
        for acc, _ in walk(win):
            r = role(acc)
            focusable = state_of(acc, pyatspi.STATE_FOCUSABLE)
            acts = bool(action_names(acc)) if r not in ("table cell", "list item") else focusable
            if not (focusable or acts) or not state_of(acc, pyatspi.STATE_VISIBLE):
                continue
            # A scroll bar is named by its role; the data grid's cells by the records' values,
            # which may be empty.
            if r == "scroll bar":
                continue
            if r == "table cell" and acc.parent is not None and acc.parent.name == "Records":
                continue
            if r in ("unknown", "invalid") or not acc.name.strip():
                nameless.append("%s: %s '%s' in %s '%s'" % (title, r, acc.name, role(acc.parent),
                                                            acc.parent.name if acc.parent else ""))
    check(not nameless, "elements without a role or a name:\n  " + "\n  ".join(nameless))


def check_filter_box(win, pyatspi):
    box = find(win, lambda a: role(a) == "list" and any(
        role(c) == "list item" and "Shark" in c.name for c in children(a)))
    check(box is not None, "no list holds the sample conditions")
    lines = [c for c in children(box) if role(c) == "list item"]
    names = [line.name for line in lines]
    check(names == ["Category is (exactly) Shark or",
                    "Species No between 90080 and 90230 and",
                    "Length (cm) less than 150"],
          "the filter box reads %s" % names)
    add = [c for c in children(box) if role(c) == "push button"]
    check(len(add) == 1 and add[0].name == "Click here to add condition",
          "the add line reads %s" % [a.name for a in add])
    check(lines[1].description == "Indent level 1", "line 2 says %r" % lines[1].description)
    check(state_of(lines[0], pyatspi.STATE_CHECKED), "the first condition is not checked")
    params = children(lines[0])
    check([(p.name, p.description) for p in params] ==
          [("Category", "field"), ("is (exactly)", "operation"), ("Shark", "value"),
           ("or", "connector")],
          "the parameters of line 1 read %s" % [(p.name, p.description) for p in params])
    field = params[0]
    do_action(field, "Press")
    editor = wait_for("the field's editor", lambda: children(field)[0] if field.childCount else None)
    check(role(editor) == "dialog" and editor.name == "Choice list",
          "the editor is %s '%s'" % (role(editor), editor.name))
    entries = find_all(editor, lambda a: role(a) == "list item")
    check(any(e.name == "Category" for e in entries),
          "the field list offers %s" % [e.name for e in entries][:10])
    check(state_of(field, pyatspi.STATE_EXPANDED), "the field does not say its editor is open")
    pyatspi.Registry.generateKeyboardEvent(0xff1b, None, pyatspi.KEY_SYM)  # Escape
    wait_for("the editor to close", lambda: field.childCount == 0)


def check_calendar(app, pyatspi):
    win = show_demo_window(app, "Calendar Demo")
    calendar = find(win, lambda a: a.name == "Calendar" and any(
        role(c) == "panel" for c in children(a)))
    check(calendar is not None, "no calendar in the calendar window")
    months = [c for c in children(calendar) if role(c) == "panel"]
    check(months, "the calendar shows no month")
    buttons = [c.name for c in children(calendar) if role(c) == "push button"]
    check(buttons == ["Previous month", "Next month"], "the calendar's buttons are %s" % buttons)
    check(calendar.queryComponent().grabFocus(), "the calendar does not take the focus")
    wait_for("the calendar's focus", lambda: state_of(calendar, pyatspi.STATE_FOCUSED), 20)
    # Ctrl+Enter brings today's month into view and selects today.
    # Presses and releases take key codes: 37 is the left Control key of the X server's map.
    pyatspi.Registry.generateKeyboardEvent(37, None, pyatspi.KEY_PRESS)
    pyatspi.Registry.generateKeyboardEvent(0xff0d, None, pyatspi.KEY_SYM)  # Return
    pyatspi.Registry.generateKeyboardEvent(37, None, pyatspi.KEY_RELEASE)
    # keldemo runs in the C locale: English names, the order of the words is the locale's.
    today = datetime.date.today()
    parts = [today.strftime("%A"), today.strftime("%B"), str(today.day), str(today.year)]

    def today_cell():
        cells = find_all(calendar, lambda a: role(a) == "table cell" and
                         all(part in a.name.replace(",", " ").split() for part in parts))
        return cells[0] if cells else None
    cell = wait_for("a cell named by today's date (%s)" % " ".join(parts), today_cell, 20)
    check("today" in cell.description, "today's cell says %r" % cell.description)
    check(state_of(cell, pyatspi.STATE_SELECTED), "today's cell is not selected")
    check(state_of(cell, pyatspi.STATE_FOCUSED), "today's cell does not have the focus")
    table = cell.parent
    check(role(table) == "table" and table.queryTable().nColumns == 7,
          "today's cell is not in a table of seven columns")


def check_calculator(win, pyatspi):
    calculator = find(win, lambda a: a.name == "Calculator" and a.childCount == 27)
    check(calculator is not None, "no calculator with 27 buttons")
    buttons = {b.name: b for b in children(calculator) if role(b) == "push button"}
    for name in ("7", "plus", "8", "equals", "memory recall", "square root"):
        check(name in buttons, "the calculator has no button " + name)
    check(not state_of(buttons["memory recall"], pyatspi.STATE_ENABLED),
          "memory recall is enabled with an empty memory")
    display = find(win, lambda a: a.name == "Calculator display")
    check(display is not None, "no calculator display")
    for name in ("clear", "7", "plus", "8", "equals"):
        do_action(buttons[name], "Press")
    wait_for("the display to read 15", lambda: text_of(display) == "15", 20)


def census(windows):
    for title, win in sorted(windows.items()):
        counts = collections.Counter(role(acc) for acc, _ in walk(win))
        print("%s: %d objects" % (title, sum(counts.values())))
        for r, n in sorted(counts.items(), key=lambda item: (-item[1], item[0])):
            print("  %5d %s" % (n, r))


def main(argv):
    census_mode = "--census" in argv
    args = [a for a in argv[1:] if a != "--census"]
    if len(args) != 1:
        print(__doc__)
        return 2
    missing = missing_tools()
    if missing:
        message = "the screen reader checks need: " + ", ".join(missing)
        if os.environ.get("KEL_REQUIRE_ACCESSIBILITY"):
            print("FAILED: " + message)
            return 1
        print("skipped: " + message)
        return SKIPPED
    started = time.monotonic()
    desktop = Desktop()
    failed = None
    try:
        desktop.start()
        import pyatspi  # only now: it reads the bus addresses when it is imported
        demo = desktop.run(args[0])
        app = keldemo_app(pyatspi)
        windows = open_demo_windows(app)
        if census_mode:
            census(windows)
        else:
            check_names(windows, pyatspi)
            check_filter_box(windows["Kel Sievra Demo"], pyatspi)
            check_calendar(app, pyatspi)
            check_calculator(windows["Other Components Demo"], pyatspi)
            check(demo.poll() is None, "keldemo ended during the checks")
    except Failure as error:
        failed = str(error)
    finally:
        survivors = desktop.stop()
    if survivors:
        failed = (failed + "\n" if failed else "") + "left running: %s" % survivors
    if failed:
        print("FAILED: " + failed)
        return 1
    print("passed in %.1f s" % (time.monotonic() - started))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
