"""ZoffinoUSB under an English locale (LANG=en_GB.UTF-8, as a British user's session has it), on the same desktop
as the Italian checks in desktop_check.py and with its helpers: the program's words and Qt's own in English,
nothing of the Italian left in the main window, and the re-partition question asked in English.

Run first, on the player's fresh image, and declining what it is asked: the Italian checks then start from
the same player as without it."""

import os
import re
import xml.etree.ElementTree as ElementTree

from desktop_check import Desktop, Tree, active_window, client, expect, wait_for

CATALOGUE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "translations",
                         "zoffino_en.ts")


def italian_patterns():
    """Every Italian text of the program whose English differs, as a pattern a whole name would match: a
    placeholder stands for anything, a mnemonic's & is gone as it is from an accessible name."""
    patterns = []
    for message in ElementTree.parse(CATALOGUE).getroot().iter("message"):
        source = message.findtext("source") or ""
        translation = message.find("translation")
        forms = [form.text or "" for form in translation.iter("numerusform")] or [translation.text or ""]
        if source in forms or not re.search(r"[^\W\d_]{3}", re.sub(r"%L?\d|%n", "", source)):
            continue  # the same in both languages, or no word of its own
        shown = re.sub(r"&(?!&)", "", source).replace("&&", "&")
        parts = re.split(r"%L?\d|%n", shown)
        patterns.append((source, re.compile(".+".join(re.escape(part) for part in parts), re.DOTALL)))
    return patterns


class EnglishDesktop(Desktop):
    main_title = "Zoffino USB Manager"
    load_button = "Load file..."
    open_title = "Open"

    def start(self):
        self.main()
        wait_for("the main window active", lambda: active_window() == client(self.pid, self.main_title))
        self.ok(f"under LANG=en_GB.UTF-8 the main window comes up as \"{self.main_title}\"")

    def names(self):
        main = self.main()
        for role, name in (("push button", "Load file..."), ("push button", "Play"),
                           ("push button", "Diagnostics"), ("radio button", "1 track"),
                           ("radio button", "8 tracks"), ("check box", "Loop")):
            self.control(main, role, name)
        combo = self.tree.find(main, "combo box")
        expect("Track:" in self.tree.labelled_by(combo),
               f"the track list is labelled by {self.tree.labelled_by(combo)}, not \"Track:\"")
        device = self.tree.find(main, "label", startswith="Player: ")
        expect(device is not None, "the player's text has no name \"Player: …\": labels are "
               f"{[l.name for l in self.tree.all(main, 'label')]}")

        patterns = italian_patterns()
        expect(patterns, f"{CATALOGUE} translates nothing: no Italian could be told from English")
        italian = []
        x, y, width, height = self.tree.extents(main)
        for accessible in self.tree.all(main, None):
            for text in (accessible.name, accessible.description):
                italian += [f"{text!r} (\"{source}\")" for source, pattern in patterns
                            if text and pattern.fullmatch(text)]
            if accessible is main or not self.tree.showing(accessible):
                continue
            # Whatever a control shows lies within the window, in English as in Italian.
            cx, cy, cw, ch = self.tree.extents(accessible)
            expect(x <= cx and y <= cy and cx + cw <= x + width and cy + ch <= y + height,
                   f"{accessible.getRoleName()} \"{accessible.name}\" at {cx},{cy} {cw}x{ch} lies outside the "
                   f"main window at {x},{y} {width}x{height}")
        expect(not italian, "Italian left in the main window's names and descriptions: " + ", ".join(italian))
        self.ok("the main window's commands, the track list's label and the player's text are named in English, "
                "nothing Italian among its names and descriptions, every control inside the window")

    def file_dialog(self):
        main = self.main()
        self.select_track(0)
        self.click(self.control(main, "push button", self.load_button))
        dialog = wait_for("the open-file dialog", lambda: self.tree.window(self.open_title, "dialog"))
        buttons = {b.name for b in self.tree.all(dialog, "push button")}
        labels = {l.name for l in self.tree.all(dialog, "label")}
        expect({"Open", "Cancel"} <= buttons, f"the open-file dialog's buttons: {sorted(buttons)}")
        expect({"Look in:", "File name:", "Files of type:"} <= labels,
               f"the open-file dialog's labels: {sorted(labels)}")
        italian = ({"Apri", "Annulla"} & buttons) | ({"Cerca in:", "Nome del file:", "File di tipo:"} & labels)
        expect(not italian, f"Italian in the open-file dialog: {sorted(italian)}")
        self.click(self.control(dialog, "push button", "Cancel"))
        wait_for("the open-file dialog to close", self.only_main_window)
        self.ok("the open-file dialog speaks English: \"Open\", \"Cancel\", \"File name:\"")

    def repartition_question(self, wav):
        main = self.main()
        self.click(self.control(main, "radio button", "2 tracks"))
        before = self.image_hash()
        self.select_track(0)
        self.open_file(wav)
        box, text = self.box("the question before re-partitioning")
        expected = ("The player is now divided into one track; loaded with the partition into 2 tracks, this "
                    "track takes a slot that erases this track from the player: \"Track 1\".")
        expect(text == expected, f"the question reads {text!r}")
        expect(self.tree.find(box, "push button", "OK"), "the question lacks \"OK\"")
        self.press_in_box(box, "Cancel")
        wait_for("the main window active", self.only_main_window)
        expect(self.image_hash() == before, "Cancel on the question changed the player's memory")
        self.ok("the re-partition question in English, with \"OK\" and \"Cancel\"; Cancel leaves the memory as it was")


def start(pyatspi, processes, app, env, image, wav, locale_path):
    """The program under the English locale, on the image the Italian checks go on with."""
    english = {name: value for name, value in env.items() if name not in ("LC_ALL", "LC_MESSAGES", "LANGUAGE")}
    english["LANG"] = "en_GB.UTF-8"
    if locale_path:
        english["LOCPATH"] = locale_path
    process = processes.start("ZoffinoUSB-english", [app, f"--simulate={image}"], env=english,
                              cwd=os.path.dirname(wav))
    tree = Tree(pyatspi, process.pid)
    wait_for("the English program in the accessibility tree", tree.application, timeout=15)
    return EnglishDesktop(tree, process.pid, image), process


def check(desktop, process, wav):
    """The English checks; the program ends as its Escape key ends it."""
    desktop.start()
    desktop.names()
    desktop.file_dialog()
    desktop.repartition_question(wav)
    desktop.close(process)
