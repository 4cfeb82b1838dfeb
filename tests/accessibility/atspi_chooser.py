"""The program's own file chooser, driven by its keys as a user drives it.

A mixin of the check: it needs self.app, self.ear, self.key, self.tab_until
and self.expect.
"""

import time

from atspi_rig import find_all, key_binding, last_focus, role_of, text_of, type_text, xdotool_key


class ChooserKeys:
    """Goes to a folder in the chooser that has the focus, and chooses it or
    a file there."""

    def wait_for_place(self, place, folder):
        end = time.monotonic() + 10
        while time.monotonic() < end and text_of(place) != folder:
            self.ear.pump(0.1)
        self.ear.pump(0.3)
        return self.expect(text_of(place) == folder, f"the file chooser did not go to {folder}: {text_of(place)!r}")

    def chooser_closed(self, chooser):
        end = time.monotonic() + 5
        while time.monotonic() < end and self.app.window(chooser) is not None:
            self.ear.pump(0.1)
        return self.expect(self.app.window(chooser) is None, f"{chooser!r} did not close")

    def choose_folder(self, folder):
        """In the program's folder chooser, which has the focus on its list:
        goes down to folder by typing each name and Enter, then chooses it
        by the key of its choose button. (Enter in its place field would
        choose the folder shown before the one typed: the field's Enter
        presses the dialog's default button too.)"""
        chooser = last_focus(self.ear.heard).window
        window = self.app.window(chooser)
        place = find_all(window, lambda o: role_of(o) == "text")[0]
        self.wait_for_place(place, text_of(place))
        shown = text_of(place).rstrip("/")
        if not self.expect(folder.startswith(shown + "/"), f"{chooser!r} opened at {shown!r}, not above {folder}"):
            return False
        for name in folder[len(shown) + 1:].split("/"):
            type_text(name)
            self.key("Return", timeout=0.5)
            shown += "/" + name
            if not self.wait_for_place(place, shown):
                return False
        # Its keyed buttons: up, home, then the one that chooses.
        keyed = [b for b in find_all(window, lambda o: role_of(o) == "push button") if key_binding(b)]
        if not self.expect(keyed, f"{chooser!r} has no button with a key"):
            return False
        self.key(xdotool_key(key_binding(keyed[-1])), timeout=2.0)
        return self.chooser_closed(chooser)

    def save_or_open(self, folder, name):
        """In the program's save or open dialog: goes to folder by typing
        it in the place field, then gives the file's name."""
        chooser = last_focus(self.ear.heard).window
        place = self.tab_until(lambda h: h.role == "text" and h.text.startswith("/"), limit=12)
        if not self.expect(place is not None, f"Tab never reached the place field of {chooser!r}"):
            return False
        self.key("ctrl+a", timeout=0.3, quiet=True)
        type_text(folder)
        self.key("Return", timeout=0.5)
        if not self.wait_for_place(place.obj, folder):
            return False
        field = self.tab_until(lambda h: h.role == "text" and not h.text.startswith("/"), limit=12)
        if not self.expect(field is not None, f"Tab never reached the file name field of {chooser!r}"):
            return False
        type_text(name)
        self.key("Return", timeout=2.0)
        return self.chooser_closed(chooser)
