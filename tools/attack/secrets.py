"""Secrets: a login may only cross the wire encrypted, and the password lives only in the
keyring.

The .netrc cases send a nag mail through a plain server that offers AUTH and takes any
login, on 127.0.0.1 or ::1: whenever libcurl could find a login for the URL, nothing may
reach that server; with no login anywhere the mail must arrive. The keyring cases store the
password through the Mail Server dialog into gnome-keyring on a D-Bus session of their own,
then send through a STARTTLS server (behind a proxy that records what the client says before
STARTTLS) and through a plain one; the password must never be in the settings file, the
program's other files, its output, the command line or environment of it or its children,
or on the wire in clear.
"""

import base64
import os
import re
import socket
import subprocess
import tempfile
import threading

from common import (FAR_FUTURE, Case, Program, SmtpSink, arrived, attempt, due, make_home,
                    remove, review_from_yesterday, settings_text, wait)
from desktop import OK, run as run_command

NETRC_PASSWORD = "s3cret-netrc"
KEYRING_PASSWORD = "k3yring-secret"
LOGIN = f"login bob password {NETRC_PASSWORD}\n"

NETRC_CASES = [  # (name, server address, host in the URL, .netrc)
    ("IPv6 literal", "::1", "[::1]", f"machine ::1 {LOGIN}"),
    ("IPv4 address", "127.0.0.1", "127.0.0.1", f"machine 127.0.0.1 {LOGIN}"),
    ("IPv4 short form", "127.0.0.1", "127.1", f"machine 127.0.0.1 {LOGIN}"),
    ("name in another case", "127.0.0.1", "LocalHost", f"machine localhost {LOGIN}"),
    ("default entry", "127.0.0.1", "127.0.0.1", f"default {LOGIN}"),
    ("macdef, then CR", "127.0.0.1", "127.0.0.1",
     f"macdef init\n\rmachine 127.0.0.1 {LOGIN}"),
    ("macdef, then a CR line", "127.0.0.1", "127.0.0.1",
     f"macdef init\nx\n\r\nmachine 127.0.0.1 {LOGIN}"),
    ("login in the URL", "127.0.0.1", f"bob:{NETRC_PASSWORD}@127.0.0.1", ""),
    ("no login anywhere", "127.0.0.1", "127.0.0.1", ""),
]


def send_one(suite, case, home, env):
    """Starts the program on one due nag mail, answers No and any message, and ends it."""
    program = Program(suite, home, env, settings=settings_text(
        [due("Renew the passport")], Options=review_from_yesterday()))
    try:
        program.settle(case, ["alt+n"], quiet=3.0)
        program.finish(case)
    finally:
        program.cleanup()


def netrc_case(suite, case, server, host, netrc):
    home, sink = make_home(), SmtpSink("--offer-login", "--host", server)
    try:
        if netrc:
            with open(os.path.join(home, ".netrc"), "w", encoding="utf-8") as f:
                f.write(netrc)
            os.chmod(os.path.join(home, ".netrc"), 0o600)
        send_one(suite, case, home, {"PESTERLY_MAIL_URL": f"smtp://{host}:{sink.port}",
                                     "EMAIL": "me@example.org"})
        case.check(not os.path.exists(os.path.join(sink.folder, "login")), "clear",
                   f"a login reached the plain server at smtp://{host}")
        if not netrc and "@" not in host:
            case.check(sink.count() == 1, "lost", "no login was due, yet the mail did not go")
    finally:
        sink.stop()
        remove(home)


class Proxy:
    """Passes TCP connections on to port (a few, one at a time), keeping what the client says
    until STARTTLS."""

    def __init__(self, port):
        self.listener = socket.create_server(("127.0.0.1", 0))
        self.listener.settimeout(60)
        self.port, self.target = self.listener.getsockname()[1], port
        self.said = []  # what the client said in clear, a bytearray per connection
        threading.Thread(target=self.serve, daemon=True).start()

    def serve(self):
        for _ in range(5):
            try:
                client, _ = self.listener.accept()
            except OSError:
                return
            server = socket.create_connection(("127.0.0.1", self.target), timeout=60)
            threading.Thread(target=self.pump, args=(server, client, None), daemon=True).start()
            self.said.append(bytearray())
            self.pump(client, server, self.said[-1])

    def pump(self, source, sink, transcript):
        try:
            while data := source.recv(65536):
                if transcript is not None and b"STARTTLS" not in transcript.upper():
                    transcript += data
                sink.sendall(data)
        except OSError:
            pass
        finally:
            sink.close()

    def close(self):
        self.listener.close()


def keyring(folder):
    """gnome-keyring on a D-Bus session of its own: (environment for the program, stop)."""
    runtime = os.path.join(folder, "run")
    os.mkdir(runtime, 0o700)
    address, pid = subprocess.run(["dbus-daemon", "--session", "--fork", "--print-address=1",
                                   "--print-pid=1"], capture_output=True, text=True,
                                  check=True).stdout.split()
    bus = {**os.environ, "HOME": folder, "XDG_RUNTIME_DIR": runtime,
           "DBUS_SESSION_BUS_ADDRESS": address}
    run_command("gnome-keyring-daemon", "--unlock", "--components=secrets", input="test\n",
                env=bus, check=True)
    run_command("gnome-keyring-daemon", "--start", "--components=secrets", env=bus, check=True)
    owner = run_command("gdbus", "call", "--session", "--dest", "org.freedesktop.DBus",
                        "--object-path", "/org/freedesktop/DBus", "--method",
                        "org.freedesktop.DBus.GetConnectionUnixProcessID",
                        "org.freedesktop.secrets", env=bus).stdout
    daemons = [int(pid), int(re.search(r"uint32 (\d+)", owner).group(1))]
    return {"DBUS_SESSION_BUS_ADDRESS": address}, lambda: [os.kill(p, 15) for p in daemons]


def leaks(password):
    """The forms in which a password may be found: plain, and in an AUTH PLAIN or LOGIN."""
    forms = [password.encode(), base64.b64encode(password.encode())]
    forms += [base64.b64encode(f"\0me\0{password}".encode())]
    return forms


def watch(program, found, stop):
    """Reads the command lines and environments of the program and its children."""
    while not stop.wait(0.1):
        pids = [str(program.process.pid)]
        for task in pids[:1]:
            try:
                with open(f"/proc/{task}/task/{task}/children") as f:
                    pids += f.read().split()
            except OSError:
                pass
        for pid in pids:
            for part in ("cmdline", "environ"):
                try:
                    with open(f"/proc/{pid}/{part}", "rb") as f:
                        if KEYRING_PASSWORD.encode() in f.read():
                            found.add(f"{part} of process {pid}")
                except OSError:
                    pass


def keyring_cases(suite):
    folder = tempfile.mkdtemp(prefix="pesterly-attack-keyring-")
    cert, key = (os.path.join(folder, n) for n in ("cert", "key"))
    run_command("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", key,
                "-out", cert, "-days", "1", "-subj", "/CN=127.0.0.1", "-addext",
                "subjectAltName=IP:127.0.0.1", check=True)
    bus, stop = keyring(folder)
    try:
        for name, plain in (("keyring, STARTTLS server", False),
                            ("keyring, plain server, security None", True)):
            case = Case(name)
            attempt(case, keyring_case, suite, case, bus, cert, key, plain)
            yield case
    finally:
        stop()
        remove(folder)


def keyring_case(suite, case, bus, cert, key, plain):
    home = make_home()
    options = ("--offer-login",) if plain else ("--tls-cert", cert, "--tls-key", key,
                                                "--login", f"me:{KEYRING_PASSWORD}")
    sink = SmtpSink(*options)
    proxy = Proxy(sink.port)
    mail = dict(Method="SMTP", Host="127.0.0.1", Port=proxy.port,
                Security="None" if plain else "STARTTLS", User="me", From="me@example.org")
    env = {**bus, "PESTERLY_MAIL_CA_FILE": cert}
    try:
        # The password goes into the keyring through the Mail Server dialog.
        program = Program(suite, home, env, settings=settings_text(
            Options=FAR_FUTURE, Mail={**mail, "Security": "STARTTLS"}))
        try:
            program.settle(case)
            program.keys(program.main_window(), "alt+o", "m")
            form = wait(lambda: program.windows("Mail Server"), 10)
            if form:
                program.type(form[0], "alt+w", "ctrl+a", text=KEYRING_PASSWORD)  # Password
                program.click_corner(form[0], *OK)
                wait(lambda: not program.windows("Mail Server"), 10)
            program.finish(case)
        finally:
            program.cleanup()
        found, stop = set(), threading.Event()
        program = Program(suite, home, env, settings=settings_text(
            [due("Renew the passport")], Options=review_from_yesterday(), Mail=mail))
        watcher = threading.Thread(target=watch, args=(program, found, stop), daemon=True)
        watcher.start()
        try:
            program.settle(case, ["alt+n"], quiet=3.0)
            program.finish(case)
            output = program.output()
        finally:
            stop.set()
            watcher.join()
            program.cleanup()
        wire = b"".join(proxy.said) + (b"login" if os.path.exists(os.path.join(sink.folder, "login"))
                             and plain else b"")
        case.check(not any(form in wire for form in leaks(KEYRING_PASSWORD)) and
                   not wire.endswith(b"login"), "clear", "the login crossed the wire in clear")
        for path in [os.path.join(d, f) for d, _, fs in os.walk(home) for f in fs]:
            with open(path, "rb") as f:
                case.check(KEYRING_PASSWORD.encode() not in f.read(), "other",
                           f"the password is in {os.path.relpath(path, home)}")
        case.check(KEYRING_PASSWORD not in output, "other", "the password is in the output")
        case.check(not found, "other", f"the password is in the {', '.join(sorted(found))}")
        if not plain:
            case.check(len(arrived(sink)) == 1, "lost", "the mail did not arrive over TLS")
    finally:
        proxy.close()
        sink.stop()
        remove(home)


def run(suite):
    for name, server, host, netrc in NETRC_CASES:
        case = Case(f".netrc: {name}")
        attempt(case, netrc_case, suite, case, server, host, netrc)
        yield case
    yield from keyring_cases(suite)
