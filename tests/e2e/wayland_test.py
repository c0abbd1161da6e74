"""Pesterly on a Wayland desktop: weston's headless compositor, which has no keyboard or mouse.
The day's review question is found and answered through the accessibility interface (AT-SPI),
as a screen reader or switch user would, who then opens every window and hears what each
control is; SIGTERM then saves the answers. Run inside a private
D-Bus session (dbus-run-session), which starts the accessibility bus on demand."""

import os
import shutil
import signal
import subprocess
import tempfile
import unittest

import pyatspi
from gi.repository import Atspi, GLib

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


def window(app, title):
    pump()
    return next((w for w in app if w is not None and w.name == title and
                 w.getState().contains(pyatspi.STATE_SHOWING)), None)


def find(node, name, role=None):
    """The first part of a window with this name (and role), as a screen reader finds it."""
    return pyatspi.findDescendant(node, lambda n: n.name == name and
                                  (role is None or n.getRole() == role))


def press(node):
    """Does the part's first action. One that opens a modal window is answered only when the
    window closes: the call gives up waiting and the window stays open."""
    try:
        node.queryAction().doAction(0)
    except GLib.GError:
        pass


def open_window(app, parent, name, title):
    press(find(parent, name))
    return wait_for(lambda: window(app, title), what=title)


class WaylandTest(unittest.TestCase):
    def assert_controls_named(self, window):
        """Every control a user can reach says what it is, and no two say the same. The rows of
        the grid and of a drop-down list are its contents; a drop-down list is named by the
        choice it shows, as on every Linux desktop."""
        names = [n.name for n in pyatspi.findAllDescendants(window, lambda n: (
            n.getState().contains(pyatspi.STATE_FOCUSABLE) and
            n.getState().contains(pyatspi.STATE_SHOWING) and
            n.getRole() not in (pyatspi.ROLE_TABLE_CELL, pyatspi.ROLE_LIST_ITEM) and
            n.parent.getRole() != pyatspi.ROLE_COMBO_BOX))]
        self.assertNotIn("", names, window.name)
        self.assertEqual(sorted(set(names)), sorted(names), window.name)
        return names

    def walk_the_windows(self, app):
        main = wait_for(lambda: window(app, "Pesterly"), what="the main window")
        self.assertIn("Events", self.assert_controls_named(main))
        cell = find(main, "Feed the cat", pyatspi.ROLE_TABLE_CELL)
        self.assertRegex(cell.description, r"^Next asked about: .*\d{4}$")
        editor = open_window(app, main, "Add New Event", "Edit Event")
        self.assertTrue({"Description", "Date", "Special mail address",
                         "Mail text"} <= set(self.assert_controls_named(editor)))
        # Each dialog is left with Cancel (the editor's new event "?" stays); the help window,
        # and About and the options, which have no button, stay open until the program ends.
        for parent, item, title in ((editor, "Add Category", "Add a Category"),
                                    (main, None, "Edit Event"),
                                    (main, "NagMail Options", "Edit Nag List"),
                                    (main, "Mail Server", "Mail Server"),
                                    (main, "Pesterly Help", "Pesterly Help"),
                                    (main, "About Pesterly", "About Pesterly"),
                                    (main, "Reminder Options", "Pesterly Options")):
            form = open_window(app, parent, item, title) if item else window(app, title)
            self.assert_controls_named(form)
            if cancel := find(form, "Cancel", pyatspi.ROLE_PUSH_BUTTON):
                press(cancel)
                wait_for(lambda: not window(app, title), what=title + " to close")

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
        # The headless compositor draws no frames, and asking whether it could would load the
        # EGL driver, whose start-up allocations LeakSanitizer reports as leaks.
        program = Pesterly(BINARY, None, settings, extra_env={
            "QT_QPA_PLATFORM": "wayland", "WAYLAND_DISPLAY": socket,
            "XDG_RUNTIME_DIR": runtime, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "QT_WAYLAND_DISABLE_WINDOWDECORATION": "1"})
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
        Atspi.set_timeout(1500, 15000)
        self.walk_the_windows(app)

        program.assert_exits(signal.SIGTERM)
        saved = program.settings()
        self.assertEqual([saved["Events"][key] for key in ("EventCount", "EDesc0", "EDesc1")],
                         [" 2", "Feed the cat", "?"])
        self.assertEqual(saved["Options"]["CheckDate"], today)
        # Qt's own messages carry their category ("qt.…"); anything else came from Pesterly.
        own = [line for line in program.output().splitlines()
               if line.strip() and not line.startswith("qt.")]
        self.assertEqual(own, [], program.output())


if __name__ == "__main__":
    unittest.main(verbosity=2)
