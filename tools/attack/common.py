"""What every class of the attack shares: the program started in a private home on the
suite's X screen, its start-up notices and questions answered from the keyboard, test
servers, and the tally of the faults a case found."""

import glob
import os
import random
import signal
import socket
import subprocess
import sys
import tempfile
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "e2e"))
from desktop import Pesterly, SmtpSink, days_ago, us_date, wait_for, xdotool  # noqa: E402,F401

# The kinds of fault, in the order of the table's columns.
KINDS = ("crash", "hang", "lost", "twice", "clear", "other")
NOBODY = 65534
FAR_FUTURE = {"CheckDate": "12/31/2099"}


class Case:
    """One attack (or `runs` alike): its name, the faults it found (kind, what), the notices
    it saw and the texts of the message boxes."""

    def __init__(self, name):
        self.name, self.faults, self.notices, self.runs = name, [], 0, 1
        self.texts = []  # of the message boxes seen

    def fault(self, kind, what):
        assert kind in KINDS
        self.faults.append((kind, what))

    def check(self, condition, kind, what):
        if not condition:
            self.fault(kind, what)


class Suite:
    """What a class gets: the binary, the X screen, the size of the run and a random source."""

    def __init__(self, binary, screen, size):
        self.binary, self.screen, self.size = binary, screen, size
        self.random = random.Random(19)

    def scaled(self, quick, default, full):
        return {"quick": quick, "default": default, "full": full}[self.size]


def free_port(host="127.0.0.1"):
    """A port nobody listens on (until a server takes it)."""
    with socket.socket(socket.AF_INET6 if ":" in host else socket.AF_INET) as probe:
        probe.bind((host, 0))
        return probe.getsockname()[1]


def settings_text(events=(), **sections):
    """A settings file: each event a {key: value} without the "E" and the number."""
    lines = ["[Events]", f"EventCount={len(events)}"]
    for number, event in enumerate(events):
        lines += [f"E{key}{number}={value}" for key, value in event.items()]
    for name, keys in sections.items():
        lines += [f"[{name}]", *(f"{key}={value}" for key, value in keys.items())]
    return "\n".join(lines) + "\n"


def due(desc, address="someone@example.org", **more):
    """A one-time event due yesterday that nags address when No is answered."""
    day = us_date(days_ago(1))
    return {"Date": day, "Repeat": 0, "Desc": desc, "Done": us_date(days_ago(2)),
            "Email": True, "UseNagList": False, "SEmail": address, **more}


def review_from_yesterday():
    return {"CheckDate": us_date(days_ago(1)), "CheckTime": "12:00:00 AM"}


def make_home(owner=0):
    home = tempfile.mkdtemp(prefix="pesterly-attack-")
    os.chown(home, owner, owner)
    return home


def write(path, data, owner=0):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data.encode() if isinstance(data, str) else data)
    if owner:
        for folder, _, files in os.walk(os.path.dirname(os.path.dirname(path))):
            os.chown(folder, owner, owner)
            for name in files:
                os.chown(os.path.join(folder, name), owner, owner)


class Program(Pesterly):
    """The program on the suite's screen, in home (kept when it ends), as root or as the
    unprivileged user nobody. Unless env names a D-Bus session, it gets one of its own, on
    which the text of its message boxes is read through the accessibility interface."""

    def __init__(self, suite, home, env=None, as_user=0, settings=None):
        self.suite, self.user, self.bus = suite, as_user, None
        if settings is not None:
            write(os.path.join(home, "config", "Pesterly", "Pesterly.ini"), settings, as_user)
        env = {"XDG_RUNTIME_DIR": runtime_dir(home, as_user), **(env or {})}
        self.user_env = {"HOME": home, "XDG_RUNTIME_DIR": env["XDG_RUNTIME_DIR"]}
        if "DBUS_SESSION_BUS_ADDRESS" not in env:
            self.bus = subprocess.run(
                as_user_command(as_user, self.user_env, "dbus-daemon", "--session", "--fork",
                                "--print-address=1", "--print-pid=1"),
                capture_output=True, text=True, check=True, timeout=30).stdout.split()
            env.setdefault("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1")
            env["DBUS_SESSION_BUS_ADDRESS"] = self.bus[0]
            self.user_env["DBUS_SESSION_BUS_ADDRESS"] = self.bus[0]
        if as_user:
            args = (f"--reuid={as_user}", f"--regid={as_user}", "--clear-groups", suite.binary)
            super().__init__("/usr/bin/setpriv", suite.screen, args=args, extra_env=env,
                             home=home)
        else:
            super().__init__(suite.binary, suite.screen, extra_env=env, home=home)
        self.state = os.path.join(home, "state", "Pesterly")
        self.outbox = os.path.join(self.state, "outbox")

    def box_text(self):
        """The text of the open message box, or "" when it cannot be read."""
        if self.bus is None:
            return ""
        return subprocess.run(
            as_user_command(self.user, self.user_env, "/usr/bin/python3",
                            os.path.join(HERE, "alerts.py"), str(self.process.pid)),
            capture_output=True, text=True, timeout=30).stdout

    def is_box(self, window):
        x = self.screen.x
        try:
            prop = window.get_full_property(x.intern_atom("_NET_WM_WINDOW_TYPE"), 0)
            return any("DIALOG" in x.get_atom_name(a) for a in (prop.value if prop else []))
        except Exception:  # the window went away meanwhile
            return False

    def main_window(self):
        return next((w for w in self.windows("Pesterly") if not self.is_box(w)), None)

    def box(self):
        """The message box on top, the one that takes the keys: a nag mail's failure comes over
        the question the review has gone on to."""
        return next((w for w in reversed(self.windows("Pesterly")) if self.is_box(w)), None)

    def settle(self, case, keys=(), timeout=20.0, quiet=1.0):
        """Answers message boxes until none has come for `quiet` seconds: each with the next
        of keys, and once they are used up with Return (a notice's OK). True when the main
        window is up then; a case that never gets there is a hang unless the program ended."""
        keys, deadline, calm_since = list(keys), time.monotonic() + timeout, None
        while time.monotonic() < deadline and self.process.poll() is None:
            box = self.box()
            if box is not None:
                key = keys.pop(0) if keys else "Return"
                case.notices += key == "Return"
                case.texts.append(self.box_text())
                self.keys(box, key)
                calm_since = None
                time.sleep(0.25)
                continue
            if self.main_window() is None:
                calm_since = None
            elif calm_since is None:
                calm_since = time.monotonic()
            elif time.monotonic() - calm_since >= quiet:
                return True
            time.sleep(0.05)
        if self.process.poll() is None:
            case.fault("hang", "no main window, or message boxes without end")
        return False

    def import_file(self, case, path):
        """File > Import Events, the path typed into the file dialog, then any message."""
        self.keys(self.main_window(), "alt+f")
        time.sleep(0.3)
        xdotool(self.screen, "key", "i")
        if not wait(lambda: self.windows("Import Events"), 10):
            case.fault("hang", "no import dialog")
            return
        xdotool(self.screen, "type", "--delay", "5", path)
        xdotool(self.screen, "key", "Return")
        wait(lambda: not self.windows("Import Events"), 10)
        self.settle(case)

    def finish(self, case, sig=signal.SIGTERM, expect=0, timeout=15.0):
        """Sends sig and waits: the exit status, or None after a hang (then killed)."""
        if self.process.poll() is None and sig:
            self.process.send_signal(sig)
        try:
            status = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            case.fault("hang", f"did not end within {timeout:.0f} s of {sig!r}")
            self.process.kill()
            self.process.wait()
            return None
        if status < 0 and -status not in (signal.SIGKILL, sig):
            case.fault("crash", f"died of signal {-status}: {self.output()[-300:]!r}")
        elif expect is not None and status != expect:
            case.fault("crash", f"exit status {status}: {self.output()[-300:]!r}")
        return status

    def cleanup(self):  # the home stays for the case to read; the case removes it
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        self.log.close()
        if self.bus:
            os.kill(int(self.bus[1]), signal.SIGTERM)


def attempt(case, attack, *args):
    """Runs one attack; one that breaks down itself is told on standard error and counted."""
    try:
        attack(*args)
    except Exception:  # the suite goes on with the next case
        traceback.print_exc()
        case.fault("other", "the attack itself broke down (see above)")


def cases_in_fresh_homes(suite, cases):
    """Runs each (name, attack) pair in a home folder of its own, removed afterwards."""
    for name, attack in cases:
        case, home = Case(name), make_home()
        try:
            attempt(case, attack, suite, case, home)
        finally:
            remove(home)
        yield case


def as_user_command(user, env, *command):
    """The command run as user (as it is for root) with env."""
    prefix = ["setpriv", f"--reuid={user}", f"--regid={user}", "--clear-groups"] if user else []
    return prefix + ["env", *(f"{k}={v}" for k, v in env.items()), *command]


def wait(condition, timeout):
    """Polls condition() for up to timeout seconds: its first true value, or None."""
    try:
        return wait_for(condition, timeout)
    except AssertionError:
        return None


def runtime_dir(home, owner=0):
    path = os.path.join(home, "run")
    if not os.path.isdir(path):
        os.makedirs(path, 0o700)
        os.chown(path, owner, owner)
    return path


def remove(home):
    subprocess.run(["rm", "-rf", "--one-file-system", home], check=False, timeout=60)


def files_under(folder):
    return sorted(glob.glob(os.path.join(folder, "**"), recursive=True))


def mail_env(port, host="127.0.0.1"):
    where = f"[{host}]" if ":" in host else host
    return {"PESTERLY_MAIL_URL": f"smtp://{where}:{port}", "EMAIL": "pesterly-user@example.org"}


def arrived(sink):
    """The messages the server took so far."""
    return [sink.message(n)[2] for n in range(sink.count())]


def keep_mails(suite, case, home, events, as_user=0):
    """Runs a review in home that answers No to each event while the server is down, so that
    each nag mail waits in the outbox; the outbox's mail files."""
    program = Program(suite, home, mail_env(free_port()), as_user,
                      settings_text(events, Options=review_from_yesterday()))
    try:
        program.settle(case, ["alt+n", "Return"] * len(events))
        program.finish(case)
    finally:
        program.cleanup()
    case.notices -= len(events)  # the boxes that said each mail waits
    return sorted(glob.glob(os.path.join(program.outbox, "*.mail")))


class Mount:
    """A small tmpfs mounted at path, to be filled up or made read-only; unmounted at close."""

    def __init__(self, path, owner=0):
        os.makedirs(path, exist_ok=True)
        subprocess.run(["mount", "-t", "tmpfs", "-o", f"size=256k,nr_inodes=64,uid={owner},"
                        f"gid={owner},mode=0700", "tmpfs", path], check=True, timeout=30)
        self.path = path

    def fill(self):
        """Takes every free block, then every free inode."""
        try:
            with open(os.path.join(self.path, ".filler"), "wb") as f:
                for _ in range(1024):  # far more than the 256 KiB there are
                    f.write(b"\0" * 4096)
                    f.flush()
        except OSError:
            pass
        for n in range(100):
            try:
                open(os.path.join(self.path, f".filler{n}"), "wb").close()
            except OSError:
                break

    def read_only(self):
        subprocess.run(["mount", "-o", "remount,ro", self.path], check=True, timeout=30)

    def close(self):
        if subprocess.run(["umount", self.path], timeout=30).returncode != 0:
            subprocess.run(["umount", "-l", self.path], timeout=30)
