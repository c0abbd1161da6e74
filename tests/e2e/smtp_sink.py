#!/usr/bin/python3
"""A throw-away SMTP server on 127.0.0.1 (or --host ::1) for the mail tests.

It listens on a free port (on ::1 too where it can) and prints "port N" on stdout. Every
message it takes is stored as N.eml (the raw bytes as received) and N.envelope (a "from ADDRESS"
line, then one "rcpt ADDRESS" line per recipient) in the output folder.
One address can be refused with 550. With --offer-login it offers AUTH without TLS and
accepts any login, as a careless server would, leaving a file "login" behind when a client
sent one. With --tls-cert and --tls-key it offers STARTTLS with that certificate and takes
no mail without it; with --login USER:PASSWORD it takes that login only (over TLS when offered),
and leaves "login-refused" behind for any other. A message that came over TLS also leaves
N.tls. It stops by itself when its standard input closes (the test ended or died) or after
--lifetime seconds. With --run COMMAND... it runs the command with PESTERLY_SMTP_PORT and
PESTERLY_SMTP_OUT in its environment, stops when the command ends and exits as it did.
"""

import argparse
import asyncio
import os
import pathlib
import socket
import ssl
import sys
import tempfile

from aiosmtpd.smtp import SMTP, AuthResult


class Recorder:
    def __init__(self, out_dir, reject):
        self.out_dir, self.reject, self.count = out_dir, reject.lower(), 0

    async def handle_RCPT(self, server, session, envelope, address, rcpt_options):
        if self.reject and address.lower() == self.reject:
            return f"550 5.1.1 <{address}>: mailbox unavailable"
        envelope.rcpt_tos.append(address)
        return "250 OK"

    async def handle_DATA(self, server, session, envelope):
        base = os.path.join(self.out_dir, str(self.count))
        self.count += 1
        pathlib.Path(base + ".eml").write_bytes(envelope.original_content)
        pathlib.Path(base + ".envelope.tmp").write_text("".join(
            [f"from {envelope.mail_from}\n", *(f"rcpt {r}\n" for r in envelope.rcpt_tos)]))
        if session.ssl is not None:
            pathlib.Path(base + ".tls").touch()
        os.replace(base + ".envelope.tmp", base + ".envelope")
        return "250 Message accepted"


def v6_listener(port):
    """The same port on ::1, or None where there is no IPv6 or the port is taken."""
    try:
        listener = socket.socket(socket.AF_INET6, socket.SOCK_STREAM)
        listener.bind(("::1", port))
        return listener
    except OSError:
        return None


async def main():
    parser = argparse.ArgumentParser()
    for option in ("--out", "--reject", "--tls-cert", "--tls-key", "--login", "--host"):
        parser.add_argument(option, default="")
    parser.add_argument("--lifetime", type=float, default=120.0)
    parser.add_argument("--offer-login", action="store_true")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--run", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    args.out = args.out or tempfile.mkdtemp(prefix="pesterly-sink-")

    loop = asyncio.get_running_loop()
    handler = Recorder(args.out, args.reject)
    host = args.host or "127.0.0.1"
    listener = socket.socket(socket.AF_INET6 if ":" in host else socket.AF_INET)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((host, args.port))
    def check_login(server, session, envelope, mechanism, auth_data):
        given = f"{auth_data.login.decode()}:{auth_data.password.decode()}"
        right = not args.login or given == args.login
        open(os.path.join(args.out, "login" if right else "login-refused"), "w").close()
        return AuthResult(success=right, handled=right)

    login = {}
    if args.offer_login or args.login:
        login = {"authenticator": check_login, "auth_require_tls": bool(args.tls_cert),
                 "auth_required": bool(args.login)}
    if args.tls_cert:
        context = ssl.create_default_context(ssl.Purpose.CLIENT_AUTH)
        context.load_cert_chain(args.tls_cert, args.tls_key)
        login.update(tls_context=context, require_starttls=True)
    port = listener.getsockname()[1]
    servers = [await loop.create_server(
        lambda: SMTP(handler, hostname="sink.test", decode_data=False, **login), sock=sock)
        for sock in (listener, v6_listener(port)) if sock]
    if args.run:
        env = {**os.environ, "PESTERLY_SMTP_PORT": str(port), "PESTERLY_SMTP_OUT": args.out}
        child = await asyncio.create_subprocess_exec(*args.run, env=env)
        status = await child.wait()
        [server.close() for server in servers]
        return status
    print(f"port {port}", flush=True)

    stop = loop.create_future()

    def on_input():
        if not os.read(sys.stdin.fileno(), 4096):
            loop.remove_reader(sys.stdin.fileno())
            stop.set_result(None)

    loop.add_reader(sys.stdin.fileno(), on_input)
    try:
        await asyncio.wait_for(stop, args.lifetime)
    except asyncio.TimeoutError:
        pass
    [server.close() for server in servers]


if __name__ == "__main__":
    sys.exit(asyncio.run(main()))
