"""A real X desktop for end-to-end tests: an Xvfb server, the Pesterly program started on it
with its own settings folder, and the means to look at and close its windows."""

import os
import shutil
import subprocess
import tempfile
import time

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


class Xvfb:
    def __init__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x800x24",
             "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.name = f":{number}"
        self.x = xdisplay.Display(self.name)

    def stop(self):
        self.x.close()
        self.process.terminate()
        self.process.wait(timeout=10)


class Pesterly:
    """The program under test, with a private HOME and XDG_CONFIG_HOME."""

    def __init__(self, binary, screen, settings_text=None, args=(), extra_env=None):
        self.home = tempfile.mkdtemp(prefix="pesterly-e2e-")
        self.config = os.path.join(self.home, "config")
        self.ini = os.path.join(self.config, "Pesterly", "Pesterly.ini")
        if settings_text is not None:
            os.makedirs(os.path.dirname(self.ini))
            with open(self.ini, "w", encoding="utf-8") as f:
                f.write(settings_text)
        env = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}
        env.update(DISPLAY=screen.name, HOME=self.home, XDG_CONFIG_HOME=self.config,
                   LANG="C.UTF-8", LC_ALL="C.UTF-8")
        env.update(extra_env or {})
        self.screen = screen
        self.process = subprocess.Popen([binary, *args], env=env, stdout=subprocess.PIPE,
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
            if pid is None or pid.value[0] != self.process.pid:
                continue
            if title is None or name == title:
                found.append(window)
        return found

    def wait_window(self, title, timeout=20.0):
        return wait_for(lambda: self.windows(title), timeout, f"window {title!r}")[0]

    def close_window(self, window):
        """What a window manager sends when the user clicks the close box."""
        x = self.screen.x
        event = protocol.event.ClientMessage(
            window=window, client_type=x.intern_atom("WM_PROTOCOLS"),
            data=(32, [x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]))
        window.send_event(event)
        x.flush()

    def screenshot(self, window, path):
        subprocess.run(["import", "-display", self.screen.name, "-window", str(window.id), path],
                       check=True)

    def wait_exit(self, timeout=20.0):
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.process.kill()
            raise

    def output(self):
        return self.process.stdout.read().decode(errors="replace") if self.process.stdout else ""

    def settings(self):
        return read_ini(self.ini)

    def cleanup(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()
        shutil.rmtree(self.home, ignore_errors=True)


def unquote(value):
    """A value as the settings file stores it: quoted when it has blanks at its ends or
    special characters, with backslash escapes."""
    value = value.strip()
    out = []
    i = 0
    in_quotes = False
    while i < len(value):
        c = value[i]
        if c == '"':
            in_quotes = not in_quotes
        elif c == "\\" and i + 1 < len(value):
            i += 1
            out.append({"n": "\n", "r": "\r", "t": "\t"}.get(value[i], value[i]))
        else:
            out.append(c)
        i += 1
    return "".join(out)


def read_ini(path):
    """{section: {key: value}} with names as written in the file."""
    sections = {}
    current = None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1], {})
            elif "=" in line and current is not None:
                key, value = line.split("=", 1)
                current[key.strip()] = unquote(value)
    return sections
