#!/usr/bin/env python3
"""The launcher's end-to-end suite: the real launcher.exe under Wine, driven as a person would,
with mouse clicks and keystrokes through X (xdotool), and checked by what the stand-in emulator
receives when Launch is pressed and by what the settings file holds after the window is closed.

Every test starts its own launcher in a fresh directory holding launcher.exe, help\\help.html,
the stand-in emulator as quellix.exe and a quellix.ini the test writes. A small Windows probe
(probe.cpp) reports what the window shows (where each control is, its text, check mark and list
state) so the clicks can be aimed and what the window shows can be checked; every change is
made with real input.

Exit status: 0 when every test passed, 1 on any failure, 77 (skipped) when the launcher is a
32-bit program and this machine cannot run 32-bit code.
"""

import argparse
import contextlib
import functools
import os
import queue
import shutil
import subprocess
import sys
import threading
import time
import unittest

# Control ids of the launcher window (src/res/resource.h).
IDC_DISPLAY_MODE = 1000
IDC_3D_MODE = 1001
IDC_PALLET = 1002
IDC_FRAME_SKIP = 1003
IDC_FRAME_SKIP_SPIN = 1004
IDC_SWAP = 1005
IDC_KEY_MAP = 1006
IDC_VF_HACK = 1007
IDC_TIMMER_HACK = 1008
IDC_DEBUG = 1009
IDC_EMU_PATH = 1010
IDC_ROM_PATH = 1011
IDC_EMU_BROWSE = 1012
IDC_ROM_BROWSE = 1013
IDC_HELP = 1014
IDC_LAUNCH = 1015
IDC_BRIGHTNESS = 1016
IDC_BAL_R = 1017
IDC_NO_THROTTLE = 1018
IDC_STATUS_LINE = 1019
IDC_DISASM = 1020
IDC_CONSOLE = 1021
IDC_ZOOM = 1022
IDC_CONTROLLER = 1023
IDC_JOYSTICK = 1024
IDC_HSTRETCH = 1025
IDC_BAL_G = 1026
IDC_BAL_B = 1027
IDC_RAM_HACK = 1028

# Every row of the window's command dispatch, ids 1000-1028: each must be reached by real input
# somewhere in the suite (checked by the last test).
DISPATCH_ROWS = {
    IDC_DISPLAY_MODE: "Display Mode list",
    IDC_3D_MODE: "3D Mode list",
    IDC_PALLET: "Pallet list",
    IDC_FRAME_SKIP: "Frame Skip edit",
    IDC_FRAME_SKIP_SPIN: "Frame Skip arrows",
    IDC_SWAP: "swap display",
    IDC_KEY_MAP: "Key Map list",
    IDC_VF_HACK: "Vertical Force Hack",
    IDC_TIMMER_HACK: "Long Timmer Hack",
    IDC_DEBUG: "Debug Mode",
    IDC_EMU_PATH: "Emulator Path edit",
    IDC_ROM_PATH: "Rom Path edit",
    IDC_EMU_BROWSE: "Emulator Path ...",
    IDC_ROM_BROWSE: "Rom Path ...",
    IDC_HELP: "Help",
    IDC_LAUNCH: "Launch",
    IDC_BRIGHTNESS: "Brightness edit",
    IDC_BAL_R: "Balance r edit",
    IDC_NO_THROTTLE: "No Throttle",
    IDC_STATUS_LINE: "Status Line",
    IDC_DISASM: "Dissasembly",
    IDC_CONSOLE: "Console Output",
    IDC_ZOOM: "Zoom list",
    IDC_CONTROLLER: "VB Controller list",
    IDC_JOYSTICK: "Joystick list (disabled)",
    IDC_HSTRETCH: "horizontal 2x",
    IDC_BAL_G: "Balance g edit",
    IDC_BAL_B: "Balance b edit",
    IDC_RAM_HACK: "Ram Hack",
}
exercised = set()

WINDOW_TITLE = "Quellix Frontend"

# The settings file keeps its 24 keys in this order.
SETTING_KEYS = [
    "dspMode", "threedMode", "pallet", "fSkip", "bFactor", "balr", "balg", "balb", "scale",
    "pport", "keyMap", "joy", "more_ram", "swap", "hstretch", "timmerHack", "vfHack", "debug",
    "nothrtl", "status", "disasm", "stdout", "emuPath", "romPath",
]

# What each list shows, and the token the parameter text carries for each position (the
# Zoom, VB Controller and Joystick lists pass their position as a number).
DISPLAY_LABELS = ["Frame", "320x200", "640x480", "800x600", "1024x768", "1280x1024",
                  "1400x1050", "1600x1200"]
DISPLAY_TOKENS = ["frame", "320", "640", "800", "1024", "1280", "1400", "1600"]
THREED_LABELS = ["Normal", "Affine", "Interlaced", "Over under", "Side", "CyberScope"]
THREED_TOKENS = ["normal", "affine", "interlace", "over_under", "side", "cscope"]
PLAIN_PALETTE_LABELS = ["Normal", "Red"]
PLAIN_PALETTE_TOKENS = ["normal", "red"]
TWO_COLOUR_PALETTE_LABELS = ["Red-Blue", "Red-Green", "Red-Cyan", "Yellow-Blue", "Magenta-Green",
                             "Blue-Green"]
TWO_COLOUR_PALETTE_TOKENS = ["rb", "rg", "rc", "yb", "mg", "bg"]
ZOOM_LABELS = ["Stretch", "1x", "2x", "3x", "4x", "5x", "6x"]
KEY_MAP_LABELS = ["Default", "Alternate"]
CONTROLLER_LABELS = ["none", "lpt1 (0x378)", "lpt2 (0x278)", "lpt3 (0x3B8)", "IBM (0x3BC)"]
JOYSTICK_LABELS = ["none", "Joy Map 1"]

# The eleven switch words in parameter-text order, with the setting that turns each on.
SWITCHES = [
    ("swap", "-flip"), ("hstretch", "-hstretch"), ("timmerHack", "-ltimmer"),
    ("vfHack", "-vfhack"), ("more_ram", "-more_ram"), ("debug", "-debug"),
    ("disasm", "-disasm"), ("stdout", "-stdout"), ("keyMap", "-altkbd"),
    ("nothrtl", "-nothrtl"), ("status", "-status"),
]

# How long the launcher may take to react to one input, and to start or end.
REACTION_SECONDS = 10.0
START_SECONDS = 60.0

ARGS = None
SESSION = None


def windows_path(path):
    """The path under which a Wine program sees a file of this machine."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wait_for(what, condition, timeout=REACTION_SECONDS, interval=0.05):
    """Polls `condition` until it gives a true value, which is returned; fails after `timeout`."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(interval)


# ---------------------------------------------------------------------------------------------
# The settings a test expects, as the texts the settings file holds.


def default_settings(base_dir):
    """The settings of a launcher in `base_dir` whose settings file has no keys."""
    values = {key: "0" for key in SETTING_KEYS}
    values.update(bFactor="1.000000", balr="1.000000", balg="1.000000", balb="1.000000",
                  scale="1")
    values["emuPath"] = windows_path(base_dir) + "\\quellix.exe"
    values["romPath"] = windows_path(base_dir) + "\\vb_demo_1.vb"
    return values


def ini_text(values):
    """A settings file holding `values` (texts by key), in the launcher's own layout."""
    lines = ["[main]"] + [key + "=" + values[key] for key in SETTING_KEYS if key in values]
    return "\r\n".join(lines) + "\r\n"


def token_at(tokens, index_text):
    """A list's token; a position outside the list (a hand-edited file) gives the first."""
    index = int(index_text)
    return tokens[index] if 0 <= index < len(tokens) else tokens[0]


def palette_token(values):
    pallet = int(values["pallet"])
    if values["threedMode"] == "1":
        tokens = TWO_COLOUR_PALETTE_TOKENS
    else:
        tokens = PLAIN_PALETTE_TOKENS
    return tokens[pallet] if 0 <= pallet < len(tokens) else tokens[0]


def switch_on(values, key):
    if key == "keyMap":
        return values[key] == "1"
    return values[key] != "0"


def expected_parameters(values):
    """The emulator's parameter text for `values`: a switch that is off keeps its blank."""
    text = ('"{romPath}" -display {display} -dspmode {mode} -frmskp {fSkip} -brite {bFactor}'
            ' -balance {balr} {balg} {balb} -sclscr {scale} -pport {pport} -joy {joy}'
            ' -pallet {palette}').format(
                display=token_at(DISPLAY_TOKENS, values["dspMode"]),
                mode=token_at(THREED_TOKENS, values["threedMode"]), palette=palette_token(values),
                **values)
    for key, word in SWITCHES:
        text += " " + (word if switch_on(values, key) else "")
    return text


def read_settings_file(path):
    """The settings file's keys in file order, as (key, value) pairs of section main."""
    pairs = []
    section = None
    with open(path, "rb") as file:
        for raw in file.read().decode("latin-1").splitlines():
            line = raw.strip()
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1]
            elif "=" in line and section == "main":
                key, value = line.split("=", 1)
                pairs.append((key, value))
    return pairs


def read_launches(path):
    """The stand-in emulator's records: (command line, working directory) per start."""
    if not os.path.exists(path):
        return []
    with open(path, "rb") as file:
        text = file.read().decode("latin-1")
    records = []
    command = None
    for line in text.split("\r\n"):
        if line.startswith("command="):
            command = line[len("command="):]
        elif line.startswith("directory=") and command is not None:
            records.append((command, line[len("directory="):]))
            command = None
    return records


# ---------------------------------------------------------------------------------------------
# The machine: display, Wine prefix, the probe, and real input through X.


def pe_machine(path):
    """The PE header's machine field: 0x14c for i386, 0x8664 for x86-64."""
    with open(path, "rb") as file:
        header = file.read(4096)
    offset = int.from_bytes(header[60:64], "little")
    return int.from_bytes(header[offset + 4:offset + 6], "little")


class Probe:
    """The probe program, kept running: one request line in, lines of fields out to "end"."""

    def __init__(self, command, env):
        self.process = subprocess.Popen(command, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                        stderr=subprocess.DEVNULL, env=env)
        self.lines = queue.Queue()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.process.stdout:
            self.lines.put(raw.decode("utf-8", "replace").rstrip("\r\n"))
        self.lines.put(None)

    def ask(self, request):
        self.process.stdin.write((request + "\n").encode("utf-8"))
        self.process.stdin.flush()
        answer = []
        while True:
            try:
                line = self.lines.get(timeout=30)
            except queue.Empty:
                raise AssertionError("the probe did not answer " + repr(request))
            if line is None:
                raise AssertionError("the probe ended")
            if line == "end":
                return answer
            kind, _, rest = line.partition("\t")
            fields = {}
            for item in rest.split("\t") if rest else []:
                key, _, value = item.partition("=")
                fields[key] = value
            answer.append((kind, fields))

    def close(self):
        try:
            self.process.stdin.close()
            self.process.wait(timeout=10)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()
            self.process.wait()


def rect_of(text):
    left, top, right, bottom = (int(part) for part in text.split(","))
    return (left, top, right, bottom)


def centre(rect):
    return ((rect[0] + rect[2]) // 2, (rect[1] + rect[3]) // 2)


class View:
    """One answer of the probe about the launcher window."""

    def __init__(self, answer):
        self.window = None
        self.controls = {}
        self.combos = {}
        self.toplevels = []
        self.children = []
        for kind, fields in answer:
            if kind == "window":
                self.window = fields
            elif kind == "control":
                self.controls[int(fields["id"])] = fields
            elif kind == "combo":
                fields["items"] = fields["items"].split("|") if fields["items"] else []
                self.combos[int(fields["id"])] = fields
            elif kind == "toplevel":
                self.toplevels.append(fields)
            elif kind == "child":
                self.children.append(fields)

    def text(self, control_id):
        return self.controls[control_id]["text"]

    def toplevels_of_class(self, class_name):
        return [t for t in self.toplevels if t["class"] == class_name]

    def launcher_windows(self):
        return [t for t in self.toplevels if t["title"] == WINDOW_TITLE]


class Session:
    """What the whole suite shares: the display, the Wine prefix and the probe."""

    def __init__(self, args):
        self.args = args
        self.xvfb = None
        machine = pe_machine(args.launcher)
        if machine == 0x8664:
            self.loader = "/usr/lib/wine/wine64"
            arch = "win64"
        else:
            self.loader = "/usr/lib/wine/wine"
            arch = "win32"
        self.arch = arch
        base = os.environ.get("LAUNCHER_WINEPREFIX") or os.path.join(
            os.environ.get("TMPDIR", "/tmp"), "launcher-wineprefix-%d" % os.getuid())
        self.prefix = base + "-e2e-" + arch
        self.env = dict(os.environ)
        self.env.update(WINEPREFIX=self.prefix, WINEARCH=arch, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        self.probe = None

    def can_run(self):
        if self.arch == "win64":
            return True
        try:
            return subprocess.run([self.loader, "--version"], stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL).returncode == 0
        except OSError:
            return False

    def start(self):
        for tool in ("xdotool", "import"):
            if shutil.which(tool) is None:
                raise RuntimeError(tool + " is missing (tools/setup.sh installs it)")
        if not self.env.get("DISPLAY"):
            self._start_xvfb()
        os.makedirs(self.args.work_dir, exist_ok=True)
        for name in os.listdir(self.args.work_dir):
            if name.startswith("failure-") and name.endswith(".png"):
                os.remove(os.path.join(self.args.work_dir, name))
        if not os.path.exists(os.path.join(self.prefix, "system.reg")):
            print("creating the Wine prefix " + self.prefix, flush=True)
            os.makedirs(os.path.dirname(self.prefix) or ".", exist_ok=True)
            subprocess.run([self.loader, "wineboot", "-i"], env=self.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            self.wineserver("-w")
        self.probe = Probe([self.loader, self.args.probe], self.env)
        # The first answer comes once Wine's desktop is up.
        self.probe.ask("")

    def _start_xvfb(self):
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten",
             "tcp", "-noreset"], pass_fds=(write_end,), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(write_end)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number.decode().strip()

    def wineserver(self, option):
        server = "/usr/lib/wine/wineserver64" if self.arch == "win64" else None
        if server is None or not os.path.exists(server):
            server = shutil.which("wineserver") or "/usr/lib/wine/wineserver"
        subprocess.run([server, option], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)

    def stop(self):
        if self.probe is not None:
            self.probe.close()
        # The prefix belongs to this suite alone: nothing of it may outlive the run.
        self.wineserver("-k")
        if self.xvfb is not None:
            self.xvfb.terminate()
            self.xvfb.wait()

    def view(self, request):
        """The probe's answer; asked again while a window is too busy to answer (as the
        launcher is for a moment after the open-file dialog closes)."""
        for _ in range(30):
            answer = self.probe.ask(request)
            if not any(fields.get("late") == "1" for _, fields in answer):
                return View(answer)
            time.sleep(0.1)
        raise AssertionError("the launcher window does not answer")

    def xdotool(self, *words):
        subprocess.run(["xdotool"] + [str(word) for word in words], env=self.env, check=True,
                       stdout=subprocess.DEVNULL)

    def screenshot(self, name):
        path = os.path.join(self.args.work_dir, name + ".png")
        subprocess.run(["import", "-window", "root", path], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path


# ---------------------------------------------------------------------------------------------
# One launcher in its own directory, and what a person does with it.


class Launcher:
    def __init__(self, name):
        self.dir = os.path.join(ARGS.work_dir, "run " + name)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(os.path.join(self.dir, "help"))
        shutil.copy(ARGS.launcher, os.path.join(self.dir, "launcher.exe"))
        shutil.copy(ARGS.help_page, os.path.join(self.dir, "help", "help.html"))
        shutil.copy(ARGS.emulator, os.path.join(self.dir, "quellix.exe"))
        self.win_dir = windows_path(self.dir)
        self.process = None
        self.layout = {}
        self.blank_spot = None
        self.hwnd = None

    @property
    def ini_path(self):
        return os.path.join(self.dir, "quellix.ini")

    @property
    def launches_path(self):
        return os.path.join(self.dir, "launches.txt")

    def start(self, env=None, parent=None):
        """Starts the launcher in its folder by its full path; `parent`: (application, working
        directory, parent's folder) for the probe as a parent calling CreateProcess with them
        (it ends with the launcher's exit status)."""
        wait_for("the previous launcher window to go",
                 lambda: not SESSION.view("").launcher_windows(), START_SECONDS)
        command = [SESSION.loader, os.path.join(self.dir, "launcher.exe")]
        folder = self.dir
        if parent is not None:
            application, directory, folder = parent
            command = [SESSION.loader, os.path.abspath(ARGS.probe), "start", application,
                       directory]
        self.process = subprocess.Popen(command, cwd=folder, env=env or SESSION.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

        def shown():
            view = SESSION.view("layout")
            if view.window is None or view.window["visible"] != "1" or \
                    not set(DISPATCH_ROWS) <= set(view.controls):
                return None
            return view

        view = wait_for("the launcher window", shown, START_SECONDS, 0.2)
        self.hwnd = view.window["hwnd"]
        self.layout = {cid: rect_of(c["rect"]) for cid, c in view.controls.items()}
        # A blank spot of the window (above its first label): clicking it changes nothing.
        first = self.layout[IDC_EMU_PATH]
        self.blank_spot = (first[0] - 30, first[1] - 6)
        return self

    def view(self, *ids):
        return SESSION.view("ids " + " ".join(str(i) for i in ids))

    # Pointer and keys. Without a window manager X sends keys to the window under the
    # pointer, so the pointer stays over the window that should get them.

    def click_at(self, x, y):
        SESSION.xdotool("mousemove", x, y, "sleep", "0.05", "click", "1")

    def click(self, control_id):
        exercised.add(control_id)
        self.click_at(*centre(self.layout[control_id]))

    def keys(self, *names):
        SESSION.xdotool("key", "--delay", "30", *names)

    def type_text(self, text):
        SESSION.xdotool("type", "--delay", "30", text)

    # Edits.

    def edit_text(self, control_id):
        return self.view(control_id).text(control_id)

    def wait_text(self, control_id, text):
        wait_for("text %r in control %d" % (text, control_id),
                 lambda: self.edit_text(control_id) == text)

    def focus_after_earlier_input(self, control_id):
        """Clicks into an edit field and waits for the focus there. The launcher's thread takes
        clicks and keys in the order they came, so once this click has moved the focus, every
        earlier one has been handled and a check that it did nothing can follow. A list left
        dropped, a dialog or message box in front, or a window gone keeps the focus away, and
        the wait fails."""
        self.click(control_id)

        def focused():
            window = self.view().window
            return window is not None and window["focus"] == str(control_id)

        wait_for("the focus in control %d after the input before it" % control_id, focused)

    def clear_edit_at(self, x, y, check):
        self.click_at(x, y)
        self.keys("End", "shift+Home", "Delete")
        wait_for("the field to be empty", lambda: check() == "")

    def clear_edit(self, control_id):
        exercised.add(control_id)
        self.clear_edit_at(*centre(self.layout[control_id]),
                           lambda: self.edit_text(control_id))

    def type_into(self, control_id, text):
        """Types `text` at the end of the field one key at a time, waiting until the field
        shows each one. The field is clicked first: Launch may have taken the focus."""
        exercised.add(control_id)
        self.click(control_id)
        self.keys("End")
        shown = self.edit_text(control_id)
        for character in text:
            self.type_text(character)
            shown += character
            self.wait_text(control_id, shown)

    # Lists.

    def combo(self, control_id):
        return self.view(control_id).combos[control_id]

    def open_list(self, control_id):
        """Clicks the list's arrow; returns the probe's view of the dropped list."""
        exercised.add(control_id)
        rect = self.layout[control_id]
        self.click_at(rect[2] - 8, (rect[1] + rect[3]) // 2)

        def dropped():
            view = self.view(control_id)
            lists = view.toplevels_of_class("ComboLBox")
            if view.combos[control_id]["dropped"] == "1" and lists:
                return view
            return None

        return wait_for("list %d to drop" % control_id, dropped)

    def choose_with_mouse(self, control_id, label):
        view = self.open_list(control_id)
        combo = view.combos[control_id]
        index = combo["items"].index(label)
        list_rect = rect_of(view.toplevels_of_class("ComboLBox")[0]["rect"])
        height = int(combo["itemHeight"])
        row = index - int(combo["top"])
        y = list_rect[1] + 1 + row * height + height // 2
        if row < 0 or y >= list_rect[3] - 1:
            raise AssertionError("item %r is not in view in list %d" % (label, control_id))
        self.click_at(list_rect[0] + 20, y)
        wait_for("%r chosen in list %d" % (label, control_id),
                 lambda: self._closed_on(control_id, index))

    def _closed_on(self, control_id, index):
        combo = self.combo(control_id)
        return combo["dropped"] == "0" and int(combo["sel"]) == index

    def click_list_field(self, control_id):
        """Clicks into the list's edit field, away from its arrow."""
        exercised.add(control_id)
        rect = rect_of(self.combo(control_id)["edit"])
        self.click_at(rect[0] + 10, (rect[1] + rect[3]) // 2)

    def choose_with_arrow_keys(self, control_id, label):
        """In the list's field, Down and Up step through the items."""
        self.click_list_field(control_id)
        combo = self.combo(control_id)
        steps = combo["items"].index(label) - int(combo["sel"])
        for _ in range(abs(steps)):
            self.keys("Down" if steps > 0 else "Up")
        index = combo["items"].index(label)
        wait_for("%r chosen in list %d" % (label, control_id),
                 lambda: self._closed_on(control_id, index))

    def choose_with_dropped_keys(self, control_id, label):
        """F4 drops the list, Down and Up move in it, Return closes it on the item."""
        self.click_list_field(control_id)
        combo = self.combo(control_id)
        self.keys("F4")
        wait_for("list %d to drop" % control_id,
                 lambda: self.combo(control_id)["dropped"] == "1")
        steps = combo["items"].index(label) - int(combo["sel"])
        for _ in range(abs(steps)):
            self.keys("Down" if steps > 0 else "Up")
        self.keys("Return")
        index = combo["items"].index(label)
        wait_for("%r chosen in list %d" % (label, control_id),
                 lambda: self._closed_on(control_id, index))

    # Check boxes and buttons.

    def toggle(self, control_id):
        before = self.view(control_id).controls[control_id]["check"]
        self.click(control_id)
        wait_for("check box %d to change" % control_id,
                 lambda: self.view(control_id).controls[control_id]["check"] != before)
        return self.view(control_id).controls[control_id]["check"] == "1"

    def launch(self, records_path=None):
        """Presses Launch; returns the new start's (parameters, directory, program)."""
        path = records_path or self.launches_path
        count = len(read_launches(path))
        self.click(IDC_LAUNCH)
        records = wait_for("the emulator to start",
                           lambda: read_launches(path)[count:], START_SECONDS, 0.1)
        return self.split_command(records[0])

    @staticmethod
    def split_command(record):
        command, directory = record
        if not command.startswith('"'):
            raise AssertionError("unexpected command line " + command)
        end = command.index('"', 1)
        program = command[1:end]
        if command[end + 1:end + 2] != " ":
            raise AssertionError("no parameters in " + command)
        return command[end + 2:], directory, program

    # File dialog.

    def open_file_dialog(self, browse_id):
        before = {t["hwnd"] for t in SESSION.view("").toplevels}
        self.click(browse_id)

        def opened():
            for window in SESSION.view("").toplevels:
                if window["hwnd"] not in before and window["class"] == "#32770":
                    return window
            return None

        dialog = wait_for("the open-file dialog", opened)
        if dialog["owner"] != self.hwnd:
            raise AssertionError("the open-file dialog is not the launcher's: %r" % dialog)
        return dialog

    def file_name_field(self, dialog):
        children = SESSION.view("window " + dialog["title"]).children
        for child in children:
            if child["class"] == "Edit" and child["visible"] == "1" and \
                    child["parentId"] == "1148":
                return rect_of(child["rect"])
        for child in children:
            if child["class"] == "Edit" and child["visible"] == "1":
                return rect_of(child["rect"])
        raise AssertionError("the open-file dialog has no file-name field")

    def dialog_gone(self, dialog):
        return all(t["hwnd"] != dialog["hwnd"] for t in SESSION.view("").toplevels)

    # The end.

    def close(self):
        """Alt+F4 on the window; returns the exit status."""
        self.click_at(*self.blank_spot)
        self.keys("alt+F4")
        try:
            return self.process.wait(timeout=START_SECONDS)
        except subprocess.TimeoutExpired:
            raise AssertionError("the launcher did not end after Alt+F4")

    def stop(self):
        """Ends a launcher a test left running: closed as a person would, killed if stuck."""
        if self.process is None or self.process.poll() is not None:
            return
        if self.blank_spot is None:
            self.process.kill()
            self.process.wait()
            return
        try:
            if SESSION.view("").toplevels_of_class("ComboLBox"):
                self.keys("Escape")
            self.click_at(*self.blank_spot)
            self.keys("alt+F4")
            self.process.wait(timeout=15)
        except (AssertionError, subprocess.TimeoutExpired, subprocess.CalledProcessError):
            self.process.kill()
            self.process.wait()

    def saved(self):
        return read_settings_file(self.ini_path)


# ---------------------------------------------------------------------------------------------
# The tests.


def take_failure_screenshot(test):
    base = "failure-" + test.id().split(".")[-1]
    name = base
    number = 1
    while name in take_failure_screenshot.taken:
        number += 1
        name = "%s-%d" % (base, number)
    take_failure_screenshot.taken.add(name)
    print("\nscreenshot: " + SESSION.screenshot(name), file=sys.stderr)


take_failure_screenshot.taken = set()


def screenshot_on_failure(method):
    @functools.wraps(method)
    def wrapper(self):
        try:
            method(self)
        except BaseException:
            take_failure_screenshot(self)
            raise
    return wrapper


class LauncherTest(unittest.TestCase):
    """Starts a launcher with the settings file the test gives and ends it afterwards."""

    def __init_subclass__(cls, **kwargs):
        super().__init_subclass__(**kwargs)
        for name in list(vars(cls)):
            if name.startswith("test"):
                setattr(cls, name, screenshot_on_failure(getattr(cls, name)))

    @contextlib.contextmanager
    def subTest(self, **params):
        with super().subTest(**params):
            try:
                yield
            except Exception:
                take_failure_screenshot(self)
                raise

    def start(self, overrides=None, ini=None, env=None, parent=None, folder=None):
        """A launcher whose settings file holds the defaults changed by `overrides`; `ini`
        gives the file's whole text instead; `env` is its process's environment; `parent`
        starts it through another parent (Launcher.start); `folder` names its folder "run
        FOLDER" instead of after the test. Returns it and the settings it should hold."""
        name = self.id().split(".")[-1]
        if getattr(self, "launcher", None) is not None:
            self.launcher.stop()  # one test may start several in turn
        self.launcher = Launcher(folder or name)
        values = default_settings(self.launcher.dir)
        values.update(overrides or {})
        text = ini if ini is not None else ini_text(values)
        with open(self.launcher.ini_path, "wb") as file:
            file.write(text.encode("latin-1"))
        self.addCleanup(self.launcher.stop)
        self.launcher.start(env, parent)
        return self.launcher, values

    def assertLaunches(self, launcher, values, program=None, records_path=None):
        parameters, directory, started = launcher.launch(records_path)
        self.assertEqual(parameters, expected_parameters(values))
        self.assertEqual(directory, launcher.win_dir)
        self.assertEqual(started, program or values["emuPath"])
        return parameters

    def assertSavedOnClose(self, launcher, values):
        self.assertEqual(launcher.close(), 1)
        self.assertEqual(launcher.saved(), [(key, values[key]) for key in SETTING_KEYS])


class ThreedModeTest(LauncherTest):
    def test_affine_lists_two_colour_palettes_and_side_brings_back_the_plain_ones(self):
        launcher, values = self.start({"threedMode": "0", "pallet": "1"})
        launcher.choose_with_mouse(IDC_3D_MODE, "Affine")
        view = launcher.view(IDC_3D_MODE, IDC_PALLET)
        self.assertEqual(view.combos[IDC_PALLET]["items"], TWO_COLOUR_PALETTE_LABELS)
        self.assertEqual(view.combos[IDC_PALLET]["sel"], "0")
        self.assertEqual(view.text(IDC_PALLET), "Red-Blue")
        values.update(threedMode="1", pallet="0")
        parameters = self.assertLaunches(launcher, values)
        self.assertIn(" -dspmode affine ", parameters)
        self.assertIn(" -pallet rb ", parameters)

        launcher.choose_with_mouse(IDC_PALLET, "Magenta-Green")
        values.update(pallet="4")
        self.assertLaunches(launcher, values)

        launcher.choose_with_mouse(IDC_3D_MODE, "Side")
        view = launcher.view(IDC_PALLET)
        self.assertEqual(view.combos[IDC_PALLET]["items"], PLAIN_PALETTE_LABELS)
        self.assertEqual(view.combos[IDC_PALLET]["sel"], "0")
        self.assertEqual(view.text(IDC_PALLET), "Normal")
        values.update(threedMode="4", pallet="0")
        parameters = self.assertLaunches(launcher, values)
        self.assertIn(" -dspmode side ", parameters)
        self.assertIn(" -pallet normal ", parameters)
        self.assertSavedOnClose(launcher, values)


class RealEditTest(LauncherTest):
    # Each edit, cleared, then typed into key by key: (edit, setting, [(typed, stored)]).
    # The texts stay within what the narrow fields hold: three digits, but only two letters
    # (a third letter does not fit and is refused).
    CASES = [
        (IDC_BRIGHTNESS, "bFactor",
         [("2", "2.000000"), (".", "2.000000"), ("5", "2.500000")]),
        (IDC_BRIGHTNESS, "bFactor", [("a", "0.000000"), ("b", "0.000000")]),
        (IDC_BAL_R, "balr", [("0", "0.000000"), (".", "0.000000"), ("7", "0.700000")]),
        (IDC_BAL_G, "balg", [("3", "3.000000"), ("e", "3.000000")]),
        (IDC_BAL_B, "balb", [("-", "0.000000"), (".", "0.000000"), ("2", "-0.200000")]),
    ]

    def test_typing_changes_the_real_at_once(self):
        launcher, values = self.start()
        for control_id, key, steps in self.CASES:
            with self.subTest(control=control_id, steps=steps):
                launcher.clear_edit(control_id)
                values[key] = "0.000000"  # an empty field reads as zero
                for typed, stored in steps:
                    launcher.type_into(control_id, typed)
                    values[key] = stored
                    self.assertLaunches(launcher, values)
        self.assertSavedOnClose(launcher, values)


class FrameSkipTest(LauncherTest):
    # Start value, then (action, number shown) per step: a click on an arrow (the up arrow
    # lowers the number), the Up or Down key in the field, or a number typed into the cleared
    # field.
    CASES = [
        ("5", [("up", "4"), ("down", "5"), ("down", "6")]),
        ("1", [("up", "0"), ("up", "0")]),
        ("99", [("down", "100"), ("down", "100"), ("up", "99")]),
        ("3", [("type", "12"), ("up", "11"), ("type", "100"), ("down", "100"), ("up", "99"),
               ("Up key", "98"), ("Down key", "99")]),
    ]

    def test_arrows_step_within_0_to_100(self):
        for start, steps in self.CASES:
            with self.subTest(start=start):
                launcher, values = self.start({"fSkip": start})
                spin = launcher.layout[IDC_FRAME_SKIP_SPIN]
                middle_x = (spin[0] + spin[2]) // 2
                quarter = (spin[3] - spin[1]) // 4
                for action, shown in steps:
                    if action == "type":
                        launcher.clear_edit(IDC_FRAME_SKIP)
                        launcher.type_into(IDC_FRAME_SKIP, shown)
                    elif action.endswith(" key"):
                        launcher.click(IDC_FRAME_SKIP)
                        launcher.keys(action.split()[0])
                        launcher.wait_text(IDC_FRAME_SKIP, shown)
                    else:
                        y = spin[1] + quarter if action == "up" else spin[3] - quarter - 1
                        exercised.update((IDC_FRAME_SKIP_SPIN, IDC_FRAME_SKIP))
                        launcher.click_at(middle_x, y)
                        launcher.wait_text(IDC_FRAME_SKIP, shown)
                    values["fSkip"] = shown
                    self.assertLaunches(launcher, values)
                self.assertSavedOnClose(launcher, values)


class SwitchTest(LauncherTest):
    # The eleven switches in parameter-text order: the control a person uses, and the setting.
    CASES = [
        (IDC_SWAP, "swap"), (IDC_HSTRETCH, "hstretch"), (IDC_TIMMER_HACK, "timmerHack"),
        (IDC_VF_HACK, "vfHack"), (IDC_RAM_HACK, "more_ram"), (IDC_DEBUG, "debug"),
        (IDC_DISASM, "disasm"), (IDC_CONSOLE, "stdout"), (IDC_KEY_MAP, "keyMap"),
        (IDC_NO_THROTTLE, "nothrtl"), (IDC_STATUS_LINE, "status"),
    ]

    def test_each_switch_alone_at_its_position(self):
        launcher, values = self.start()
        self.assertEqual([key for _, key in self.CASES], [key for key, _ in SWITCHES])
        for control_id, key in self.CASES:
            with self.subTest(setting=key):
                if control_id == IDC_KEY_MAP:
                    launcher.choose_with_mouse(IDC_KEY_MAP, "Alternate")
                else:
                    self.assertTrue(launcher.toggle(control_id))
                values[key] = "1"
                self.assertLaunches(launcher, values)
                if control_id == IDC_KEY_MAP:
                    launcher.choose_with_mouse(IDC_KEY_MAP, "Default")
                else:
                    self.assertFalse(launcher.toggle(control_id))
                values[key] = "0"
        self.assertLaunches(launcher, values)
        self.assertSavedOnClose(launcher, values)

    def test_every_switch_on_together(self):
        launcher, values = self.start({"keyMap": "1"})
        for control_id, key in self.CASES:
            if control_id != IDC_KEY_MAP:
                self.assertTrue(launcher.toggle(control_id))
                values[key] = "1"
        self.assertLaunches(launcher, values)
        self.assertSavedOnClose(launcher, values)

    def test_ram_hack_clicked_off_and_on_keeps_only_0_or_1(self):
        launcher, values = self.start({"more_ram": "2"})
        self.assertEqual(launcher.view(IDC_RAM_HACK).controls[IDC_RAM_HACK]["check"], "1")
        self.assertLaunches(launcher, values)
        for checked, stored in ((False, "0"), (True, "1"), (False, "0")):
            self.assertEqual(launcher.toggle(IDC_RAM_HACK), checked)
            values["more_ram"] = stored
            self.assertLaunches(launcher, values)
        self.assertSavedOnClose(launcher, values)


class ListTest(LauncherTest):
    # What each list offers, in order.
    LABELS = [
        (IDC_DISPLAY_MODE, DISPLAY_LABELS), (IDC_3D_MODE, THREED_LABELS),
        (IDC_ZOOM, ZOOM_LABELS), (IDC_PALLET, PLAIN_PALETTE_LABELS),
        (IDC_KEY_MAP, KEY_MAP_LABELS), (IDC_CONTROLLER, CONTROLLER_LABELS),
        (IDC_JOYSTICK, JOYSTICK_LABELS),
    ]
    # (list, label chosen, setting, stored index, how): each way of choosing.
    CASES = [
        (IDC_DISPLAY_MODE, "1024x768", "dspMode", "4", "mouse"),
        (IDC_DISPLAY_MODE, "320x200", "dspMode", "1", "arrow keys"),
        (IDC_ZOOM, "3x", "scale", "3", "arrow keys"),
        (IDC_ZOOM, "Stretch", "scale", "0", "mouse"),
        (IDC_CONTROLLER, "IBM (0x3BC)", "pport", "4", "dropped keys"),
        (IDC_CONTROLLER, "lpt2 (0x278)", "pport", "2", "mouse"),
        (IDC_KEY_MAP, "Alternate", "keyMap", "1", "arrow keys"),
        (IDC_3D_MODE, "CyberScope", "threedMode", "5", "dropped keys"),
        (IDC_DISPLAY_MODE, "1600x1200", "dspMode", "7", "dropped keys"),
    ]

    def test_each_list_by_mouse_and_keyboard(self):
        launcher, values = self.start()
        shown = launcher.view(*(control_id for control_id, _ in self.LABELS))
        for control_id, labels in self.LABELS:
            with self.subTest(list=control_id):
                self.assertEqual(shown.combos[control_id]["items"], labels)
        for control_id, label, key, index, how in self.CASES:
            with self.subTest(label=label, how=how):
                if how == "mouse":
                    launcher.choose_with_mouse(control_id, label)
                elif how == "arrow keys":
                    launcher.choose_with_arrow_keys(control_id, label)
                else:
                    launcher.choose_with_dropped_keys(control_id, label)
                self.assertEqual(launcher.view(control_id).text(control_id), label)
                values[key] = index
                self.assertLaunches(launcher, values)
        self.assertSavedOnClose(launcher, values)

    def test_typing_into_a_list_field_changes_nothing(self):
        launcher, values = self.start({"dspMode": "2", "scale": "4", "pport": "1"})
        self.assertLaunches(launcher, values)
        for control_id, typed in ((IDC_DISPLAY_MODE, "1600x1200"), (IDC_ZOOM, "zz"),
                                  (IDC_CONTROLLER, "none")):
            with self.subTest(control=control_id):
                field = rect_of(launcher.combo(control_id)["edit"])
                launcher.clear_edit_at(field[0] + 10, (field[1] + field[3]) // 2,
                                       lambda: launcher.view(control_id).text(control_id))
                exercised.add(control_id)
                launcher.type_text(typed)
                launcher.wait_text(control_id, typed)
                self.assertLaunches(launcher, values)
        self.assertSavedOnClose(launcher, values)

    def test_the_disabled_joystick_list_ignores_clicks(self):
        launcher, values = self.start({"joy": "1"})
        view = launcher.view(IDC_JOYSTICK)
        self.assertEqual(view.controls[IDC_JOYSTICK]["enabled"], "0")
        self.assertEqual(view.text(IDC_JOYSTICK), "Joy Map 1")
        rect = launcher.layout[IDC_JOYSTICK]
        exercised.add(IDC_JOYSTICK)
        launcher.click_at(rect[2] - 8, (rect[1] + rect[3]) // 2)
        launcher.click_at(rect[0] + 20, (rect[1] + rect[3]) // 2)
        launcher.keys("Down")
        launcher.focus_after_earlier_input(IDC_BRIGHTNESS)
        view = launcher.view(IDC_JOYSTICK)
        self.assertEqual(view.combos[IDC_JOYSTICK]["dropped"], "0")
        self.assertEqual(view.toplevels_of_class("ComboLBox"), [])
        self.assertEqual(view.combos[IDC_JOYSTICK]["sel"], "1")
        self.assertLaunches(launcher, values)
        self.assertSavedOnClose(launcher, values)


class PathTest(LauncherTest):
    def test_typed_paths_are_launched(self):
        launcher, values = self.start()
        other_dir = os.path.join(launcher.dir, "alt")
        os.makedirs(other_dir)
        shutil.copy(ARGS.emulator, os.path.join(other_dir, "runner.exe"))
        program = launcher.win_dir + "\\alt\\runner.exe"
        launcher.clear_edit(IDC_EMU_PATH)
        launcher.type_text(program)
        launcher.wait_text(IDC_EMU_PATH, program)
        rom = "Z:\\roms\\my game.vb"
        launcher.clear_edit(IDC_ROM_PATH)
        launcher.type_text(rom)
        launcher.wait_text(IDC_ROM_PATH, rom)
        values.update(emuPath=program, romPath=rom)
        self.assertLaunches(launcher, values, program,
                            os.path.join(other_dir, "launches.txt"))
        self.assertFalse(os.path.exists(launcher.launches_path))
        self.assertSavedOnClose(launcher, values)

    def choose_in_dialog(self, launcher, browse_id, *names):
        """Types each name into the dialog's field and presses Return: a folder's name goes
        into the folder, as a person goes there; the last is the file."""
        dialog = launcher.open_file_dialog(browse_id)
        field = launcher.file_name_field(dialog)
        for name in names:
            launcher.clear_edit_at(*centre(field), lambda: self.dialog_field_text(dialog))
            launcher.type_text(name)
            launcher.keys("Return")
        wait_for("the open-file dialog to close", lambda: launcher.dialog_gone(dialog))

    @staticmethod
    def dialog_field_text(dialog):
        for child in SESSION.view("window " + dialog["title"]).children:
            if child["class"] == "Edit" and child["visible"] == "1":
                return child["text"]
        return None

    def test_browsing_chooses_the_emulator_and_the_rom(self):
        launcher, values = self.start()
        shutil.copy(ARGS.emulator, os.path.join(launcher.dir, "runner.exe"))
        self.choose_in_dialog(launcher, IDC_EMU_BROWSE, "runner.exe")
        program = launcher.win_dir + "\\runner.exe"
        launcher.wait_text(IDC_EMU_PATH, program)
        # A file that does not exist may be chosen as well.
        self.choose_in_dialog(launcher, IDC_ROM_BROWSE, "missing game.vb")
        rom = launcher.win_dir + "\\missing game.vb"
        launcher.wait_text(IDC_ROM_PATH, rom)
        values.update(emuPath=program, romPath=rom)
        self.assertLaunches(launcher, values, program)
        self.assertSavedOnClose(launcher, values)

    def test_a_relative_start_keeps_to_the_launchers_folder(self):
        """A parent (a script, a console, another front end) in the folder above starts
        "run NAME\\launcher.exe" with "elsewhere" as its working directory; then the dialog goes
        into the folder "picked", which moves the current directory there (Wine's dialog as
        Windows'), and a file is picked. The relative path names the launcher only against the
        parent's folder."""
        for folder in ("elsewhere", "picked"):
            shutil.rmtree(os.path.join(ARGS.work_dir, folder), ignore_errors=True)
            os.makedirs(os.path.join(ARGS.work_dir, folder))
        application = "run %s\\launcher.exe" % self.id().split(".")[-1]
        launcher, values = self.start({"swap": "1"},
                                      parent=(application, "elsewhere", ARGS.work_dir))
        self.assertEqual(launcher.view(IDC_SWAP).controls[IDC_SWAP]["check"], "1")
        picked = windows_path(os.path.join(ARGS.work_dir, "picked"))
        values["romPath"] = picked + "\\game.vb"
        self.choose_in_dialog(launcher, IDC_ROM_BROWSE, picked, "game.vb")
        launcher.wait_text(IDC_ROM_PATH, values["romPath"])
        self.assertLaunches(launcher, values)
        self.assertSavedOnClose(launcher, values)
        strays = [folder for folder, _, files in os.walk(ARGS.work_dir) if "quellix.ini" in files
                  for place in [os.path.relpath(folder, ARGS.work_dir)]
                  if not place.startswith("run ") or os.sep in place]
        self.assertEqual(strays, [])

    def map_drive(self, letter):
        """Makes `letter` a drive whose root is this test's launcher folder; returns its link."""
        drive = os.path.join(SESSION.prefix, "dosdevices", letter + ":")
        if os.path.lexists(drive):
            os.remove(drive)
        os.symlink(os.path.join(ARGS.work_dir, "run " + self.id().split(".")[-1]), drive)
        self.addCleanup(lambda: os.path.lexists(drive) and os.remove(drive))
        return drive

    def test_at_a_drives_root_the_emulator_starts_in_the_root(self):
        """The launcher at the top of a drive (E:\\launcher.exe on a USB stick), started as
        Explorer does. Its folder "Q:" alone names the drive's current directory, which a pick
        in Q:\\roms moves there; the emulator must still start in Q:\\."""
        self.map_drive("q")
        launcher, values = self.start(ini="[main]\r\n",
                                      parent=("Q:\\launcher.exe", "Q:\\", ARGS.work_dir))
        os.makedirs(os.path.join(launcher.dir, "roms"))
        values.update(emuPath="Q:\\quellix.exe", romPath="Q:\\roms\\game.vb")
        self.choose_in_dialog(launcher, IDC_ROM_BROWSE, "roms", "game.vb")
        launcher.wait_text(IDC_ROM_PATH, values["romPath"])
        self.assertEqual(launcher.launch(),
                         (expected_parameters(values), "Q:\\", values["emuPath"]))
        self.assertEqual(launcher.close(), 1)
        self.assertEqual(dict(launcher.saved()), values)

    def test_a_moved_drive_letter_takes_the_paths_along(self):
        """A stick saved as S: is T: on the next PC: the emulator's path moves to T:, where the
        emulator is; the ROM's path, which names nothing on T: either, stays as stored."""
        saved = {}
        for letter in ("S", "T"):
            drive = self.map_drive(letter.lower())
            launcher, values = self.start(ini=saved.get("text", "[main]\r\n"),
                                          parent=(letter + ":\\launcher.exe", letter + ":\\",
                                                  ARGS.work_dir))
            values.update(emuPath=letter + ":\\quellix.exe", romPath="S:\\vb_demo_1.vb")
            if letter == "T":
                self.assertEqual(launcher.launch(),
                                 (expected_parameters(values), "T:\\", values["emuPath"]))
            self.assertSavedOnClose(launcher, values)
            with open(launcher.ini_path, "rb") as file:
                saved["text"] = file.read().decode("latin-1")
            os.remove(drive)

    def test_a_259_character_rom_path_is_kept_over_two_runs(self):
        launcher, values = self.start()
        values["romPath"] = "Z:\\" + "r" * 253 + ".vb"
        launcher.clear_edit(IDC_ROM_PATH)
        launcher.type_text(values["romPath"])
        launcher.wait_text(IDC_ROM_PATH, values["romPath"])
        self.assertSavedOnClose(launcher, values)
        with open(launcher.ini_path, "rb") as file:
            launcher, _ = self.start(ini=file.read().decode("latin-1"))
        self.assertEqual(launcher.edit_text(IDC_ROM_PATH), values["romPath"])
        self.assertLaunches(launcher, values)

    def test_a_folder_name_outside_the_code_page(self):
        """A Cyrillic folder under code page 1252 (the German locale), whose ANSI texts hold "?"
        for each letter: through its short (8.3) name the file is read and written, and Launch
        starts the emulator beside the launcher."""
        env = dict(SESSION.env, LC_ALL="de_DE.UTF-8")
        launcher, _ = self.start(ini="[main]\r\nswap=1\r\n", env=env,
                                 folder="\u0418\u0433\u0440\u044b")
        self.assertEqual(launcher.view(IDC_SWAP).controls[IDC_SWAP]["check"], "1")
        emulator = launcher.edit_text(IDC_EMU_PATH)
        self.assertTrue(emulator.endswith("\\quellix.exe") and "?" not in emulator, emulator)
        _, directory, program = launcher.launch()
        self.assertEqual((program, directory), (emulator, emulator[:-len("\\quellix.exe")]))
        self.assertEqual(launcher.close(), 1)
        self.assertEqual(dict(launcher.saved())["emuPath"], emulator)

    def test_cancelled_browsing_changes_nothing(self):
        launcher, values = self.start()
        # The Rom Path's "..." first: each button is the first press after a start in one test
        # or another, when its DLL is not loaded yet.
        for browse_id, how in ((IDC_ROM_BROWSE, "Escape"), (IDC_EMU_BROWSE, "Cancel button"),
                               (IDC_ROM_BROWSE, "Cancel button"), (IDC_EMU_BROWSE, "Escape")):
            with self.subTest(browse=browse_id, how=how):
                dialog = launcher.open_file_dialog(browse_id)
                field = launcher.file_name_field(dialog)
                launcher.click_at(*centre(field))
                launcher.type_text("other.exe")
                if how == "Escape":
                    launcher.keys("Escape")
                else:
                    children = SESSION.view("window " + dialog["title"]).children
                    cancel = [c for c in children if c["class"] == "Button" and c["id"] == "2"]
                    launcher.click_at(*centre(rect_of(cancel[0]["rect"])))
                wait_for("the open-file dialog to close", lambda: launcher.dialog_gone(dialog))
                view = launcher.view(IDC_EMU_PATH, IDC_ROM_PATH)
                self.assertEqual(view.text(IDC_EMU_PATH), values["emuPath"])
                self.assertEqual(view.text(IDC_ROM_PATH), values["romPath"])
                self.assertLaunches(launcher, values)
        self.assertSavedOnClose(launcher, values)


class ButtonTest(LauncherTest):
    def test_launch_twice_starts_twice(self):
        launcher, values = self.start({"dspMode": "3", "swap": "1"})
        self.assertLaunches(launcher, values)
        self.assertLaunches(launcher, values)
        self.assertEqual(len(read_launches(launcher.launches_path)), 2)
        self.assertSavedOnClose(launcher, values)

    def test_help_opens_the_page_beside_the_launcher(self):
        launcher, values = self.start()
        viewer_dir = os.path.join(launcher.dir, "viewer")
        os.makedirs(viewer_dir)
        viewer = os.path.join(viewer_dir, "viewer.exe")
        shutil.copy(ARGS.emulator, viewer)
        register_page_viewer(windows_path(viewer))
        records_path = os.path.join(viewer_dir, "launches.txt")
        launcher.click(IDC_HELP)
        records = wait_for("the page viewer to start", lambda: read_launches(records_path),
                           START_SECONDS, 0.1)
        self.assertEqual(len(records), 1)
        command, directory = records[0]
        self.assertEqual(directory, launcher.win_dir)
        prefix = '"' + windows_path(viewer) + '" "'
        self.assertTrue(command.startswith(prefix), command)
        page = command[len(prefix):].rstrip().rstrip('"')  # the page by its full path
        self.assertEqual(page.lower(), (launcher.win_dir + "\\help\\help.html").lower())
        self.assertFalse(os.path.exists(launcher.launches_path))
        self.assertSavedOnClose(launcher, values)

    def test_buttons_whose_dll_cannot_load_do_nothing(self):
        """SHELL32 and COMDLG32 load at the first press that needs them. Where one cannot be
        loaded its buttons start and show nothing, and the launcher goes on. Wine shows this:
        its DLL overrides make a system DLL unloadable for one process; Windows has no such
        switch, and there its system copy is always there to load."""
        env = dict(SESSION.env, WINEDLLOVERRIDES="mscoree,mshtml,shell32,comdlg32=")
        launcher, values = self.start(env=env)
        before = {t["hwnd"] for t in SESSION.view("").toplevels}
        for button in (IDC_LAUNCH, IDC_HELP, IDC_EMU_BROWSE, IDC_ROM_BROWSE):
            launcher.click(button)
        # An open-file dialog, a message box or a page viewer would be there by then: the
        # launcher had handled all four presses before it took the click on Brightness.
        launcher.focus_after_earlier_input(IDC_BRIGHTNESS)
        shown = [t for t in SESSION.view("").toplevels if t["hwnd"] not in before]
        self.assertEqual(shown, [])
        self.assertFalse(os.path.exists(launcher.launches_path))
        self.assertSavedOnClose(launcher, values)


def register_page_viewer(program):
    """Makes `program` the suite prefix's program for .html pages. A user's own choice lives in
    HKCU\\Software\\Classes; this Wine does not look there (its HKEY_CLASSES_ROOT is the
    machine's classes alone), so the same association goes into HKCR too."""
    progid = "QuellixE2E.Page"
    for root in ("HKCU\\Software\\Classes", "HKCR"):
        for key, value in ((root + "\\.html", progid),
                           (root + "\\" + progid + "\\shell\\open\\command",
                            '"' + program + '" "%1"')):
            subprocess.run([SESSION.loader, "reg", "add", key, "/ve", "/d", value, "/f"],
                           env=SESSION.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, check=True)


class SettingsFileTest(LauncherTest):
    def test_untouched_window_saves_what_it_shows(self):
        # Only some keys in the file: the rest take their defaults, and all 24 are saved.
        launcher, values = self.start(ini="[main]\r\nbFactor=0.87\r\nbalr=1.25\r\nbalb=-2\r\n"
                                          "fSkip=7\r\npallet=5\r\nthreedMode=1\r\n")
        view = launcher.view(IDC_BRIGHTNESS, IDC_BAL_R, IDC_BAL_G, IDC_BAL_B, IDC_FRAME_SKIP,
                             IDC_PALLET)
        self.assertEqual(view.text(IDC_BRIGHTNESS), "0.9")
        self.assertEqual(view.text(IDC_BAL_R), "1.3")
        self.assertEqual(view.text(IDC_BAL_G), "1.0")
        self.assertEqual(view.text(IDC_BAL_B), "-2.0")
        self.assertEqual(view.text(IDC_FRAME_SKIP), "7")
        self.assertEqual(view.text(IDC_PALLET), "Blue-Green")
        values.update(bFactor="0.900000", balr="1.300000", balb="-2.000000", fSkip="7",
                      pallet="5", threedMode="1")
        # Keys already in the file keep their places and the others follow them.
        self.assertEqual(launcher.close(), 1)
        saved = launcher.saved()
        self.assertEqual(len(saved), 24)
        self.assertEqual(dict(saved), values)
        self.assertEqual([key for key, _ in saved[:6]],
                         ["bFactor", "balr", "balb", "fSkip", "pallet", "threedMode"])

    def test_positions_outside_the_lists_show_nothing_and_are_kept(self):
        launcher, values = self.start({"dspMode": "9", "threedMode": "7", "pallet": "9",
                                       "keyMap": "3", "scale": "-1", "pport": "8", "joy": "5"})
        lists = (IDC_DISPLAY_MODE, IDC_3D_MODE, IDC_PALLET, IDC_KEY_MAP, IDC_ZOOM,
                 IDC_CONTROLLER, IDC_JOYSTICK)
        view = launcher.view(*lists)
        for control_id in lists:
            with self.subTest(control=control_id):
                self.assertEqual(view.combos[control_id]["sel"], "-1")
                self.assertEqual(view.text(control_id), "")
        self.assertEqual(view.combos[IDC_PALLET]["items"], PLAIN_PALETTE_LABELS)
        self.assertLaunches(launcher, values)
        self.assertSavedOnClose(launcher, values)

    def test_untouched_window_launches_what_the_file_holds(self):
        launcher, values = self.start({
            "dspMode": "6", "threedMode": "3", "pallet": "1", "fSkip": "12",
            "bFactor": "1.500000", "balr": "0.500000", "balg": "2.000000", "balb": "0.100000",
            "scale": "6", "pport": "3", "keyMap": "1", "joy": "0", "more_ram": "1",
            "swap": "1", "hstretch": "0", "timmerHack": "1", "vfHack": "0", "debug": "1",
            "nothrtl": "0", "status": "1", "disasm": "0", "stdout": "1"})
        self.assertLaunches(launcher, values)
        self.assertSavedOnClose(launcher, values)


class KeyboardTest(LauncherTest):
    def test_tab_return_and_escape_do_nothing_in_the_window(self):
        launcher, values = self.start({"bFactor": "1.500000"})
        launcher.click(IDC_BRIGHTNESS)
        launcher.keys("End")
        wait_for("the focus in Brightness",
                 lambda: launcher.view().window["focus"] == str(IDC_BRIGHTNESS))
        for key in ("Tab", "Return", "Escape", "shift+Tab"):
            with self.subTest(key=key):
                launcher.keys(key)
                # Keys are handled in the order they came: once a BackSpace after the key shows
                # in Brightness, the key has been handled, and it left the focus there and the
                # window open. (The field takes no more characters than it shows.)
                launcher.keys("BackSpace")
                launcher.wait_text(IDC_BRIGHTNESS, "1.")
                launcher.type_text("5")
                launcher.wait_text(IDC_BRIGHTNESS, "1.5")
                view = launcher.view(IDC_BRIGHTNESS)
                self.assertEqual(view.window["focus"], str(IDC_BRIGHTNESS))
                self.assertIsNone(launcher.process.poll())
        self.assertLaunches(launcher, values)
        # A start by Return would have come before Launch's own: Launch's must be the only one.
        self.assertEqual(len(read_launches(launcher.launches_path)), 1)
        self.assertSavedOnClose(launcher, values)


class SessionEndTest(LauncherTest):
    """Ends the Wine session, and with it every process of the suite's prefix (the probe
    included): the last test to run."""

    def test_the_end_of_the_session_saves_the_settings(self):
        """At log-off or shut-down the process is ended without its loop ever ending. Wine
        shows it as Windows does: wineboot sends the session's end to every window, then ends
        the processes."""
        launcher, values = self.start()
        self.assertTrue(launcher.toggle(IDC_SWAP))
        values["swap"] = "1"
        subprocess.run([SESSION.loader, "wineboot", "--end-session", "--shutdown"],
                       env=SESSION.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=START_SECONDS)
        launcher.process.wait(timeout=START_SECONDS)
        self.assertEqual(launcher.saved(), [(key, values[key]) for key in SETTING_KEYS])


class CoverageTest(unittest.TestCase):
    def test_every_dispatch_row_had_real_input(self):
        missing = [name for cid, name in sorted(DISPATCH_ROWS.items()) if cid not in exercised]
        self.assertEqual(missing, [], "controls no test reached")


# ---------------------------------------------------------------------------------------------
# Running.

SUITE_ORDER = [ThreedModeTest, RealEditTest, FrameSkipTest, SwitchTest, ListTest, PathTest,
               ButtonTest, SettingsFileTest, KeyboardTest, SessionEndTest, CoverageTest]


def test_name(test):
    """The test a result belongs to, a subtest's parent included."""
    return getattr(test, "test_case", test).id()


def main():
    global ARGS, SESSION
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--launcher", required=True)
    parser.add_argument("--emulator", required=True)
    parser.add_argument("--help-page", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--work-dir", required=True, help="test directories and screenshots")
    parser.add_argument("-k", dest="pattern", help="run only tests whose name holds this")
    ARGS = parser.parse_args()
    ARGS.work_dir = os.path.abspath(ARGS.work_dir)

    SESSION = Session(ARGS)
    if not SESSION.can_run():
        print("SKIPPED: this machine cannot run 32-bit code; the win64 build runs this suite.")
        print("0 passed, 0 failed, 1 skipped")
        return 77

    suite = unittest.TestSuite()
    loader = unittest.TestLoader()
    for case in SUITE_ORDER:
        for test in loader.loadTestsFromTestCase(case):
            if ARGS.pattern is None or ARGS.pattern in test.id() or case is CoverageTest:
                suite.addTest(test)
    if ARGS.pattern is not None:
        exercised.update(DISPATCH_ROWS)  # a partial run cannot cover every row

    started = time.monotonic()
    try:
        SESSION.start()
        result = unittest.TextTestRunner(verbosity=2, stream=sys.stdout).run(suite)
    except (OSError, RuntimeError, AssertionError) as error:
        print("the suite could not run: %s" % error)
        print("0 passed, %d failed" % suite.countTestCases())
        return 1
    finally:
        SESSION.stop()
    # Counted by test: a test with failing subtests is one failed test.
    failed = len({test_name(test) for test, _ in result.failures + result.errors} |
                 {test_name(test) for test in result.unexpectedSuccesses})
    skipped = len(result.skipped)
    passed = result.testsRun - failed - skipped
    print("suite time %.0f s" % (time.monotonic() - started))
    if result.expectedFailures:
        print("%d of the passed fail as expected (known faults)" % len(result.expectedFailures))
    summary = "%d passed, %d failed" % (passed, failed)
    if skipped:
        summary += ", %d skipped" % skipped
    print(summary)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
