#!/usr/bin/python3
"""ZoffinoUSB on a real desktop: the program on the simulated player, under the X server and D-Bus session
that scripts/test-desktop gives it, with IceWM managing its windows. The program is driven as a user drives
it (xdotool: the mouse and the keyboard) and what it shows is read from the accessibility tree (AT-SPI) and,
for what only the window manager knows (stacking, transient windows, where a window is), from the X server.

Every wait is on a condition, polled up to a time limit."""

import argparse
import hashlib
import math
import os
import re
import signal
import struct
import subprocess
import sys
import time
import traceback
import wave

MAIN_TITLE = "Gestione Zoffino USB"
# Message boxes carry the application's name.
BOX_TITLE = "ZoffinoUSB"
ABOUT_TITLE = "Informazioni su Zoffino USB"
TRACK_TITLE = "Prepara il brano"
PLAN_TITLE = "Carica più file"
ABOUT_ENTRY = "Informazioni su ZoffinoUSB..."
POLL_S = 0.05
# A window centred by the program and placed by the window manager lands within this of the centre.
CENTRE_TOLERANCE_PX = 8


class Failed(Exception):
    pass


def expect(condition, message):
    if not condition:
        raise Failed(message)


# -- processes ---------------------------------------------------------------------------------------------


class Processes:
    """What the checks start, ended in reverse order; the ids also go to a file, so that the calling script
    can end them should this process itself be killed."""

    def __init__(self, work):
        self.work = work
        self.started = []

    def start(self, name, argv, env=None, cwd=None):
        log = open(os.path.join(self.work, name + ".log"), "wb")
        process = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT,
                                   env=env, cwd=cwd)
        log.close()
        self.started.append((name, process))
        with open(os.path.join(self.work, "pids"), "a") as pids:
            pids.write(f"{process.pid}\n")
        return process

    def name_of(self, process):
        return next((name for name, started in self.started if started is process), "")

    def log(self, name):
        try:
            with open(os.path.join(self.work, name + ".log"), errors="replace") as log:
                return log.read()
        except OSError:
            return ""

    def stop_all(self):
        for _, process in reversed(self.started):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=3)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        # Ended and waited for: their ids may now be anyone's.
        open(os.path.join(self.work, "pids"), "w").close()


# -- waiting -----------------------------------------------------------------------------------------------

_glib_context = None


def pump():
    """Hands out the accessibility events that arrived, so that listeners and cached states are current."""
    if _glib_context is not None:
        while _glib_context.iteration(False):
            pass


def wait_for(what, condition, timeout=10.0):
    deadline = time.monotonic() + timeout
    while True:
        pump()
        try:
            value = condition()
        except Exception:  # an object that went away while it was read: look again
            value = None
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failed(f"waited {timeout:g} s for {what}")
        time.sleep(POLL_S)


def stays(what, condition, duration):
    """Fails when condition becomes true within duration: what must not happen, watched for a while."""
    deadline = time.monotonic() + duration
    while time.monotonic() < deadline:
        pump()
        expect(not condition(), what)
        time.sleep(POLL_S)


# -- the X server ------------------------------------------------------------------------------------------


def run(*argv):
    return subprocess.run(argv, check=True, capture_output=True, text=True, timeout=10).stdout


def xdotool(*argv):
    run("xdotool", *argv)


def move_pointer(x, y):
    # Waiting for a move that is no move would never end.
    location = run("xdotool", "getmouselocation", "--shell")
    here = dict(line.split("=", 1) for line in location.split())
    if (int(here["X"]), int(here["Y"])) != (x, y):
        xdotool("mousemove", "--sync", str(x), str(y))


def root_windows(prop):
    out = run("xprop", "-root", prop)
    return [int(w, 16) for w in re.findall(r"0x[0-9a-f]+", out)]


def stacking():
    """The managed windows, bottom first."""
    return root_windows("_NET_CLIENT_LIST_STACKING")


def active_window():
    windows = root_windows("_NET_ACTIVE_WINDOW")
    return windows[0] if windows else None


def window_title(window):
    out = run("xprop", "-id", str(window), "_NET_WM_NAME")
    match = re.search(r'= "(.*)"$', out.strip())
    return match.group(1) if match else ""


def window_pid(window):
    out = run("xprop", "-id", str(window), "_NET_WM_PID")
    match = re.search(r"= (\d+)", out)
    return int(match.group(1)) if match else None


def transient_for(window):
    out = run("xprop", "-id", str(window), "WM_TRANSIENT_FOR")
    match = re.search(r"0x[0-9a-f]+", out)
    return int(match.group(0), 16) if match else None


def frame_extents(window):
    out = run("xprop", "-id", str(window), "_NET_FRAME_EXTENTS")
    numbers = [int(n) for n in re.findall(r"\d+", out.split("=", 1)[-1])] if "=" in out else []
    return tuple(numbers) if len(numbers) == 4 else (0, 0, 0, 0)


def geometry(window):
    """Where the window's own area is on the screen: x, y, width, height."""
    out = run("xwininfo", "-id", str(window))

    def field(name):
        return int(re.search(name + r":\s+(-?\d+)", out).group(1))

    return (field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height"))


def client(pid, title):
    """The program's managed window with this title, topmost first when there are several."""
    for window in reversed(stacking()):
        if window_pid(window) == pid and window_title(window) == title:
            return window
    return None


def centre(rect):
    x, y, width, height = rect
    return (x + width / 2, y + height / 2)


def screenshot(path, rects, margin=6):
    left = max(0, min(r[0] for r in rects) - margin)
    top = max(0, min(r[1] for r in rects) - margin)
    right = max(r[0] + r[2] for r in rects) + margin
    bottom = max(r[1] + r[3] for r in rects) + margin
    # Without the time it was taken, a picture taken again is the same file when nothing in it changed.
    run("import", "-window", "root", "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
        "-strip", path)


def framed(window):
    x, y, width, height = geometry(window)
    left, right, top, bottom = frame_extents(window)
    return (x - left, y - top, width + left + right, height + top + bottom)


# -- the accessibility tree --------------------------------------------------------------------------------


class Tree:
    def __init__(self, pyatspi, pid):
        self.pyatspi = pyatspi
        self.pid = pid
        self.app = None
        self.popups = []
        self.focused = []
        pyatspi.Registry.registerEventListener(self._on_showing, "object:state-changed:showing")
        pyatspi.Registry.registerEventListener(self._on_focus, "object:state-changed:focused")

    # Popup menus are no child of the application in Qt's tree: they are seen as they show.
    def _on_showing(self, event):
        try:
            if event.detail1 == 1 and event.source.getRoleName() == "popup menu":
                self.popups.append([child.name for child in event.source])
        except Exception:
            pass

    def _on_focus(self, event):
        try:
            if event.detail1 == 1:
                self.focused.append((event.source.getRoleName(), event.source.name))
        except Exception:
            pass

    def application(self):
        if self.app is None:
            for app in self.pyatspi.Registry.getDesktop(0):
                try:
                    if app is not None and app.get_process_id() == self.pid:
                        # States and names are read afresh each time rather than from a cache that
                        # follows the events.
                        from gi.repository import Atspi

                        app.set_cache_mask(Atspi.Cache.NONE)
                        self.app = app
                        break
                except Exception:
                    continue
        return self.app

    def windows(self):
        app = self.application()
        return [w for w in app if w is not None] if app is not None else []

    def window(self, name, role=None):
        for w in self.windows():
            if w.name == name and (role is None or w.getRoleName() == role) and self.showing(w):
                return w
        return None

    def has(self, accessible, state):
        return accessible.getState().contains(state)

    def showing(self, accessible):
        return self.has(accessible, self.pyatspi.STATE_SHOWING)

    def sensitive(self, accessible):
        return self.has(accessible, self.pyatspi.STATE_SENSITIVE) or self.has(
            accessible, self.pyatspi.STATE_ENABLED)

    def find(self, root, role, name=None, startswith=None):
        for accessible in self.all(root, role):
            if name is not None and accessible.name != name:
                continue
            if startswith is not None and not accessible.name.startswith(startswith):
                continue
            return accessible
        return None

    def all(self, root, role):
        found = []
        stack = [root]
        while stack:
            accessible = stack.pop()
            if accessible is None:
                continue
            if role is None or accessible.getRoleName() == role:
                found.append(accessible)
            # Item views can hold many rows; nothing looked for lives in them.
            if accessible.getRoleName() not in ("tree", "table", "list"):
                stack.extend(reversed([c for c in accessible]))
        return found

    def labelled_by(self, accessible):
        names = []
        for relation in accessible.getRelationSet():
            if relation.getRelationType() == self.pyatspi.RELATION_LABELLED_BY:
                names += [relation.getTarget(i).name for i in range(relation.getNTargets())]
        return names

    def extents(self, accessible):
        e = accessible.queryComponent().getExtents(self.pyatspi.DESKTOP_COORDS)
        return (e.x, e.y, e.width, e.height)

    def top_level(self, accessible):
        while True:
            parent = accessible.parent
            if parent is None or parent.getRoleName() == "application":
                return accessible
            accessible = parent

    def describe(self):
        lines = []
        for w in self.windows():
            try:
                lines.append(f"  {w.getRoleName()} {w.name!r} showing={self.showing(w)}")
            except Exception as error:
                lines.append(f"  (unreadable window: {error})")
        return "\n".join(lines) or "  (no window)"


# -- the checks --------------------------------------------------------------------------------------------


class Desktop:
    # The words the helpers below find the program's windows and commands by, in the language it speaks.
    main_title = MAIN_TITLE
    load_button = "Carica file..."
    open_title = "Apri"

    def __init__(self, tree, pid, image):
        self.tree = tree
        self.pid = pid
        self.image = image
        self.passed = 0

    def ok(self, what):
        self.passed += 1
        print(f"ok   {what}", flush=True)

    def image_hash(self):
        with open(self.image, "rb") as f:
            return hashlib.sha256(f.read()).hexdigest()

    def main(self):
        return wait_for("the main window", lambda: self.tree.window(self.main_title, "dialog"))

    def x_window(self, title):
        return wait_for(f"the X window \"{title}\"", lambda: client(self.pid, title))

    def click(self, accessible):
        """A click at the middle of a control. Qt places a window's controls right relative to the window,
        while where the window is comes from the X server, which the window manager told."""
        top = self.tree.top_level(accessible)
        wx, wy, _, _ = self.tree.extents(top)
        cx, cy, cw, ch = self.tree.extents(accessible)
        gx, gy, _, _ = geometry(self.x_window(top.name))
        move_pointer(gx + cx - wx + cw // 2, gy + cy - wy + ch // 2)
        xdotool("click", "1")

    def key(self, *keys):
        xdotool("key", "--delay", "20", *keys)

    def control(self, window, role, name):
        return wait_for(f"{role} \"{name}\"", lambda: self.tree.find(window, role, name))

    def only_main_window(self):
        return [w.name for w in self.tree.windows() if self.tree.showing(w)] == [self.main_title] and \
            active_window() == client(self.pid, self.main_title)

    def select_track(self, index):
        main = self.main()
        combo = self.tree.find(main, "combo box")
        self.click(combo)
        listing = wait_for("the list of tracks open",
                           lambda: next((c for c in combo if self.tree.showing(c)), None))
        name = listing[index].name
        self.key("Home", *(["Down"] * index), "Return")
        wait_for(f"\"{name}\" selected", lambda: combo.name == name and not self.tree.showing(listing))
        return name

    def open_file(self, path):
        """Carica file..., and the path typed into the open-file dialog as a user would."""
        main = self.main()
        self.click(self.control(main, "push button", self.load_button))
        dialog = wait_for("the open-file dialog", lambda: self.tree.window(self.open_title, "dialog"))
        field = wait_for("the file name field focused",
                         lambda: next((t for t in self.tree.all(dialog, "text")
                                       if self.tree.has(t, self.tree.pyatspi.STATE_FOCUSED)), None))
        xdotool("type", "--delay", "2", path)
        wait_for("the typed path in the field",
                 lambda: field.queryText().getText(0, -1) == path)
        self.key("Return")
        wait_for("the open-file dialog to close", lambda: self.tree.window(self.open_title, "dialog") is None)

    def box(self, what):
        box = wait_for(what, lambda: self.tree.window(BOX_TITLE, "alert"))
        label = self.tree.all(box, "label")
        return box, " ".join(l.name for l in label)

    def box_belongs_to_main(self, what):
        """In front of the main window, made for it, centred on it, and the main window takes no click."""
        main_x = self.x_window(MAIN_TITLE)
        box_x = self.x_window(BOX_TITLE)
        order = stacking()
        expect(order.index(box_x) > order.index(main_x),
               f"{what}: behind the main window (stacking bottom first: {order})")
        expect(transient_for(box_x) == main_x, f"{what}: not a transient for the main window")
        wait_for(f"{what} to be the active window", lambda: active_window() == box_x)
        (mx, my), (bx, by) = centre(geometry(main_x)), centre(geometry(box_x))
        expect(abs(mx - bx) <= CENTRE_TOLERANCE_PX and abs(my - by) <= CENTRE_TOLERANCE_PX,
               f"{what}: centred at {bx:g},{by:g}, the main window at {mx:g},{my:g}")

        # A click on the main window's Diagnostica while the box waits: nothing opens, the box stays.
        self.click(self.control(self.main(), "push button", "Diagnostica"))
        stays(f"{what}: the main window took a click meant for it",
              lambda: self.tree.window("Diagnostica Zoffino USB") is not None, 0.5)
        expect(active_window() == box_x and stacking()[-1] == box_x,
               f"{what}: no longer in front after a click on the main window")

    def press_in_box(self, box, button):
        self.click(self.control(box, "push button", button))
        wait_for("the box to close", lambda: self.tree.window(BOX_TITLE, "alert") is None)

    # The checks, in the order a user would come across them.

    def start(self):
        self.main()
        wait_for("the main window active", lambda: active_window() == client(self.pid, MAIN_TITLE))
        self.ok("the main window comes up, active, on the simulated player")

    def names(self):
        main = self.main()
        combo = self.tree.find(main, "combo box")
        expect(combo is not None, "no track list")
        expect("Brano:" in self.tree.labelled_by(combo),
               f"the track list is labelled by {self.tree.labelled_by(combo)}, not \"Brano:\"")
        device = self.tree.find(main, "label", startswith="Lettore: ")
        expect(device is not None and device.name == "Lettore: Zoffino USB - lettore simulato, 1 MiB",
               "the player's text has no name \"Lettore: …\": labels are "
               f"{[l.name for l in self.tree.all(main, 'label')]}")
        self.ok("the track list is labelled \"Brano:\"; the player's text is named \"" + device.name + "\"")

    def context_menu(self, keys, what):
        self.tree.popups.clear()
        self.tree.focused.clear()
        self.key(*keys)
        entries = wait_for(f"a menu after {what}", lambda: self.tree.popups and self.tree.popups[-1])
        expect(ABOUT_ENTRY in entries, f"the menu after {what} holds {entries}, not \"{ABOUT_ENTRY}\"")
        self.key("Down")
        wait_for("the About entry focused", lambda: ("menu item", ABOUT_ENTRY) in self.tree.focused)
        self.key("Return")
        about = wait_for("the About box", lambda: self.tree.window(ABOUT_TITLE, "dialog"))
        self.click(self.control(about, "push button", "OK"))
        wait_for("the About box to close and the main window to be active", self.only_main_window)
        self.ok(f"{what} opens the window's menu with \"{ABOUT_ENTRY}\", which opens the About box")

    def commands_need_a_track(self):
        main = self.main()
        commands = [self.control(main, "push button", "Carica file..."),
                    self.control(main, "push button", "Suona"), self.control(main, "check box", "Default")]

        def enabled():
            return [c.name for c in commands if self.tree.sensitive(c)]

        expect(enabled() == [], f"with no track selected these are enabled: {enabled()}")
        self.select_track(0)
        wait_for("the track commands enabled", lambda: len(enabled()) == 3)
        self.click(self.control(main, "radio button", "2 brani"))
        wait_for("\"2 brani\" checked",
                 lambda: self.tree.has(self.tree.find(main, "radio button", "2 brani"),
                                       self.tree.pyatspi.STATE_CHECKED))
        expect(enabled() == [], f"after a partition change these stay enabled: {enabled()}")
        self.ok("Carica file..., Suona and Default: disabled until a track is chosen, and again after a "
                "partition change")

    def repartition_accepted(self, wav):
        before = self.image_hash()
        self.select_track(0)
        self.open_file(wav)
        box, text = self.box("the question before re-partitioning")
        expected = ("Il lettore ora è diviso in un brano; caricando questo brano con la divisione in "
                    "2 brani, lo spazio che occupa cancella dal lettore il brano: \"Brano 1\".")
        expect(text == expected, f"the question reads {text!r}")
        self.box_belongs_to_main("the question after the open-file dialog")
        self.ok("the question right after the open-file dialog is in front of the main window, its "
                "transient, centred on it, and the main window takes no click meanwhile")
        self.press_in_box(box, "OK")
        wait_for("the download to end", lambda: self.only_main_window() and self.image_hash() != before,
                 timeout=20)
        self.ok("OK on the question loads the track: the player's memory changes")

    def italian_file_dialog(self):
        main = self.main()
        self.select_track(0)
        self.click(self.control(main, "push button", "Carica file..."))
        dialog = wait_for("the open-file dialog", lambda: self.tree.window("Apri", "dialog"))
        buttons = {b.name for b in self.tree.all(dialog, "push button")}
        labels = {l.name for l in self.tree.all(dialog, "label")}
        expect({"Apri", "Annulla"} <= buttons, f"the open-file dialog's buttons: {sorted(buttons)}")
        expect({"Cerca in:", "Nome del file:", "File di tipo:"} <= labels,
               f"the open-file dialog's labels: {sorted(labels)}")
        english = ({"Open", "Cancel"} & buttons) | ({"Look in:", "File name:", "Files of type:"} & labels)
        expect(not english, f"English in the open-file dialog: {sorted(english)}")
        self.click(self.control(dialog, "push button", "Annulla"))
        wait_for("the open-file dialog to close", self.only_main_window)
        self.ok("the open-file dialog speaks Italian: \"Apri\", \"Annulla\", \"Nome del file:\", "
                "\"File di tipo:\", \"Cerca in:\"")

    def not_audio(self, text_file):
        before = self.image_hash()
        self.select_track(1)
        self.open_file(text_file)
        box, text = self.box("the box about a file that is not audio")
        expect(text.startswith(f"Il file \"{text_file}\" non è un file audio leggibile"),
               f"the box reads {text!r}")
        self.box_belongs_to_main("the error box after the open-file dialog")
        self.press_in_box(box, "OK")
        wait_for("the main window active", self.only_main_window)
        expect(self.image_hash() == before, "a file that is not audio changed the player's memory")
        self.ok("a text file given to Carica file...: an Italian error box in front of the main window, "
                "centred on it; the player's memory untouched")

    def track_window(self, long_wav, shots):
        """A file longer than its slot: the track window in front, its part moved, then loaded."""
        before = self.image_hash()
        self.select_track(1)
        self.open_file(long_wav)
        window = wait_for("the track window", lambda: self.tree.window(TRACK_TITLE, "dialog"))
        main_x = self.x_window(MAIN_TITLE)
        track_x = self.x_window(TRACK_TITLE)
        expect(transient_for(track_x) == main_x, "the track window is not a transient for the main window")
        wait_for("the track window to be the active window", lambda: active_window() == track_x)
        expect(self.tree.find(window, None, "Forma d'onda") is not None, "no waveform named \"Forma d'onda\"")
        loudest = self.control(window, "push button", "Parte più forte")
        wait_for("the file read", lambda: self.tree.sensitive(loudest))
        start = self.control(window, "text", "Inizio")
        self.click(loudest)
        wait_for("the part moved to the loud tone", lambda: start.queryText().getText(0, -1) != "0:00,0")
        if shots:
            move_pointer(1, 1)
            screenshot(os.path.join(shots, "track-window.png"), [framed(track_x)])
        self.click(self.control(window, "push button", "Carica"))
        wait_for("the download to end", lambda: self.only_main_window() and self.image_hash() != before,
                 timeout=20)
        self.ok("a long file opens the track window in front of the main window; \"Parte più forte\" moves "
                "the part; \"Carica\" loads it")

    def repartition_declined(self, wav, shots):
        main = self.main()
        self.click(self.control(main, "radio button", "4 brani"))
        before = self.image_hash()
        self.select_track(0)
        self.open_file(wav)
        box, text = self.box("the question before re-partitioning")
        title = os.path.splitext(os.path.basename(wav))[0]
        expected = ("Il lettore ora è diviso in 2 brani; caricando questo brano con la divisione in "
                    f"4 brani, lo spazio che occupa cancella dal lettore il brano: \"{title}\".")
        expect(text == expected, f"the question reads {text!r}")
        expect(self.tree.find(box, "push button", "OK") and self.tree.find(box, "push button", "Annulla"),
               "the question lacks \"OK\" or \"Annulla\"")
        if shots:
            # The pointer off the windows, where it hides nothing.
            move_pointer(1, 1)
            screenshot(os.path.join(shots, "partition-warning.png"),
                       [framed(self.x_window(MAIN_TITLE)), framed(self.x_window(BOX_TITLE))])
        self.press_in_box(box, "Annulla")
        stays("a progress window after Annulla",
              lambda: any(w.name != MAIN_TITLE for w in self.tree.windows() if self.tree.showing(w)), 0.3)
        expect(self.image_hash() == before, "Annulla on the question changed the player's memory")
        self.ok("the question names the track it would erase; Annulla leaves the player's memory as it was")

    def tooltip(self, shots):
        main = self.main()
        radio = self.control(main, "radio button", "4 brani")
        top = self.tree.top_level(radio)
        wx, wy, _, _ = self.tree.extents(top)
        cx, cy, cw, ch = self.tree.extents(radio)
        gx, gy, _, _ = geometry(self.x_window(MAIN_TITLE))
        move_pointer(gx + cx - wx + cw // 2, gy + cy - wy + ch // 2)
        text = "Divide la memoria del lettore in 4 brani da 11,9 s ciascuno"
        tip = wait_for("the partition button's tooltip", lambda: self.tree.window(text, "tool tip"))
        if shots:
            # A tooltip is a window the window manager does not manage; where it is, Qt alone says.
            screenshot(os.path.join(shots, "tooltip.png"),
                       [framed(self.x_window(MAIN_TITLE)), self.tree.extents(tip)])
        move_pointer(1, 1)
        wait_for("the tooltip to go", lambda: self.tree.window(text, "tool tip") is None)
        self.ok(f"a partition button's tooltip: \"{text}\"")

    def terminated_during_download(self, process, wav, settings):
        """SIGTERM, as a logout sends it, while a download paced like USB runs: the download stops after a
        block, and the program ends as its close box would end it, settings written and nothing left open."""
        self.main()
        self.select_track(0)
        self.open_file(wav)
        wait_for("the download's progress window",
                 lambda: self.tree.window("Download file audio in corso...", "dialog"), timeout=20)
        os.remove(settings)
        process.send_signal(signal.SIGTERM)
        wait_for("the program to end after SIGTERM", lambda: process.poll() is not None, timeout=20)
        expect(process.returncode == 0, f"the program ended with {process.returncode}")
        expect(os.path.exists(settings), "the settings were not written on the way out")
        self.ok("SIGTERM during a download stops it after a block and ends the program, settings written")

    def dropped_files(self, processes, drag_source, paths, shots):
        """Files dragged over XDND from another program (a stand-in for a file manager) onto the track list:
        the plan window in front of the main window, then "Carica tutti" loads them into their tracks."""
        before = self.image_hash()
        source = processes.start("drag-source", [drag_source, *paths])
        said = lambda word: word in processes.log("drag-source").split("\n")
        sx, sy, sw, sh = geometry(wait_for("the drag source's window", lambda: client(source.pid, "drag source")))
        combo = self.tree.find(self.main(), "combo box")
        wx, wy, _, _ = self.tree.extents(self.tree.top_level(combo))
        cx, cy, cw, ch = self.tree.extents(combo)
        gx, gy, _, _ = geometry(self.x_window(MAIN_TITLE))
        start = (sx + sw // 2, sy + sh // 2)
        target = (gx + cx - wx + cw // 2, gy + cy - wy + ch // 2)
        move_pointer(*start)
        xdotool("mousedown", "1")
        wait_for("the drag to begin", lambda: said("started"))
        # Across the screen in steps, as a hand drags: each step is a position the target answers.
        for step in range(1, 9):
            move_pointer(start[0] + (target[0] - start[0]) * step // 8, start[1] + (target[1] - start[1]) * step // 8)
        wait_for("the main window to take the files where the pointer is", lambda: said("accepted"))
        xdotool("mouseup", "1")
        wait_for("the drop to be taken", lambda: said("dropped") or said("refused"))
        expect(said("dropped"), "the main window refused the dropped files")

        plan = wait_for("the plan window", lambda: self.tree.window(PLAN_TITLE, "dialog"))
        main_x = self.x_window(MAIN_TITLE)
        plan_x = self.x_window(PLAN_TITLE)
        order = stacking()
        expect(order.index(plan_x) > order.index(main_x), f"the plan window is behind the main window: {order}")
        expect(transient_for(plan_x) == main_x, "the plan window is not a transient for the main window")
        wait_for("the plan window to be the active window", lambda: active_window() == plan_x)
        table = wait_for("the plan's table", lambda: self.tree.find(plan, "table", "File da caricare"))
        cells = {cell.name for cell in table}
        files = [os.path.basename(path) for path in paths]
        expect(set(files) <= cells, f"the plan's rows hold {sorted(cells)}, not every one of {files}")
        if shots:
            move_pointer(1, 1)
            screenshot(os.path.join(shots, "plan-window.png"), [framed(main_x), framed(plan_x)])
        self.click(self.control(plan, "push button", "Carica tutti"))
        # The window manager may give the focus back to the other program: only the windows count here.
        wait_for("the set to be loaded",
                 lambda: [w.name for w in self.tree.windows() if self.tree.showing(w)] == [MAIN_TITLE] and
                 self.image_hash() != before, timeout=30)
        source.terminate()
        source.wait(timeout=5)

        combo = self.tree.find(self.main(), "combo box")
        self.click(combo)
        listing = wait_for("the list of tracks open",
                           lambda: next((c for c in combo if self.tree.showing(c)), None))
        names = [item.name for item in listing]
        self.key("Escape")
        wait_for("the list to close", lambda: not self.tree.showing(listing))
        titles = [os.path.splitext(name)[0] for name in files]
        # Each name is followed by the length its slot holds: "Alba (0:01)".
        shown = [name.rsplit(" (", 1)[0] for name in names[:len(titles)]]
        expect(shown == titles and all(name.endswith(")") for name in names[:len(titles)]),
               f"after the set the list holds {names}, not {titles} with their lengths first")
        self.ok(f"{len(files)} files dragged from another program onto the track list: the plan window in "
                "front of the main window, its transient, with a row per file; \"Carica tutti\" loads them "
                "and the list names them")

    def close(self, process):
        self.key("Escape")
        wait_for("the program to end after Escape", lambda: process.poll() is not None)
        expect(process.returncode == 0, f"the program ended with {process.returncode}")
        self.ok("Escape closes the main window and the program ends normally")


# -- setting up --------------------------------------------------------------------------------------------


def write_wav(path, seconds):
    rate = 22050
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(1)
        out.setframerate(rate)
        out.writeframes(bytes(int(128 + 60 * math.sin(2 * math.pi * 440 * i / rate))
                              for i in range(int(seconds * rate))))


def write_long_wav(path):
    """30 s at CD rate, quiet but for a loud tone from 20 s to 24 s: a file the track window opens for."""
    rate = 44100
    frames = bytearray()
    for i in range(30 * rate):
        t = i / rate
        value = int((0.8 if 20 <= t < 24 else 0.05) * 32767 * math.sin(2 * math.pi * 330 * t))
        frames += struct.pack("<h", value)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(bytes(frames))


def name_owned(name):
    from gi.repository import Gio, GLib

    bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
    reply = bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                          "NameHasOwner", GLib.Variant("(s)", (name,)), None, Gio.DBusCallFlags.NONE, 2000,
                          None)
    return reply.unpack()[0]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--app", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--drag-source", required=True)
    parser.add_argument("--screenshots")
    parser.add_argument("--english-locale-path", default="", help="LOCPATH for en_GB.UTF-8, when not the system's")
    args = parser.parse_args()

    files = os.path.join(args.work, "files")
    os.makedirs(files, exist_ok=True)
    wav = os.path.join(files, "Sigla.wav")
    write_wav(wav, 0.5)
    long_wav = os.path.join(files, "Canzone lunga.wav")
    write_long_wav(long_wav)
    # Five seconds fit the shortest slot: loaded as they are, with no question.
    short_wav = os.path.join(files, "Annuncio.wav")
    write_wav(short_wav, 5)
    settings = os.path.join(os.environ["XDG_CONFIG_HOME"], "Quenmark Audio", "ZoffinoUSB.ini")
    text_file = os.path.join(files, "nota.txt")
    with open(text_file, "w") as out:
        out.write("Appunti: questo non è un brano.\n")
    dragged = []
    for title in ("Alba", "Brezza", "Cielo"):
        dragged.append(os.path.join(files, title + ".wav"))
        write_wav(dragged[-1], 0.5)
    image = os.path.join(args.work, "lettore.bin")

    processes = Processes(args.work)
    app = None
    desktop = None
    try:
        # The accessibility bus before anything asks for it: started by D-Bus on demand it would live on
        # out of reach of the clean-up. Qt never starts it, it only joins it once it is there.
        processes.start("at-spi-bus", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
        wait_for("the accessibility bus", lambda: name_owned("org.a11y.Bus"))
        processes.start("icewm", ["icewm"])
        wait_for("the window manager", lambda: root_windows("_NET_SUPPORTING_WM_CHECK"))

        env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
                   QT_QPA_PLATFORM="xcb")
        import pyatspi
        from gi.repository import GLib

        global _glib_context
        _glib_context = GLib.MainContext.default()

        # The English checks use the helpers here: they import this very module, not a second copy of it.
        sys.modules.setdefault("desktop_check", sys.modules[__name__])
        import english_checks

        desktop, app = english_checks.start(pyatspi, processes, args.app, env, image, wav,
                                            args.english_locale_path)
        english_checks.check(desktop, app, wav)
        passed = desktop.passed

        app = processes.start("ZoffinoUSB", [args.app, f"--simulate={image}"], env=env, cwd=files)
        tree = Tree(pyatspi, app.pid)
        wait_for("the program in the accessibility tree", tree.application, timeout=15)
        desktop = Desktop(tree, app.pid, image)
        desktop.passed = passed

        desktop.start()
        desktop.names()
        desktop.context_menu(["shift+F10"], "Shift+F10")
        desktop.context_menu(["Menu"], "the Menu key")
        desktop.commands_need_a_track()
        desktop.italian_file_dialog()
        desktop.repartition_accepted(wav)
        desktop.not_audio(text_file)
        desktop.track_window(long_wav, args.screenshots)
        desktop.repartition_declined(wav, args.screenshots)
        desktop.tooltip(args.screenshots)
        desktop.dropped_files(processes, args.drag_source, dragged, args.screenshots)
        desktop.close(app)

        # Again, with a player as slow as a USB one, to be ended by a signal in the middle of a download.
        app = processes.start("ZoffinoUSB-paced", [args.app, f"--simulate={image}", "--report-time=1000"],
                              env=env, cwd=files)
        tree = Tree(pyatspi, app.pid)
        wait_for("the program in the accessibility tree again", tree.application, timeout=15)
        paced = Desktop(tree, app.pid, image)
        paced.passed = desktop.passed
        paced.terminated_during_download(app, short_wav, settings)
        expect("Download interrotto" in processes.log("ZoffinoUSB-paced"),
               "no word on stderr of the stopped download: " + processes.log("ZoffinoUSB-paced")[-500:])
        desktop = paced
        print(f"{desktop.passed} checks passed")
        return 0
    except Exception as failure:
        if isinstance(failure, Failed):
            print(f"FAIL {failure}")
        else:
            print("FAIL the checks themselves broke:")
            traceback.print_exc(file=sys.stdout)
        if desktop is not None:
            print("The program's windows:\n" + desktop.tree.describe())
        if app is not None:
            log = processes.log(processes.name_of(app)).strip()
            if log:
                print("The program said:\n" + log[-2000:])
            if app.poll() is not None:
                print(f"The program had ended with {app.returncode}")
        return 1
    finally:
        processes.stop_all()


if __name__ == "__main__":
    sys.exit(main())
