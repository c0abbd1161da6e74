"""Prints the text of the message box that the program with the given process id shows, as
the accessibility interface (AT-SPI) reads it to a screen reader; exits 1 when none comes
within five seconds. Run as the program's user, on the program's D-Bus session.

    alerts.py PID
"""

import sys
import time

import pyatspi
from gi.repository import GLib


def text_of_box(pid):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.get_process_id() != pid:
            continue
        for window in app:
            if window is not None and window.getRole() == pyatspi.ROLE_ALERT:
                return [node.name for node in pyatspi.findAllDescendants(window, lambda n: True)
                        if node.getRole() == pyatspi.ROLE_LABEL and node.name]
    return None


def main():
    pid, deadline = int(sys.argv[1]), time.monotonic() + 5
    while time.monotonic() < deadline:
        while GLib.MainContext.default().iteration(False):
            pass
        try:
            text = text_of_box(pid)
        except Exception:  # a window went away while it was read; read again
            text = None
        if text:
            print("\n".join(text))
            return 0
        pyatspi.Registry.getDesktop(0).clearCache()
        time.sleep(0.1)
    return 1


if __name__ == "__main__":
    sys.exit(main())
