"""What a screen reader hears of the window, through the AT-SPI bus.

The program runs in the X display and D-Bus session the caller made
(atspi_check.sh); keys are typed with xdotool as a user types them, and the
focus events (and announcements) the program sends are heard here as a
screen reader hears them: the focused object's role, name, text and the
caption it is labelled by.

There is no window manager in the display: when a window that had the focus
closes, the X focus goes nowhere, where a window manager would give it to
the window below. The rig does that part (focus_window), naming the window.
"""

import os
import subprocess
import time

import pyatspi
from gi.repository import GLib

FOCUSED = "object:state-changed:focused"
ANNOUNCEMENT = "object:announcement"
TOP_LEVEL_ROLES = ("frame", "dialog", "window")


def role_of(o):
    try:
        return o.getRoleName()
    except Exception:
        return ""


def name_of(o):
    try:
        return o.name or ""
    except Exception:
        return ""


def text_of(o):
    """The object's text, for the objects that have one (a value box)."""
    try:
        t = o.queryText()
        return t.getText(0, t.characterCount)
    except Exception:
        return ""


def captions_of(o):
    """The names of the objects o is labelled by."""
    names = []
    try:
        for r in o.getRelationSet():
            if r.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                names += [name_of(r.getTarget(i)) for i in range(r.getNTargets())]
    except Exception:
        pass
    return [n for n in names if n]


def has_state(o, state):
    try:
        return o.getState().contains(state)
    except Exception:
        return False


def key_binding(o):
    """The key an object's first action is bound to ("Alt+T", "F5"), or ""."""
    try:
        a = o.queryAction()
        return a.getKeyBinding(0) if a.nActions else ""
    except Exception:
        return ""


def top_level(o):
    for _ in range(40):
        if o is None or role_of(o) in TOP_LEVEL_ROLES:
            return o
        try:
            o = o.parent
        except Exception:
            return None
    return None


def find_all(root, want, depth=14):
    """Every object below root, in tree order, for which want(o) holds."""
    found = []

    def walk(o, d):
        if want(o):
            found.append(o)
        if d >= depth:
            return
        try:
            children = list(o)
        except Exception:
            return
        for c in children:
            if c is not None:
                walk(c, d + 1)

    walk(root, 0)
    return found


class Heard:
    """One focus event or announcement, as a screen reader gets it."""

    def __init__(self, kind, source, announced=""):
        self.kind = kind
        self.obj = source
        self.role = role_of(source)
        self.name = name_of(source)
        self.text = announced or text_of(source)
        self.captions = captions_of(source)
        self.read_only = has_state(source, pyatspi.STATE_READ_ONLY)
        parent = None
        try:
            parent = source.parent
        except Exception:
            pass
        self.parent_role = role_of(parent) if parent is not None else ""
        self.parent_name = name_of(parent) if parent is not None else ""
        self.window = name_of(top_level(source))

    def said(self):
        """What is said: the announcement, or the name of what took the focus."""
        return self.text if self.kind == ANNOUNCEMENT else self.name

    def __str__(self):
        said = f"[{self.role}] {self.name!r}"
        if self.text and self.text != self.name:
            said += f" text {self.text!r}"
        if self.captions:
            said += f" labelled by {' / '.join(self.captions)!r}"
        if self.kind == ANNOUNCEMENT:
            said = "announced " + said
        return said


class Ear:
    """Listens to the focus events and announcements on the bus."""

    def __init__(self):
        self.heard = []
        self._context = GLib.MainContext.default()
        pyatspi.Registry.registerEventListener(self._on_event, FOCUSED, ANNOUNCEMENT)

    def _on_event(self, event):
        try:
            if event.type.startswith(FOCUSED):
                if event.detail1:
                    self.heard.append(Heard(FOCUSED, event.source))
            elif event.type.startswith(ANNOUNCEMENT):
                said = event.any_data if isinstance(event.any_data, str) else ""
                self.heard.append(Heard(ANNOUNCEMENT, event.source, said))
        except Exception:
            pass  # an object gone before it was asked about

    def pump(self, seconds):
        end = time.monotonic() + seconds
        while True:
            while self._context.pending():
                self._context.iteration(False)
            if time.monotonic() >= end:
                return
            time.sleep(0.01)

    def mark(self):
        return len(self.heard)

    def since(self, mark):
        return self.heard[mark:]

    def wait(self, mark, want=lambda h: True, timeout=3.0, settle=0.1):
        """Heard after mark: waits until something want() accepts is heard
        (or timeout), then a moment more for what follows it."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            self.pump(0.03)
            if any(want(h) for h in self.since(mark)):
                break
        self.pump(settle)
        return self.since(mark)


def last_focus(heard):
    focus = [h for h in heard if h.kind == FOCUSED]
    return focus[-1] if focus else None


def xdotool(*args, capture=False):
    done = subprocess.run(["xdotool", *args], capture_output=True, text=True, timeout=20)
    return done.stdout if capture else None


def press(key):
    xdotool("key", "--delay", "40", key)


def type_text(text):
    xdotool("type", "--delay", "15", text)


def xdotool_key(binding):
    """"Alt+T" as xdotool writes it: "alt+t"."""
    parts = binding.split("+")
    return "+".join(p.lower() if len(p) == 1 or p in ("Alt", "Ctrl", "Shift") else p for p in parts)


class App:
    """The program, started with its language and working folder."""

    def __init__(self, program, language, folder, home):
        env = dict(os.environ)
        env.update({
            "LANGUAGE": language,
            "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1",
            "HOME": home,
            "XDG_CONFIG_HOME": os.path.join(home, ".config"),
        })
        env.pop("QT_QPA_PLATFORM", None)
        self.log = open(os.path.join(home, f"dorvelix-{language}.log"), "w")
        self.process = subprocess.Popen([program], cwd=folder, env=env, stdout=self.log, stderr=self.log)
        self.accessible = None

    def wait_for_window(self, ear, timeout=30.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if self.process.poll() is not None:
                raise RuntimeError(f"the program ended with status {self.process.returncode}")
            desktop = pyatspi.Registry.getDesktop(0)
            for a in desktop:
                try:
                    if a is not None and a.get_process_id() == self.process.pid and self.main_window(a):
                        self.accessible = a
                        return
                except Exception:
                    pass
            ear.pump(0.2)
        raise RuntimeError("the program's window did not appear on the accessibility bus")

    def main_window(self, accessible=None):
        for w in accessible or self.accessible:
            if w is not None and role_of(w) == "frame":
                return w
        return None

    def window(self, name):
        for w in self.accessible:
            if w is not None and name_of(w) == name and has_state(w, pyatspi.STATE_SHOWING):
                return w
        return None

    def focus_window(self, name, ear):
        """Gives the X focus to the program's window titled name, as a
        window manager does when the window above it closes."""
        for _ in range(20):
            for wid in xdotool("search", "--onlyvisible", "--pid", str(self.process.pid), capture=True).split():
                if xdotool("getwindowname", wid, capture=True).rstrip("\n") == name:
                    mark = ear.mark()
                    xdotool("windowfocus", "--sync", wid)
                    ear.wait(mark, timeout=1.0)
                    return True
            ear.pump(0.2)
        return False

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(5)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self.log.close()
