"""The real program in a real X server with the accessibility bus, for the tests that
drive it as a child without a mouse or without sight would: keys through xdotool, the
screen as a screen reader reads it through pyatspi.

Run the tests with dbus-run-session, which gives them a session bus of their own:
    dbus-run-session -- /usr/bin/python3 tests/a11y/<test>.py PROGRAM [OUTPUT_DIR]
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Qt speaks to the accessibility bus only when asked to, or when a screen reader runs.
os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
os.environ.pop("QT_QPA_PLATFORM", None)
os.environ.pop("WAYLAND_DISPLAY", None)
os.environ["NO_AT_BRIDGE"] = "0"


class Failure(Exception):
    pass


class Session:
    """Xvfb with openbox, the program, and pyatspi's view of it."""

    def __init__(self, program, out):
        self.program = os.path.realpath(program)
        self.out = os.path.realpath(out)
        os.makedirs(self.out, exist_ok=True)
        self.work = tempfile.mkdtemp()
        self.processes = []
        self.started = time.monotonic()
        self.app_process = None
        self.last_error = None

    def start(self):
        self._start_x()

    # --- Processes --------------------------------------------------------------------
    def _spawn(self, args, log, **kwargs):
        handle = open(os.path.join(self.work, log), "w")
        process = subprocess.Popen(args, stdout=handle, stderr=subprocess.STDOUT, **kwargs)
        self.processes.append(process)
        return process

    def _start_x(self):
        read_end, write_end = os.pipe()
        self._spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                     "-nolisten", "tcp", "-noreset"], "xvfb.log", pass_fds=(write_end,))
        os.close(write_end)
        with os.fdopen(read_end) as display:
            number = display.readline().strip()
        if not number:
            raise Failure("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + number
        openbox = self._spawn(["openbox", "--sm-disable"], "openbox.log")

        def window_manager_up():
            if openbox.poll() is not None:
                self.fail("openbox", "openbox ended with status %d" % openbox.returncode)
            return b"window id" in subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"],
                                                  capture_output=True).stdout
        self.wait_for("the window manager", window_manager_up, 20)
        self.log("Xvfb on " + os.environ["DISPLAY"])

    def start_program(self):
        import gi
        gi.require_version("Atspi", "2.0")
        from gi.repository import Atspi
        self.app_process = self._spawn([self.program], "program.log")
        self.app = self.wait_for("the program on the accessibility bus", self._find_app, 20)
        # The client's cache follows only the events someone listens to; every check
        # here reads afresh what the program says now.
        self.app.set_cache_mask(Atspi.Cache.NONE)
        return self.app

    def _find_app(self):
        import pyatspi
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name.lower() == "honderdtafels":
                return app
        return None

    def close(self):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.send_signal(signal.SIGTERM)
                try:
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        shutil.rmtree(self.work, ignore_errors=True)

    # --- Waiting and reporting --------------------------------------------------------
    def log(self, text):
        print("[%6.2f s] %s" % (time.monotonic() - self.started, text), flush=True)

    def fail(self, name, text):
        for log in ("openbox.log", "program.log"):
            path = os.path.join(self.work, log)
            if os.path.exists(path) and os.path.getsize(path) > 0:
                with open(path) as handle:
                    print("--- %s:\n%s" % (log, handle.read()[-2000:]), file=sys.stderr)
        shot = os.path.join(self.out, "fail-%s.png" % name)
        subprocess.run(["import", "-window", "root", shot], capture_output=True)
        raise Failure("%s (screenshot: %s)" % (text, shot))

    def poll(self, condition, timeout):
        """Polls `condition` until it gives a true value, which it returns; None when
        `timeout` seconds pass first. Errors of objects that vanish while they are read
        count as a false value."""
        deadline = time.monotonic() + timeout
        self.last_error = None
        while True:
            try:
                value = condition()
                if value:
                    return value
            except Failure:
                raise
            except Exception as error:
                self.last_error = error
            if time.monotonic() > deadline:
                return None
            self._pump(0.05)

    def _pump(self, seconds):
        """Waits, delivering the accessibility events that arrive meanwhile."""
        from gi.repository import GLib
        end = time.monotonic() + seconds
        context = GLib.MainContext.default()
        while time.monotonic() < end:
            while context.iteration(False):
                pass
            time.sleep(0.01)

    def listen(self, *event_types):
        """Records the accessibility events of these types: (type, source's name)."""
        import pyatspi
        heard = []
        pyatspi.Registry.registerEventListener(
            lambda event: heard.append((event.type, event.source.name if event.source else None)),
            *event_types)
        return heard

    def wait_for(self, what, condition, timeout=15.0):
        """Like poll, but a timeout fails the test."""
        value = self.poll(condition, timeout)
        if not value:
            detail = " (%r)" % self.last_error if self.last_error else ""
            self.fail(what.replace(" ", "-")[:40], "waited %.0f s for %s%s" %
                      (timeout, what, detail))
        return value

    # --- Keys -------------------------------------------------------------------------
    def keys(self, *names):
        subprocess.run(["xdotool", "key", "--delay", "40"] + list(names), check=True)

    # --- What a screen reader reads ---------------------------------------------------
    def windows(self):
        return [self.app.getChildAtIndex(i) for i in range(self.app.childCount)]

    def window(self, name):
        """The showing top-level window named `name`."""
        import pyatspi
        for window in self.windows():
            if window is not None and window.name == name and \
                    window.getState().contains(pyatspi.STATE_SHOWING):
                return window
        return None

    def find(self, root, role, name):
        import pyatspi
        return pyatspi.findDescendant(
            root, lambda a: a is not None and a.getRoleName() == role and a.name == name)

    def find_all(self, root, predicate):
        import pyatspi
        return pyatspi.findAllDescendants(root, lambda a: a is not None and predicate(a))

    def focused(self):
        """The innermost object that has the keyboard focus, in any showing window (a
        child window holding the focused control is marked focused too)."""
        import pyatspi
        for window in self.windows():
            if window is None or not window.getState().contains(pyatspi.STATE_SHOWING):
                continue
            found = pyatspi.findAllDescendants(
                window, lambda a: a is not None and a.getState().contains(pyatspi.STATE_FOCUSED))
            if found:
                return found[-1]
        return None

    def tab_to(self, role, name, limit=30):
        """Presses Tab until `role` `name` has the focus; the names passed on the way."""
        passed = []
        for _ in range(limit):
            f = self.focused()
            if f is not None and f.getRoleName() == role and f.name == name:
                return passed
            passed.append(f.name if f is not None else None)
            before = self.place(f)
            self.keys("Tab")
            self.wait_for("the focus to move", lambda: self.place(self.focused()) != before)
        self.fail("tab", "Tab never reached %s '%s', passing %s" % (role, name, passed))

    def place(self, accessible):
        """Tells objects apart: their role, name and place on the screen."""
        import pyatspi
        if accessible is None:
            return None
        box = accessible.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        return (accessible.getRoleName(), accessible.name, box.x, box.y)

    def text(self, accessible):
        """The text a screen reader reads in a text box or label."""
        text = accessible.queryText()
        return text.getText(0, text.characterCount)

    def control_at(self, window, role, left, top):
        """The object of `role` whose corner lies at `left`, `top` twips in the window."""
        import pyatspi
        origin = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        x, y = origin.x + round(left / 15), origin.y + round(top / 15)

        def here(a):
            if a.getRoleName() != role:
                return False
            box = a.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            return abs(box.x - x) <= 1 and abs(box.y - y) <= 1
        found = self.find_all(window, here)
        if len(found) != 1:
            self.fail("control-at", "%d objects of role %s at %d, %d twips" %
                      (len(found), role, left, top))
        return found[0]

    def wait_focus(self, role, name, timeout=15.0):
        def check():
            f = self.focused()
            return f if f is not None and f.getRoleName() == role and f.name == name else None
        try:
            return self.wait_for("the focus on %s '%s'" % (role, name), check, timeout)
        except Failure:
            f = self.focused()
            seen = "%s '%s'" % (f.getRoleName(), f.name) if f is not None else "nothing"
            self.fail("focus", "the focus is on %s, not on %s '%s'" % (seen, role, name))


def showing():
    import pyatspi
    return pyatspi.STATE_SHOWING


def run(test):
    """Runs test(session) with the program and output folder from the command line."""
    if len(sys.argv) < 2:
        print("usage: %s PROGRAM [OUTPUT_DIR]" % sys.argv[0], file=sys.stderr)
        sys.exit(2)
    session = Session(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else "a11y-output")
    try:
        session.start()
        test(session)
        session.log("PASS")
    except Failure as failure:
        print("FAIL: %s" % failure, file=sys.stderr)
        sys.exit(1)
    finally:
        session.close()
