#!/usr/bin/python3
"""The main window through the accessibility bus, as a screen reader sees it.

Runs "veldrane --simulate" on the X server in $DISPLAY, inside the session bus the caller set up
(dbus-run-session), with the accessibility bus started here. Walks the window's tree, finds the
"Save" button and, once "CPI Setting" is opened through its action, the slider of CPI stage 2 with
its value; steps the slider with its "Increase" action, presses "Save" the same way, and finds the
new value in the saved profile (read back with veldranectl).

Usage: AccessibilityDesktopTest.py BIN_DIR WORK_DIR. Exits 0 when it held, 1 when it did not, 77
when the machine lacks something it needs.
"""

import json
import os
import subprocess
import sys
import time

SKIP = 77
TIMEOUT = 30.0


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, probe, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        found = probe()
        if found:
            return found
        time.sleep(0.1)
    fail("timed out waiting for " + what)


def main():
    bin_dir, work = sys.argv[1], sys.argv[2]
    launcher = "/usr/libexec/at-spi-bus-launcher"
    if not os.path.exists(launcher):
        print("SKIP: at-spi2-core is not installed", file=sys.stderr)
        sys.exit(SKIP)
    bus = subprocess.Popen([launcher, "--launch-immediately"])
    app = None
    try:
        try:
            import pyatspi  # noqa: PLC0415 - only once the accessibility bus is up
        except ImportError:
            print("SKIP: python3-pyatspi is not installed", file=sys.stderr)
            sys.exit(SKIP)
        data = os.path.join(work, "data")
        os.makedirs(data)
        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1", QT_QPA_PLATFORM="xcb")
        app = subprocess.Popen([os.path.join(bin_dir, "veldrane"), "--simulate", "--data-dir", data], env=env)

        def application():
            if app.poll() is not None:
                fail("the program ended with %d" % app.returncode)
            desktop = pyatspi.Registry.getDesktop(0)
            return next((c for c in map(desktop.getChildAtIndex, range(desktop.childCount))
                         if c is not None and "veldrane" in (c.name or "").lower()), None)

        def controls():
            return {(c.getRoleName(), c.name): c for window in application() or [] for c in window if c is not None}

        def control(role, name):
            return wait_for("%s %r" % (role, name), lambda: controls().get((role, name)))

        def act(accessible, action):
            actions = accessible.queryAction()
            names = [actions.getName(i) for i in range(actions.nActions)]
            if action not in names:
                fail("%r offers %s, not %r" % (accessible.name, names, action))
            actions.doAction(names.index(action))

        save = control("push button", "Save")
        cpi = control("page tab", "CPI Setting")
        if cpi.getState().contains(pyatspi.STATE_EXPANDED):
            fail("CPI Setting is open at start")
        act(cpi, "Press")
        wait_for("CPI Setting to open", lambda: controls()[("page tab", "CPI Setting")].getState().contains(
            pyatspi.STATE_EXPANDED))
        slider = control("slider", "CPI stage 2")
        before = slider.queryValue().currentValue
        if before <= 0 or slider.queryValue().minimumIncrement != 50:
            fail("CPI stage 2 reads %r in steps of %r" % (before, slider.queryValue().minimumIncrement))
        for _ in range(3):
            act(slider, "Increase")
        wait_for("the slider to move",
                 lambda: controls()[("slider", "CPI stage 2")].queryValue().currentValue == before + 150)
        act(save, "Press")

        expected = int((before + 150) // 50)

        def stored():
            # --data-dir holds the simulated mouse's profiles too.
            shown = subprocess.run([os.path.join(bin_dir, "veldranectl"), "show", os.path.join(data, "config0.bin")],
                                   capture_output=True, text=True, check=False)
            return shown.returncode == 0 and json.loads(shown.stdout)["cpiValue"][1] == expected

        wait_for("cpiValue %d in the saved profile" % expected, stored)

        print("the slider of CPI stage 2 went from %d to %d CPI and was saved" % (before, before + 150))
    finally:
        if app is not None and app.poll() is None:
            app.terminate()
            try:
                app.wait(timeout=TIMEOUT)
            except subprocess.TimeoutExpired:
                app.kill()
        bus.terminate()
        bus.wait()


if __name__ == "__main__":
    main()
