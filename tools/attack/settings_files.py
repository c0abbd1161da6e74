"""Settings files: the program started on hostile settings files.

Each file is put in a private settings folder; the program is started on it, any start-up
message is answered with Return, and it is ended by SIGTERM, as at logout. Afterwards every
event description a person can read in the file before the run must still be in the folder's
settings file (or in the ".unsaved" file beside one that could not be read), with the same
text. A file whose event count cannot be read gets an event imported before the end: then
every event of the file must be in the table that was saved (or, past 101 events, in the
".damaged" copy), and the start must have said so.
"""

import os
import random
import string

from common import Case, Program, make_home, remove

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


def event_lines(data):
    """(key in lower case, text) of every line of [Events] a person reads in the file."""
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
            value = value.strip(" \t")
            decoded = from_written_form(value)
            found.append((key.strip().lower(), (decoded if decoded is not None else value)
                          .strip(" ")))
    return found


def readable_descriptions(data):
    """The event descriptions a person reads in the file: every EDesc line of [Events]."""
    return [text for key, text in event_lines(data) if key.startswith("edesc") and text]


def table(data):
    """The descriptions of the events the program shows for a file it wrote itself."""
    lines = dict(reversed(event_lines(data)))
    count = int(lines.get("eventcount", "0").strip() or "0")
    return [lines.get(f"edesc{n}", "") for n in range(count)]


def events(descriptions, count=None, extra=""):
    count = len(descriptions) if count is None else count
    lines = ["[Events]"] + ([] if count == "missing" else [f'EventCount="{count}"'])
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



def count_cases():
    """(name, file, descriptions the table must show, descriptions it must not show)."""
    three = ["Dentist", "Put the bins out", "Gas bill"]
    for count in ("abc", "-1", "NaN", "3,0", "missing"):
        yield f"count {count}", events(three, count=count), three, []
    yield "count 2 of 3 slots", events(three, count=2), three[:2], three[2:]
    many = [f"Event number {n}" for n in range(105)]
    yield "count abc, 105 slots", events(many, count="abc"), many, []


def attack(suite, case, content):
    home = make_home()
    ini = os.path.join(home, "config", "Pesterly", "Pesterly.ini")
    os.makedirs(os.path.dirname(ini))
    if content == "fifo":
        os.mkfifo(ini)
    elif content == "folder":
        os.mkdir(ini)
    else:
        with open(ini, "wb") as f:
            f.write(content)
    before = readable_descriptions(content) if isinstance(content, bytes) else []
    program = Program(suite, home)
    try:
        program.settle(case)
        program.finish(case)
        after = []
        for path in (ini, ini + ".unsaved"):
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    after += readable_descriptions(f.read())
        lost = [d for d in before if d not in after]
        case.check(not lost, "lost", f"{len(lost)} of {len(before)} events: {lost[:3]!r}")
    finally:
        program.cleanup()
        remove(home)


def attack_count(suite, case, content, shown, hidden):
    """The file, one event imported, the end; then what the saved table shows."""
    home = make_home()
    ini = os.path.join(home, "config", "Pesterly", "Pesterly.ini")
    exchange = os.path.join(home, "one.Pesterly")
    with open(exchange, "w", encoding="utf-8") as f:
        f.write('1\n#2026-03-14#,0,"Imported event",#2026-03-01#,#FALSE#,"",0,""\n')
    program = Program(suite, home, settings=content)
    try:
        program.settle(case)
        notices = case.notices
        program.import_file(case, exchange)
        program.finish(case)
        with open(ini, "rb") as f:
            saved = table(f.read())
        kept = saved[:]
        if os.path.isfile(ini + ".damaged"):
            with open(ini + ".damaged", "rb") as f:
                kept += readable_descriptions(f.read())
        lost = [d for d in shown if d not in (saved if len(shown) <= 101 else kept)]
        case.check(not lost, "lost", f"{len(lost)} of {len(shown)} events not in the table: "
                   f"{lost[:3]!r}; the table: {saved[:4]!r}")
        case.check(len(saved) == 101 or "Imported event" in saved, "lost",
                   "the imported event is not in the table")
        case.check(not [d for d in hidden if d in saved], "other",
                   f"an event past the count came back: {hidden!r}")
        case.check(notices > 0 or hidden, "other", "the count was not read, and no word of it")
    except ValueError as error:
        case.fault("other", f"the saved file is not the program's own: {error}")
    finally:
        program.cleanup()
        remove(home)


def run(suite):
    every = suite.scaled(4, 1, 1)
    for number, (name, content) in enumerate(cases()):
        if number % every == 0:
            case = Case(name)
            attack(suite, case, content)
            yield case
    for name, content, shown, hidden in count_cases():
        case = Case(name)
        attack_count(suite, case, content, shown, hidden)
        yield case
