"""The harness of the launcher's end-to-end suite (e2e_test.py holds the tests): the machine
(Xvfb, a Wine prefix of the suite's own, the probe that reads the window), one launcher in a
fresh directory and what a person does with it through X (xdotool), what a test expects of the
parameter text and the settings file, and the runner.

Every test starts its own launcher in a fresh directory holding launcher.exe, help\\help.html,
the stand-in emulator as quellix.exe and a quellix.ini the test writes. A small Windows probe
(probe.cpp) reports what the window shows (where each control is, its text, check mark and list
state) so the clicks can be aimed and what the window shows can be checked; every change is
made with real input.
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
import urllib.parse

from Xlib import X, display as xdisplay
from Xlib.protocol import event as xevent


def control_ids(header):
    """The control ids the resource header defines ("#define IDC_LAUNCH 1015"), by name."""
    ids = {}
    with open(header, encoding="ascii") as lines:
        for line in lines:
            words = line.split()
            if len(words) == 3 and words[0] == "#define" and words[1].startswith("IDC_"):
                ids[words[1]] = int(words[2])
    return ids


# Control ids of the launcher window, as the launcher is built with them; the tests import them
# by name (IDC_LAUNCH) from here.
CONTROL_IDS = control_ids(os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir,
                                       os.pardir, "src", "res", "resource.h"))
globals().update(CONTROL_IDS)

# Every row of the window's command dispatch, ids 1000-1028: each must be reached by real input
# somewhere in the suite (checked by the last test).
DISPATCH_LABELS = {
    "IDC_DISPLAY_MODE": "Display Mode list",
    "IDC_3D_MODE": "3D Mode list",
    "IDC_PALLET": "Pallet list",
    "IDC_FRAME_SKIP": "Frame Skip edit",
    "IDC_FRAME_SKIP_SPIN": "Frame Skip arrows",
    "IDC_SWAP": "swap display",
    "IDC_KEY_MAP": "Key Map list",
    "IDC_VF_HACK": "Vertical Force Hack",
    "IDC_TIMMER_HACK": "Long Timmer Hack",
    "IDC_DEBUG": "Debug Mode",
    "IDC_EMU_PATH": "Emulator Path edit",
    "IDC_ROM_PATH": "Rom Path edit",
    "IDC_EMU_BROWSE": "Emulator Path ...",
    "IDC_ROM_BROWSE": "Rom Path ...",
    "IDC_HELP": "Help",
    "IDC_LAUNCH": "Launch",
    "IDC_BRIGHTNESS": "Brightness edit",
    "IDC_BAL_R": "Balance r edit",
    "IDC_NO_THROTTLE": "No Throttle",
    "IDC_STATUS_LINE": "Status Line",
    "IDC_DISASM": "Dissasembly",
    "IDC_CONSOLE": "Console Output",
    "IDC_ZOOM": "Zoom list",
    "IDC_CONTROLLER": "VB Controller list",
    "IDC_JOYSTICK": "Joystick list (disabled)",
    "IDC_HSTRETCH": "horizontal 2x",
    "IDC_BAL_G": "Balance g edit",
    "IDC_BAL_B": "Balance b edit",
    "IDC_RAM_HACK": "Ram Hack",
}
DISPATCH_ROWS = {CONTROL_IDS[name]: label for name, label in DISPATCH_LABELS.items()}
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

# The command line (main fills it) and the machine (main configures it), the same two objects
# for the whole run, so the tests may import them.
ARGS = argparse.Namespace()


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
        self.processes = []
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
            elif kind == "process":
                self.processes.append(fields)

    def text(self, control_id):
        return self.controls[control_id]["text"]

    def toplevels_of_class(self, class_name):
        return [t for t in self.toplevels if t["class"] == class_name]

    def launcher_windows(self):
        return [t for t in self.toplevels if t["title"] == WINDOW_TITLE]


class Session:
    """What the whole suite shares: the display, the Wine prefix and the probe."""

    def __init__(self):
        self.args = None
        self.xvfb = None
        self.probe = None

    def configure(self, args):
        self.args = args
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

    def children_of(self, pid):
        """The running processes that the process `pid` started (Windows process ids)."""
        return [p for p in self.view("processes").processes if p["parent"] == pid]

    def xdotool(self, *words):
        subprocess.run(["xdotool"] + [str(word) for word in words], env=self.env, check=True,
                       stdout=subprocess.DEVNULL)

    def screenshot(self, name):
        path = os.path.join(self.args.work_dir, name + ".png")
        subprocess.run(["import", "-window", "root", path], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path


SESSION = Session()


def drop_files(paths, x, y):
    """Drops `paths` at (x, y) as a file manager does, playing the source's part of the XDND
    protocol, which Wine turns into WM_DROPFILES: enter, position, drop; the files' URIs are
    handed over when the target asks for the selection (Wine asks at once, on entering)."""
    screen = xdisplay.Display(SESSION.env["DISPLAY"])
    atom = screen.intern_atom
    targets = [w for w in screen.screen().root.query_tree().children
               if w.get_wm_name() == WINDOW_TITLE and w.get_full_property(atom("XdndAware"), 0)
               and w.get_attributes().map_state == X.IsViewable]
    if len(targets) != 1:
        raise AssertionError("no single launcher window takes drops: %r" % targets)
    target = targets[0]
    source = screen.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
    source.set_selection_owner(atom("XdndSelection"), X.CurrentTime)
    uris = "".join("file://%s\r\n" % urllib.parse.quote(path) for path in paths).encode()

    def send(name, *data):
        target.send_event(xevent.ClientMessage(window=target, client_type=atom(name),
                                               data=(32, [source.id, *data, 0, 0, 0][:5])))
        screen.flush()

    def answer_until(name):
        deadline = time.monotonic() + REACTION_SECONDS
        while time.monotonic() < deadline:
            if not screen.pending_events():
                time.sleep(0.005)
                continue
            got = screen.next_event()
            if got.type == X.SelectionRequest:
                offered = got.target == atom("text/uri-list")
                if offered:
                    got.requestor.change_property(got.property, got.target, 8, uris)
                got.requestor.send_event(xevent.SelectionNotify(
                    time=got.time, requestor=got.requestor, selection=got.selection,
                    target=got.target, property=got.property if offered else X.NONE))
                screen.flush()
            elif got.type == X.ClientMessage and got.client_type == atom(name):
                return got.data[1]
        raise AssertionError("no %s from the launcher window" % name)

    send("XdndEnter", 5 << 24, atom("text/uri-list"))
    send("XdndPosition", 0, (x << 16) | y, X.CurrentTime, atom("XdndActionCopy"))
    if not answer_until("XdndStatus")[1] & 1:
        raise AssertionError("the launcher window refuses the drop at %d,%d" % (x, y))
    send("XdndDrop", 0, X.CurrentTime)
    answer_until("XdndFinished")
    screen.close()


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
        self.pid = None

    @property
    def ini_path(self):
        return os.path.join(self.dir, "quellix.ini")

    @property
    def launches_path(self):
        return os.path.join(self.dir, "launches.txt")

    def start(self, env=None, parent=None, arguments=(), folder=None):
        """Starts the launcher by its full path with `arguments`, from its folder or `folder`;
        `parent`: (application, working directory, parent's folder) for the probe as a parent
        calling CreateProcess with them (it ends with the launcher's exit status)."""
        wait_for("the previous launcher window to go",
                 lambda: not SESSION.view("").launcher_windows(), START_SECONDS)
        command = [SESSION.loader, os.path.join(self.dir, "launcher.exe"), *arguments]
        folder = folder or self.dir
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
        self.pid = view.launcher_windows()[0]["pid"]
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

    def settled_launches(self, records_path=None):
        """The stand-in's records once the launcher has handled every input before this call
        and every program it started has ended: a start made by any of that input has left its
        record by then, however late it came, so the number is final."""
        self.focus_after_earlier_input(IDC_BRIGHTNESS)
        wait_for("the programs the launcher started to end",
                 lambda: not SESSION.children_of(self.pid), START_SECONDS, 0.2)
        return read_launches(records_path or self.launches_path)

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

    def start(self, overrides=None, ini=None, env=None, parent=None, dir_name=None, **how):
        """A launcher whose settings file holds the defaults changed by `overrides`; `ini`
        gives the file's whole text (or its bytes) instead; `env` is its process's environment;
        `parent` starts it through another parent, `how` with arguments or from another folder
        (Launcher.start); `dir_name` names its folder "run DIR_NAME" instead of after the test.
        Returns it and the settings it should hold."""
        name = self.id().split(".")[-1]
        if getattr(self, "launcher", None) is not None:
            self.launcher.stop()  # one test may start several in turn
        self.launcher = Launcher(dir_name or name)
        values = default_settings(self.launcher.dir)
        values.update(overrides or {})
        text = ini if ini is not None else ini_text(values)
        with open(self.launcher.ini_path, "wb") as file:
            file.write(text if isinstance(text, bytes) else text.encode("latin-1"))
        self.addCleanup(self.launcher.stop)
        self.launcher.start(env, parent, **how)
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


# ---------------------------------------------------------------------------------------------
# Running.


def test_name(test):
    """The test a result belongs to, a subtest's parent included."""
    return getattr(test, "test_case", test).id()


def main(suite_order, always_run):
    """Runs the test classes of `suite_order` in that order, those whose names hold the -k
    pattern when one is given; `always_run` (the coverage check) runs in every selection."""
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--launcher", required=True)
    parser.add_argument("--emulator", required=True)
    parser.add_argument("--help-page", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--work-dir", required=True, help="test directories and screenshots")
    parser.add_argument("-k", dest="pattern", help="run only tests whose name holds this")
    parser.parse_args(namespace=ARGS)
    ARGS.work_dir = os.path.abspath(ARGS.work_dir)

    SESSION.configure(ARGS)
    if not SESSION.can_run():
        print("SKIPPED: this machine cannot run 32-bit code; the win64 build runs this suite.")
        print("0 passed, 0 failed, 1 skipped")
        return 77

    suite = unittest.TestSuite()
    loader = unittest.TestLoader()
    for case in suite_order:
        for test in loader.loadTestsFromTestCase(case):
            if ARGS.pattern is None or ARGS.pattern in test.id() or case is always_run:
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
