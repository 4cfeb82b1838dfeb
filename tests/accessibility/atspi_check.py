#!/usr/bin/python3
"""Keyboard and screen reader check of the window, through AT-SPI.

  atspi_check.py DORVELIX [LANGUAGE...]      (run by atspi_check.sh)

For each language (ja and en unless named) it starts the program in a folder
tree it makes, drives it with keys alone and says what a screen reader
hears: the folder panel's figures reached by Tab from the folder list,
each with its caption and value, still holding the search's values; the
copy check's verdict and the cluster length comparison's advice heard as
they arrive, with their captions; the comparison's bars reached and named;
Tab and Shift+Tab leaving every tool window's table. Exits 0 when every
check holds, 1 with the list of failures otherwise.
"""

import os
import shutil
import sys
import tempfile
import time

import pyatspi

from atspi_chooser import ChooserKeys
from atspi_rig import (ANNOUNCEMENT, App, Ear, FOCUSED, find_all, has_state, key_binding, last_focus, name_of, press,
                       role_of, text_of, xdotool_key)

BLANK = ("", "-")


def make_tree(root):
    """A folder of one file and three subfolders (four folders below it,
    seven files in all), a target folder to copy to and a home."""
    files = {"top.txt": 5, "alpha/f1.bin": 5000, "alpha/f2.bin": 10000, "alpha/f3.bin": 15000,
             "alpha/deep/x.txt": 2, "beta/a.txt": 3, "gamma/big.dat": 70000}
    for path, size in files.items():
        full = os.path.join(root, "tree", path)
        os.makedirs(os.path.dirname(full), exist_ok=True)
        with open(full, "wb") as f:
            f.write(b"d" * size)
    for folder in ("target", "home"):
        os.makedirs(os.path.join(root, folder))


class Check(ChooserKeys):
    """The checks of one language, on one running program."""

    def __init__(self, app, ear, language):
        self.app, self.ear, self.language = app, ear, language
        self.failures = []
        self.started = time.monotonic()

    def say(self, line):
        print(f"[{self.language} {time.monotonic() - self.started:5.1f}] {line}", flush=True)

    def expect(self, holds, failure):
        if not holds:
            self.failures.append(f"{self.language}: {failure}")
            self.say("FAIL " + failure)
        return holds

    def key(self, key, want=lambda h: h.kind == FOCUSED, timeout=1.0, quiet=False):
        """Types key; returns the last focus heard after it (None if none)."""
        mark = self.ear.mark()
        press(key)
        heard = self.ear.wait(mark, want, timeout)
        if not quiet:
            self.say(f"  {key:10} -> " + ("; ".join(str(h) for h in heard) if heard else "(nothing heard)"))
        return last_focus(heard)

    def tab_until(self, want, limit=15, key="Tab"):
        """Types key until the focus heard is one want() accepts; gives up
        when two keys in a row are heard to move nothing."""
        unheard = 0
        for _ in range(limit):
            h = self.key(key)
            if h is not None and want(h):
                return h
            unheard = unheard + 1 if h is None else 0
            if unheard == 2:
                return None
        return None

    # The main window ------------------------------------------------------

    def panels(self):
        main = self.app.main_window()
        return main, find_all(main, lambda o: role_of(o) == "panel" and name_of(o))

    def folder_figures(self):
        """The value boxes inside the folder panel (the one holding the folder list)."""
        main, panels = self.panels()

        def box(o):
            e = o.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            return e.x, e.y, e.x + e.width, e.y + e.height

        def inside(o, p):
            a, b = box(o), box(p)
            return a[0] >= b[0] and a[1] >= b[1] and a[2] <= b[2] and a[3] <= b[3]

        tree = find_all(main, lambda o: role_of(o) == "tree")[0]
        panel = next(p for p in panels if inside(tree, p))
        return [o for o in find_all(main, lambda o: role_of(o) == "text") if inside(o, panel)], name_of(panel)

    def check_folder_figures(self):
        self.say("1. Tab from the folder list to the folder panel's figures, after a search")
        self.key("F5", timeout=1.0)
        figures, panel = self.folder_figures()
        end = time.monotonic() + 20
        while time.monotonic() < end and any(text_of(f).strip() in BLANK for f in figures):
            self.ear.pump(0.2)
        shown = {name_of(f): text_of(f) for f in figures}
        self.say(f"  the search's figures in {panel!r}: {shown}")
        if not self.expect(all(v.strip() not in BLANK for v in shown.values()), "the search left a folder figure blank"):
            return
        values = [v.strip() for v in shown.values()]
        self.expect(all(v in values for v in ("1", "4", "7")),
                    f"the folder figures are not the tree's (1 file, 4 folders, 7 files): {values}")
        # Round with Tab alone (a Shift press in the lists blanks the figures).
        self.expect(self.tab_until(lambda h: h.role == "tree", limit=40) is not None,
                    "Tab never reached the folder list")
        reached = {}
        for _ in range(40):
            h = self.key("Tab")
            if h is None or h.role == "tree":
                break
            if h.name in shown:
                reached[h.name] = h
            if len(reached) == len(shown):
                break
        for name, value in shown.items():
            h = reached.get(name)
            if not self.expect(h is not None, f"Tab from the folder list never reached the figure {name!r}"):
                continue
            self.expect(name.strip() not in BLANK and name != value, f"the figure {value!r} is heard without a caption")
            self.expect(h.text == value, f"{name!r} was heard as {h.text!r}, not the search's {value!r}")
        after = {name_of(f): text_of(f) for f in figures}
        self.expect(after == shown, f"the folder figures changed on the way: {after}")
        self.say(f"  heard {len(reached)} of {len(shown)} folder figures, values kept: {after == shown}")

    # The tool windows -----------------------------------------------------

    def open_tool(self, index):
        """Opens the tools menu's entry index by its keys; returns the name
        of the tool window that took the focus."""
        main = self.app.main_window()
        self.app.focus_window(name_of(main), self.ear)
        for menu in find_all(main, lambda o: role_of(o) == "menu item" and role_of(o.parent) == "menu bar"):
            items = find_all(menu, lambda o: role_of(o) == "menu item" and o is not menu)
            if any(key_binding(i) == "F5" for i in items):
                self.key(xdotool_key(key_binding(menu)))
                letter = key_binding(items[index]).split("+")[-1].lower()
                h = self.key(letter, want=lambda h: h.kind == FOCUSED and h.window != name_of(main), timeout=5.0)
                self.expect(h is not None and h.window != name_of(main),
                            f"the tools menu entry {name_of(items[index])!r} opened no window that took the focus")
                return h.window if h is not None else ""
        self.expect(False, "no tools menu (the menu with F5) in the menu bar")
        return ""

    def close_tool(self):
        self.key("Escape", timeout=0.5)

    def walk_buttons(self, window):
        """The examine button: the one before the stop button, which is off until a walk runs."""
        buttons = find_all(self.app.window(window), lambda o: role_of(o) == "push button")
        for before, after in zip(buttons, buttons[1:]):
            if not has_state(after, pyatspi.STATE_SENSITIVE):
                return before, buttons
        return None, buttons

    def answer_heard(self, window, examine, what):
        """Reaches the examine button by Tab, presses it with the space bar and
        returns the answer heard as it arrives: an announcement, or the focus
        on a read-only text (the focus the walk's end moves on to the next
        control, a field or the table, is not the answer)."""
        h = self.tab_until(lambda h: h.role == "push button" and h.name == name_of(examine))
        if not self.expect(h is not None, f"Tab never reached {name_of(examine)!r} in {window!r}"):
            return None

        def answer(h):
            return h.window == window and (h.kind == ANNOUNCEMENT or (
                h.read_only and h.role not in ("table", "table cell", "push button")))

        mark = self.ear.mark()
        self.key("space", want=answer, timeout=30.0)
        heard = [h for h in self.ear.since(mark) if answer(h)]
        self.expect(heard, f"{what}: nothing was heard when it arrived")
        return heard[0] if heard else None

    def table_lets_tab_out(self, window, table):
        def in_table(h):
            return h is not None and ((h.role == "table" and h.name == table)
                                      or (h.parent_role == "table" and h.parent_name == table))

        def left(h):
            return h is not None and not in_table(h)

        self.say(f"  table {table!r} of {window!r}:")
        if not in_table(last_focus(self.ear.heard)) and not self.expect(
                self.tab_until(in_table, limit=20) is not None, f"Tab never reached the table {table!r}"):
            return

        if not self.expect(left(self.key("Tab")), f"Tab does not leave the table {table!r} of {window!r}"):
            return
        self.expect(in_table(self.key("shift+Tab")), f"Shift+Tab does not come back to the table {table!r}")
        self.expect(left(self.key("shift+Tab")), f"Shift+Tab does not leave the table {table!r} of {window!r}")

    def tables_of(self, window):
        return [name_of(t) for t in find_all(self.app.window(window), lambda o: role_of(o) == "table")
                if has_state(t, pyatspi.STATE_SHOWING)]

    def check_copy_check(self, target):
        self.say("2. Copy check: the verdict heard as it arrives")
        window = self.open_tool(1)
        examine, buttons = self.walk_buttons(window)
        if not self.expect(examine is not None, f"no examine button in {window!r}"):
            return
        choose = next((b for b in buttons if key_binding(b)), None)
        if self.expect(choose is not None, f"no folder chooser button with a key in {window!r}"):
            self.key(xdotool_key(key_binding(choose)), timeout=3.0)
            if self.choose_folder(target):
                self.app.focus_window(window, self.ear)
                combo = find_all(self.app.window(window), lambda o: role_of(o) == "combo box")
                self.say(f"  target: {[name_of(c) for c in combo]}")
        answer = self.answer_heard(window, examine, "the copy check's verdict")
        if answer is not None:
            self.say(f"  verdict heard: {answer}")
            self.expect(answer.captions or answer.kind == ANNOUNCEMENT, f"the verdict was heard without its caption: {answer}")
            self.expect(any(v in answer.said() for v in self.verdicts),
                        f"the verdict heard, {answer.said()!r}, is none of {self.verdicts}")
        for table in self.tables_of(window):
            self.table_lets_tab_out(window, table)
        self.close_tool()

    def check_lengths(self):
        self.say("3. Cluster length comparison: the advice heard as it arrives; 5. its chart's bars")
        window = self.open_tool(2)
        examine, _ = self.walk_buttons(window)
        if not self.expect(examine is not None, f"no examine button in {window!r}"):
            return
        answer = self.answer_heard(window, examine, "the length comparison's advice")
        if answer is not None:
            self.say(f"  advice heard: {answer}")
            self.expect((answer.captions or answer.kind == ANNOUNCEMENT) and answer.said() not in answer.captions
                        and "mkfs" in answer.said(), f"the advice was heard without its commands or caption: {answer}")
            first = self.key("Tab")
            chart = first.parent_name if first is not None else ""
            if self.expect(first is not None and first.name and any(c.isdigit() for c in first.name)
                           and first.role == "image", f"Tab from the advice reached no named bar (a picture): {first}"):
                nxt = self.key("Right")
                self.expect(nxt is not None and nxt.parent_name == chart and nxt.name != first.name,
                            f"Right from the bar {first.name!r} reached no other bar: {nxt}")
                back = self.key("Left")
                self.expect(back is not None and back.name == first.name,
                            f"Left did not come back to the bar {first.name!r}: {back}")
                self.say(f"  bars in {chart!r}: {first.name!r}, then {nxt.name if nxt else None!r}")
        for table in self.tables_of(window):
            self.table_lets_tab_out(window, table)
        self.close_tool()

    def check_breakdown(self, scans):
        self.say("4. Breakdown, saved scan comparison and search log: Tab leaves every table")
        window = self.open_tool(0)
        for table in self.tables_of(window):
            self.table_lets_tab_out(window, table)
        keyed = [b for b in find_all(self.app.window(window), lambda o: role_of(o) == "push button") if key_binding(b)]
        # Its keyed buttons: search this folder, save, compare with a saved scan, CSV.
        if not self.expect(len(keyed) >= 3, f"{window!r} has not its save and compare buttons: {[name_of(b) for b in keyed]}"):
            return
        save, compare = keyed[1], keyed[2]
        self.key(xdotool_key(key_binding(save)), timeout=3.0)
        if not self.save_or_open(scans, "scan"):
            return
        saved = os.listdir(scans)
        if not self.expect(saved, f"{name_of(save)!r} saved nothing in {scans}"):
            return
        self.app.focus_window(window, self.ear)
        self.key(xdotool_key(key_binding(compare)), timeout=3.0)
        self.save_or_open(scans, saved[0])
        comparison = next((w for w in self.app.accessible if role_of(w) == "dialog"
                           and has_state(w, pyatspi.STATE_SHOWING) and name_of(w) != window
                           and find_all(w, lambda o: role_of(o) == "table")), None)
        if self.expect(comparison is not None, "comparing with the saved scan opened no window with a table"):
            self.app.focus_window(name_of(comparison), self.ear)
            for table in self.tables_of(name_of(comparison)):
                self.table_lets_tab_out(name_of(comparison), table)
            self.close_tool()
        self.app.focus_window(window, self.ear)
        self.close_tool()
        log = self.open_tool(3)
        for table in self.tables_of(log):
            self.table_lets_tab_out(log, table)
        self.close_tool()


def verdicts(language, source):
    """The copy check's two verdicts as the program words them in language."""
    japanese = ["入ります", "入りません"]
    if language == "ja":
        return japanese
    import xml.etree.ElementTree as ElementTree
    messages = ElementTree.parse(os.path.join(source, "translations", "dorvelix_en.ts")).getroot().iter("message")
    english = {m.findtext("source"): m.findtext("translation") for m in messages}
    return [english.get(v, v) for v in japanese]


def check_language(program, language, root, source):
    ear = Ear()
    app = App(program, language, os.path.join(root, "tree"), os.path.join(root, "home"))
    check = Check(app, ear, language)
    check.verdicts = verdicts(language, source)
    scans = os.path.join(root, "scans-" + language)  # each language saves its own scan
    os.makedirs(scans)
    started = time.monotonic()
    try:
        app.wait_for_window(ear)
        check.say(f"window {name_of(app.main_window())!r}")
        app.focus_window(name_of(app.main_window()), ear)
        for step in (check.check_folder_figures, lambda: check.check_copy_check(os.path.join(root, "target")),
                     check.check_lengths, lambda: check.check_breakdown(scans)):
            try:
                step()
            except Exception as e:  # one check's fault leaves the others to run
                check.expect(False, f"{type(e).__name__}: {e}")
                for _ in range(3):
                    press("Escape")
    except Exception as e:
        check.expect(False, f"{type(e).__name__}: {e}")
    finally:
        app.stop()
    check.say(f"done in {time.monotonic() - started:.1f} s, {len(check.failures)} failure(s)")
    return check.failures


def main():
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    program = os.path.abspath(sys.argv[1])
    languages = sys.argv[2:] or ["ja", "en"]
    source = os.path.abspath(os.environ.get("DORVELIX_SOURCE", os.path.join(os.path.dirname(__file__), "..", "..")))
    root = tempfile.mkdtemp(prefix="dorvelix-atspi-")
    failures = []
    try:
        make_tree(root)
        for language in languages:
            failures += check_language(program, language, root, source)
    finally:
        shutil.rmtree(root, ignore_errors=True)
    if failures:
        print(f"\n{len(failures)} failure(s):\n  " + "\n  ".join(failures))
        return 1
    print("\nevery check holds")
    return 0


if __name__ == "__main__":
    sys.exit(main())
