"""Pesterly on a Wayland desktop: weston's headless compositor, which has no keyboard or mouse.
The day's review question is found and answered through the accessibility interface (AT-SPI),
as a screen reader or switch user would; SIGTERM then saves the answer. Run inside a private
D-Bus session (dbus-run-session), which starts the accessibility bus on demand."""

import os
import shutil
import signal
import subprocess
import tempfile
import unittest

import pyatspi
from gi.repository import GLib

from desktop import BINARY, Pesterly, days_ago, end, ini, review_since, us_date, wait_for


def pump():
    """Lets the accessibility library take in what the bus told it (windows that came or
    went); it does so only from the main loop, which nobody else runs here."""
    while GLib.MainContext.default().iteration(False):
        pass


def question(app):
    """The open question box: its text and its buttons by name."""
    pump()
    try:
        # The box is a window of its own, a child of the application; the main window's grid
        # is not walked while the review changes it.
        for alert in app:
            if alert is not None and alert.getRole() == pyatspi.ROLE_ALERT and alert.name == "Pesterly":
                inside = pyatspi.findAllDescendants(alert, lambda node: True)
                text = [n.name for n in inside if n.getRole() == pyatspi.ROLE_LABEL and n.name]
                buttons = {n.name: n for n in inside if n.getRole() == pyatspi.ROLE_PUSH_BUTTON}
                return text, buttons
    except Exception:  # a window went away while it was read; read again
        return False
    return None


class WaylandTest(unittest.TestCase):
    def test_review_question_is_answered_and_sigterm_saves(self):
        # weston's headless compositor, ended with the test.
        runtime, socket = tempfile.mkdtemp(prefix="pesterly-wayland-"), "pesterly-wayland"
        self.addCleanup(shutil.rmtree, runtime, ignore_errors=True)
        process = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", f"--socket={socket}", "--no-config",
             "--idle-time=0"], env={**os.environ, "XDG_RUNTIME_DIR": runtime},
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(end, process)
        wait_for(lambda: all(os.path.exists(os.path.join(runtime, name))
                             for name in (socket + ".lock", socket)), what="weston")
        today = us_date(days_ago(0))
        settings = ini([dict(Date=today, Repeat=0, Desc="Water the plants", Done=today),
                        dict(Date=today, Repeat=4, Desc="Feed the cat",
                             Done=us_date(days_ago(1)))], Options=review_since(days_ago(1)))
        # The accessibility bus and its registry are started on demand; have them up before
        # the program looks for them.
        wait_for(lambda: pyatspi.Registry.getDesktop(0).childCount >= 0, what="the registry")
        program = Pesterly(BINARY, None, settings, extra_env={
            "QT_QPA_PLATFORM": "wayland", "WAYLAND_DISPLAY": socket,
            "XDG_RUNTIME_DIR": runtime, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"})
        self.addCleanup(program.cleanup)
        def application():
            pump()
            desktop = pyatspi.Registry.getDesktop(0)
            found = next((app for app in desktop
                          if app is not None and app.get_process_id() == program.process.pid),
                         None)
            if found is None:
                desktop.clearCache()  # in case the news of its coming was missed: ask again
            return found

        app = wait_for(application, what="Pesterly on the bus")

        answered = []
        for answer in ("Yes", "Cancel"):  # water the plants: done; feed the cat: put off
            # A new box shows up on the bus before all of its parts do.
            text, buttons = wait_for(
                lambda: (q := question(app)) and q[0] and len(q[1]) >= 3 and
                q[0] not in answered and q, what=f"the question to answer {answer}")
            self.assertEqual(sorted(buttons), ["Cancel", "No", "Yes"])
            answered.append(text)
            buttons[answer].queryAction().doAction(0)
        self.assertEqual(answered, [["Water the plants"], ["Feed the cat"]])
        wait_for(lambda: question(app) is None, what="the review to end")  # not False

        program.assert_exits(signal.SIGTERM)
        saved = program.settings()
        self.assertEqual((saved["Events"]["EventCount"], saved["Events"]["EDesc0"]),
                         (" 1", "Feed the cat"))
        self.assertEqual(saved["Options"]["CheckDate"], today)
        # Qt's own messages carry their category ("qt.…"); anything else came from Pesterly.
        own = [line for line in program.output().splitlines()
               if line.strip() and not line.startswith("qt.")]
        self.assertEqual(own, [], program.output())


if __name__ == "__main__":
    unittest.main(verbosity=2)
