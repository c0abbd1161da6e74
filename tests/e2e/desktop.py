"""A real X desktop for end-to-end tests: an Xvfb server, the Pesterly program started on it
with its own settings folder, and the means to look at and close its windows. The benchmarks
in bench/ use the same server and tray host."""

import configparser
import datetime
import email
import email.policy
import glob
import itertools
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

from Xlib import X, display as xdisplay, protocol


def wait_for(condition, timeout=20.0, what="condition"):
    """Polls condition() until it returns something true; fails after timeout seconds."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(f"timed out waiting for {what}")


BINARY = os.environ.get("PESTERLY_BINARY", "build/src/pesterly")
SHOTS = os.environ.get("PESTERLY_SCREENSHOTS", ".")
HERE = os.path.dirname(os.path.abspath(__file__))
SCREEN = (1280, 800)
# Buttons in the bottom right corners, in pixels left and up from the corner.
HIDE, CANCEL, OK = (50, 25), (50, 25), (135, 25)


def run(*command, **options):
    return subprocess.run(command, capture_output=True, text=True, timeout=150, **options)


def end(process, timeout=10):
    """Ends a helper program of the test: asks it, and after timeout seconds insists."""
    process.terminate()
    try:
        process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def xdotool(screen, *args):
    return run("xdotool", *args, env={**os.environ, "DISPLAY": screen.name}).stdout


def us_date(day):
    return f"{day.month}/{day.day}/{day.year}"


def days_ago(days):
    return datetime.date.today() - datetime.timedelta(days=days)


def ini(events=(), **sections):
    """A settings file: each event as {key: value}, its keys without the "E" and the number;
    every other section as {key: value}."""
    lines = ["[Events]", f"EventCount={len(events)}"]
    for number, event in enumerate(events):
        lines += [f"E{key}{number}={value}" for key, value in event.items()]
    for name, keys in sections.items():
        lines += ["", f"[{name}]", *(f"{key}={value}" for key, value in keys.items())]
    return "\n".join(lines) + "\n"


def review_since(day):
    """The [Options] of a program whose last review was on day, at midnight."""
    return {"CheckDate": us_date(day), "CheckTime": "12:00:00 AM"}


# A weekly event a week overdue that nags the nag list and one address of its own.
WEEKLY_REPORT = dict(Date="3/14/2001", Repeat=3, Desc="Send the weekly report",
                     Done=us_date(days_ago(8)), Email=True, UseNagList=True,
                     SEmail="me@example.org")
NAG_LIST = dict(EmailCount=2, Email0="alice@example.org", Email1="bob@example.org",
                UseTO=False, ToAddress="team@example.org")
NAGGED = ["alice@example.org", "bob@example.org", "me@example.org", "team@example.org"]


def mail_env(port, sender="pesterly-user@example.org"):
    return {"PESTERLY_MAIL_URL": f"smtp://127.0.0.1:{port}", "EMAIL": sender}


class SmtpSink:
    """The test's own SMTP server on 127.0.0.1 (smtp_sink.py), storing mail in folder."""

    def __init__(self, *options):
        self.folder = tempfile.mkdtemp(prefix="pesterly-mail-")
        self.process = subprocess.Popen(
            ["/usr/bin/python3", os.path.join(HERE, "smtp_sink.py"), "--out", self.folder,
             "--lifetime", "170", *options],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.port = int(self.process.stdout.readline().removeprefix("port "))  # or it failed

    def arrived(self, name):
        """Waits for the server to leave a file of that name; returns its path."""
        path = os.path.join(self.folder, name)
        wait_for(lambda: os.path.exists(path), what=name)
        return path

    def message(self, number):
        """(sender, sorted recipients, message) of the number-th mail, once it arrived."""
        with open(self.arrived(f"{number}.envelope"), encoding="utf-8") as f:
            words = f.read().split()  # "from" and the sender, then "rcpt" and each recipient
        with open(os.path.join(self.folder, f"{number}.eml"), "rb") as f:
            message = email.message_from_binary_file(f, policy=email.policy.default)
        return words[1], sorted(words[3::2]), message

    def count(self):
        return len(glob.glob(os.path.join(self.folder, "*.envelope")))

    def stop(self):
        self.process.stdin.close()
        self.process.wait(timeout=10)
        self.process.stdout.close()
        shutil.rmtree(self.folder, ignore_errors=True)


def session_bus(test, env=None):
    """A D-Bus session of the test's own, ended with the test: its address."""
    address, pid = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                                   "--print-pid=1"], capture_output=True, text=True, check=True,
                                  env=env).stdout.split()
    test.addCleanup(os.kill, int(pid), 15)
    return address


class TrayHost:
    """A notification area on the screen: trayer, docked at the top right."""

    def __init__(self, screen, env=None):
        self.process = subprocess.Popen(
            ["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
             "--height", "32", "--SetDockType", "true"],
            env={**(env or os.environ), "DISPLAY": screen.name},
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def stop(self):
        end(self.process)


class Xvfb:
    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:  # empty when Xvfb did not start
            self.name = ":" + pipe.readline().strip()
        self.x = xdisplay.Display(self.name)

    def stop(self):
        self.x.close()
        end(self.process)


class DesktopTest(unittest.TestCase):
    """Tests that share one X server, and a tray host when the class sets tray."""

    tray = False

    @classmethod
    def setUpClass(cls):
        cls.screen = Xvfb()
        cls.addClassCleanup(cls.screen.stop)
        if cls.tray:
            cls.addClassCleanup(TrayHost(cls.screen).stop)

    def start(self, settings_text=None, binary=BINARY, **options):
        """Starts the program and waits for its first window: (program, window). The program
        is ended and its folder removed when the test ends."""
        program = Pesterly(binary, self.screen, settings_text, **options)
        self.addCleanup(program.cleanup)
        return program, program.wait_window("Pesterly")

    def assertHolds(self, section, expected):
        """section holds these keys with these values (and maybe more)."""
        self.assertEqual({key: section.get(key) for key in expected}, expected)

    def smtp_sink(self, *options):
        """Starts the test's own SMTP server; it stops when the test ends."""
        sink = SmtpSink(*options)
        self.addCleanup(sink.stop)
        return sink


class Pesterly:
    """The program under test, with a private HOME and XDG_CONFIG_HOME, on an X screen (or,
    without one, on the desktop extra_env names)."""

    def __init__(self, binary, screen, settings_text=None, args=(), extra_env=None, home=None):
        self.home = home or tempfile.mkdtemp(prefix="pesterly-e2e-")
        self.config = os.path.join(self.home, "config")
        self.ini = os.path.join(self.config, "Pesterly", "Pesterly.ini")
        if settings_text is not None:
            os.makedirs(os.path.dirname(self.ini), exist_ok=True)
            with open(self.ini, "w", encoding="utf-8") as f:
                f.write(settings_text)
        env = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}
        env.update(HOME=self.home, XDG_CONFIG_HOME=self.config,
                   XDG_STATE_HOME=os.path.join(self.home, "state"), LANG="C.UTF-8",
                   LC_ALL="C.UTF-8")
        if screen is not None:
            env["DISPLAY"] = screen.name
        else:  # a Wayland desktop, given in extra_env
            env.pop("DISPLAY", None)
        env.update(extra_env or {})
        self.screen = screen
        self.log = tempfile.TemporaryFile()
        self.process = subprocess.Popen([binary, *args], env=env, stdout=self.log,
                                        stderr=subprocess.STDOUT)

    def windows(self, title=None):
        """Mapped top-level windows of the program, optionally with a given title."""
        root = self.screen.x.screen().root
        found = []
        for window in root.query_tree().children:
            try:
                if window.get_attributes().map_state != X.IsViewable:
                    continue
                name = window.get_wm_name()
                pid = window.get_full_property(self.screen.x.intern_atom("_NET_WM_PID"),
                                               X.AnyPropertyType)
            except Exception:  # the window went away meanwhile
                continue
            if pid is not None and pid.value[0] == self.process.pid and title in (None, name):
                found.append(window)
        return found

    def wait_window(self, title, timeout=20.0):
        return wait_for(lambda: self.windows(title), timeout, f"window {title!r}")[0]

    def boxes(self, main):
        """The message boxes open beside the main window."""
        return [w for w in self.windows("Pesterly") if w.id != main.id]

    def next_box(self, main, seen):
        """Waits for a message box not in seen (window ids), and adds it there."""
        box = wait_for(lambda: [w for w in self.boxes(main) if w.id not in seen],
                       what="the next message box")[0]
        seen.add(box.id)
        return box

    def close_window(self, window):
        """What a window manager sends when the user clicks the close box."""
        x = self.screen.x
        window.send_event(protocol.event.ClientMessage(
            window=window, client_type=x.intern_atom("WM_PROTOCOLS"),
            data=(32, [x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
        x.flush()

    def click_corner(self, window, left, up, repeat=1):
        """Clicks a point given in pixels left of and above the window's bottom right corner,
        where a form's buttons sit."""
        geometry = window.get_geometry()
        origin = window.translate_coords(self.screen.x.screen().root, 0, 0)
        self.click_at(-origin.x + geometry.width - left, -origin.y + geometry.height - up,
                      repeat=repeat)

    def hide(self, window):
        self.click_corner(window, *HIDE)
        wait_for(lambda: not self.windows("Pesterly"), what="the window to hide")

    def tray_icon(self):
        """The centre of the docked icon: a small window of the program's own. A panel may
        still move it while it lays itself out, so the place must hold for a moment."""
        root = self.screen.x.screen().root
        last = [None]

        def find():
            for line in xdotool(self.screen, "search", "--pid", str(self.process.pid),
                                "--onlyvisible", "--name", "").split():
                try:
                    window = self.screen.x.create_resource_object("window", int(line))
                    geometry = window.get_geometry()
                    origin = window.translate_coords(root, 0, 0)
                except Exception:  # the window went away meanwhile
                    continue
                if 16 <= geometry.width <= 64 and 16 <= geometry.height <= 64:
                    place = (-origin.x + geometry.width // 2, -origin.y + geometry.height // 2)
                    steady, last[0] = place == last[0], place
                    return place if steady else None
            return None
        return wait_for(find, what="the tray icon")

    def type(self, window, *keys, text=""):
        """Presses keys in the window, then types text."""
        self.keys(window, *keys)
        xdotool(self.screen, "type", "--delay", "20", text)

    def click_at(self, x, y, button=1, repeat=1):
        xdotool(self.screen, "mousemove", str(x), str(y), "click", "--repeat", str(repeat),
                "--delay", "80", str(button))

    def tray_menu_exit(self):
        """Opens the icon's menu and picks its second item, "Exit"."""
        x, y = self.tray_icon()
        self.click_at(x, y, 3)
        menu = wait_for(lambda: self.windows(""), what="the tray menu")[0]
        geometry = menu.get_geometry()
        origin = menu.translate_coords(self.screen.x.screen().root, 0, 0)
        self.click_at(-origin.x + geometry.width // 2, -origin.y + geometry.height * 3 // 4)

    def keys(self, window, *keys):
        xdotool(self.screen, "windowfocus", "--sync", str(window.id))
        xdotool(self.screen, "key", *keys)

    def highlighted_bands(self, window):
        """The vertical spans (top, bottom) of the window painted in the selection colour,
        looking down the middle of the window: the selected grid rows."""
        geometry = window.get_geometry()
        image = window.get_image(geometry.width // 2, 0, 1, geometry.height, X.ZPixmap,
                                 0xFFFFFFFF).data
        blue = [y for y in range(geometry.height)  # the selection's blue, in B G R order
                if image[4 * y] > 150 and image[4 * y + 2] < 120 and 90 < image[4 * y + 1] < 200]
        runs = (list(run) for _, run in itertools.groupby(enumerate(blue), lambda p: p[1] - p[0]))
        return [(run[0][1], run[-1][1]) for run in runs]

    def screenshot(self, window, name):
        subprocess.run(["import", "-display", self.screen.name, "-window", str(window.id),
                        os.path.join(SHOTS, name)], check=True)

    def assert_exits(self, sig=None, timeout=20.0):
        """Sends sig, if given, and fails unless the program then ends with status 0."""
        if sig:
            self.process.send_signal(sig)
        status = self.process.wait(timeout=timeout)  # one that hangs is killed at cleanup
        if status != 0:
            raise AssertionError(f"exit status {status}:\n{self.output()}")

    def output(self):
        self.log.seek(0)
        return self.log.read().decode(errors="replace")

    def settings(self):
        """{section: {key: value}} of the settings file, with names as written in the file."""
        parser = configparser.ConfigParser(delimiters=("=",), interpolation=None, strict=False)
        parser.optionxform = str
        parser.read(self.ini, encoding="utf-8")
        return {name: {key: unquote(value) for key, value in parser[name].items()}
                for name in parser.sections()}

    def cleanup(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()
        shutil.rmtree(self.home, ignore_errors=True)


def unquote(value):
    """A value as the settings file stores it: quoted when it has blanks at its ends or
    special characters, with backslash escapes."""
    escapes = {"n": "\n", "r": "\r", "t": "\t"}
    return re.sub(r'\\(.)|"', lambda m: escapes.get(m[1], m[1] or ""), value.strip(),
                  flags=re.S)
