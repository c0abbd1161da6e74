#!/usr/bin/python3
"""Starts the real Pesterly on hostile settings files under Xvfb and counts what goes wrong.

Each generated file is put in a private settings folder; the program is started on it, any
start-up message is answered with Return, the main window is awaited, and the program is ended
by SIGTERM, as at logout. Afterwards every event description a person can read in the file
before the run must still be in the folder's settings file (or in the ".unsaved" file beside
one that could not be read), with the same text.

    tools/attack-settings.py [path/to/pesterly]      (default: build/src/pesterly)
"""

import os
import random
import shutil
import signal
import string
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))
from desktop import Pesterly, Xvfb  # noqa: E402

NAMED = {"\a": "\\a", "\b": "\\b", "\f": "\\f", "\n": "\\n", "\r": "\\r", "\t": "\\t",
         "\v": "\\v", '"': '\\"', "\\": "\\\\"}
UNNAMED = {v[1]: k for k, v in NAMED.items()}
HEX = "0123456789abcdefABCDEF"


def written_form(text):
    """How the program writes a value (Qt's INI form)."""
    wrapped = "\0" in text
    if wrapped:
        text = "@String(" + text + ")"
    out = "@" if text.startswith("@") and not wrapped else ""
    quotes = escape_next = False
    for ch in text:
        if ch in ";,=":
            quotes = True
        if escape_next and ch in HEX:
            out += "\\x%x" % ord(ch)
            continue
        escape_next = False
        if ch == "\0":
            out += "\\0"
            escape_next = True
        elif ch in NAMED:
            out += NAMED[ch]
        elif ord(ch) <= 0x1F:
            out += "\\x%x" % ord(ch)
            escape_next = True
        else:
            out += ch
    if quotes or out.startswith(" ") or out.endswith(" "):
        out = '"' + out + '"'
    return out


def from_written_form(text):
    body = text[1:-1] if len(text) >= 2 and text[0] == text[-1] == '"' else text
    out, i = [], 0
    while i < len(body):
        ch = body[i]
        if ch == '"':
            return None
        if ch != "\\":
            out.append(ch)
            i += 1
            continue
        i += 1
        if i == len(body):
            return None
        e = body[i]
        if e in UNNAMED:
            out.append(UNNAMED[e])
            i += 1
        elif e == "x" or e in "01234567":
            digits, base = (HEX, 16) if e == "x" else ("01234567", 8)
            j = i + 1 if e == "x" else i
            k = j
            while k < len(body) and body[k] in digits and k - j < 8:
                k += 1
            if k == j or int(body[j:k], base) > 0xFFFF:
                return None
            out.append(chr(int(body[j:k], base)))
            i = k
        else:
            return None
    value = "".join(out)
    if value.startswith("@String(") and value.endswith(")"):
        value = value[8:-1]
    elif value.startswith("@"):
        if not value.startswith("@@"):
            return None
        value = value[1:]
    written = written_form(value)
    return value if written == text or (len(body) + 2 == len(text) and written == body) else None


def decode_line(raw):
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError:
        return "".join(chr(b) if b in (0x81, 0x8D, 0x8F, 0x90, 0x9D) else
                       bytes([b]).decode("cp1252") for b in raw)


def readable_descriptions(data):
    """The event descriptions a person reads in the file: every EDesc line of [Events]."""
    found = []
    section = None
    if data.startswith(b"\xef\xbb\xbf"):
        data = data[3:]
    for raw in data.replace(b"\r\n", b"\n").replace(b"\r", b"\n").split(b"\n"):
        line = decode_line(raw).lstrip(" \t")
        if line.startswith("["):
            section = line[1:line.find("]")].strip().lower() if "]" in line else None
        elif "=" in line and section == "events":
            key, value = line.split("=", 1)
            if key.strip().lower().startswith("edesc"):
                value = value.strip(" \t")
                decoded = from_written_form(value)
                text = (decoded if decoded is not None else value).strip(" ")
                if text:
                    found.append(text)
    return found


def events(descriptions, count=None, extra=""):
    count = len(descriptions) if count is None else count
    lines = [f'[Events]\nEventCount="{count}"']
    for n, desc in enumerate(descriptions):
        lines.append(f"EDate{n}=3/14/2026\nERepeat{n}=0\nEDesc{n}={desc}\nEDone{n}=3/1/2026")
    return ("\n".join(lines) + "\n" + extra + "[Options]\nCheckDate=12/31/2099\n").encode()


def nested_variant(levels):
    return "@Variant(" + "\\0\\0\\0\\t\\0\\0\\0\\x1" * levels + ")"


def cases():
    rnd = random.Random(13)
    yield "stray quote", events(['Order 12" pizza', "Dentist", "Bins"])
    yield "stray quote", events(['"Unclosed', "After it", "And after"])
    yield "stray quote", events(['He said "hi" twice', 'ends with"', '"'])
    yield "semicolon", events(["Call Bob; bring the contract", "a;b;c", "; not a comment"])
    yield "comma", events(["Gas,Wasser", "Milk, eggs, bread", ",leading"])
    yield "equals sign", events(["a=b", "x == y", "=start"])
    yield "Windows-1252", b"[Events]\nEventCount=2\nEDesc0=Caf\xe9 \x80 5\nEDesc1=Stra\xdfe\n"
    yield "Windows-1252", b"[Events]\nEventCount=1\nEDesc0=M\xfcller \x93quoted\x94\n"
    for where in ("[Events]\nEDesc9=", "[Junk]\nx="):
        yield "nested @Variant", events(["Before", "After"], extra=where + nested_variant(40000)
                                        + "\n")
    yield "nested @Variant", events([nested_variant(1000), "@ByteArray(abc)", "@Invalid()"])
    yield "damaged lines", events(["Kept one", "Kept two"],
                                  extra="this line has no equals sign\n")
    yield "damaged lines", b"[Events\nEventCount=1\nEDesc0=Under a broken header\n"
    yield "line ends", events(["CRLF one", "CRLF two"]).replace(b"\n", b"\r\n")
    yield "line ends", events(["CR one", "CR two"]).replace(b"\n", b"\r")
    yield "line ends", b"\xef\xbb\xbf" + events(["\tTabbed\t", "  padded  "])
    yield "huge", events(["x" * 1_000_000, "Small after huge"])
    yield "huge", events(["Many keys"], extra="".join(f"Junk{n}=v{n}\n" for n in range(5000)))
    yield "control bytes", events(["NUL\0inside", "bell\a and \x01"])
    yield "backslashes", events(["trailing\\", "C:\\temp\\new", "50\\% off", "\\q unknown"])
    yield "twins", b"[Events]\nEventCount=1\nEDesc0=first\nedesc0=second\n[events]\nEDESC0=third\n"
    for count in ("99999", "-5", "abc", "1e400", " 2.7"):
        yield "counts", events(["One", "Two", "Three"], count=count)
    yield "written by the program", events([written_form(t) for t in
                                            ["  padded  ", "a;b", "Say \"hi\"", "two\nlines",
                                             "@home", "tab\there", "NUL\0x"]])
    for _ in range(6):
        yield "random bytes", bytes(rnd.randrange(256) for _ in range(rnd.randrange(1, 4000)))
    for _ in range(4):
        yield "random text", "".join(rnd.choice(string.printable + "[]=;\"\\@")
                                     for _ in range(2000)).encode()
    yield "not a file", "fifo"
    yield "not a file", "folder"


def window_type(program, window):
    x = program.screen.x
    prop = window.get_full_property(x.intern_atom("_NET_WM_WINDOW_TYPE"), 0)
    names = [x.get_atom_name(a) for a in (prop.value if prop else [])]
    return "dialog" if any("DIALOG" in n for n in names) else "normal"


def attack(binary, screen, name, content):
    config = tempfile.mkdtemp(prefix="pesterly-attack-")
    ini = os.path.join(config, "Pesterly", "Pesterly.ini")
    os.makedirs(os.path.dirname(ini))
    if content == "fifo":
        os.mkfifo(ini)
    elif content == "folder":
        os.mkdir(ini)
    else:
        with open(ini, "wb") as f:
            f.write(content)
    before = readable_descriptions(content) if isinstance(content, bytes) else []
    program = Pesterly(binary, screen, extra_env={"XDG_CONFIG_HOME": config})
    result = {"crash": 0, "hang": 0, "notices": 0, "events": len(before), "lost": 0}
    try:
        deadline = time.monotonic() + 20
        main_shown = False
        while time.monotonic() < deadline and program.process.poll() is None:
            shown = program.windows("Pesterly")
            if not shown:
                time.sleep(0.05)
                continue
            if window_type(program, shown[0]) == "dialog":
                result["notices"] += 1
                program.keys(shown[0], "Return")
                time.sleep(0.3)
                continue
            main_shown = True
            break
        if program.process.poll() is None:
            program.process.send_signal(signal.SIGTERM)
        try:
            code = program.process.wait(timeout=15)
            if code != 0:
                result["crash"] = 1
        except subprocess.TimeoutExpired:
            result["hang"] = 1
        if not main_shown and not result["crash"]:
            result["hang"] = 1
        after = []
        for path in (ini, ini + ".unsaved"):
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    after += readable_descriptions(f.read())
        result["lost"] = sum(1 for d in before if d not in after)
        if result["lost"] or result["crash"] or result["hang"]:
            print(f"  {name}: {result} {program.output()[:300]!r}", file=sys.stderr)
    finally:
        program.cleanup()
        shutil.rmtree(config, ignore_errors=True)
    return result


def main():
    binary = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, "..", "build", "src",
                                                                 "pesterly")
    screen = Xvfb()
    totals = {}
    try:
        for name, content in cases():
            result = attack(binary, screen, name, content)
            row = totals.setdefault(name, {"cases": 0, "crash": 0, "hang": 0, "notices": 0,
                                           "events": 0, "lost": 0})
            row["cases"] += 1
            for key, value in result.items():
                row[key] += value
    finally:
        screen.stop()
    print("| Class | Cases | Crashes | Hangs | Notices | Events in the files | Events lost |")
    print("| --- | ---: | ---: | ---: | ---: | ---: | ---: |")
    total = {k: 0 for k in ("cases", "crash", "hang", "notices", "events", "lost")}
    for name, row in totals.items():
        print(f"| {name} | {row['cases']} | {row['crash']} | {row['hang']} | {row['notices']} | "
              f"{row['events']} | {row['lost']} |")
        for key in total:
            total[key] += row[key]
    print(f"| All | {total['cases']} | {total['crash']} | {total['hang']} | {total['notices']} | "
          f"{total['events']} | {total['lost']} |")
    return 1 if total["crash"] or total["hang"] or total["lost"] else 0


if __name__ == "__main__":
    sys.exit(main())
