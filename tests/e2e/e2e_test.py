#!/usr/bin/env python3
"""The launcher's end-to-end suite: the real launcher.exe under Wine, driven as a person would,
with mouse clicks and keystrokes through X (xdotool), and checked by what the stand-in emulator
receives when Launch is pressed and by what the settings file holds after the window is closed.
The machine, the launcher and the input are harness.py's; this file holds the tests.

Exit status: 0 when every test passed, 1 on any failure, 77 (skipped) when the launcher is a
32-bit program and this machine cannot run 32-bit code.
"""

import functools
import os
import shutil
import subprocess
import sys
import unittest

import harness
from harness import (
    ARGS, SESSION, START_SECONDS, Launcher, LauncherTest, default_settings, ini_text, wait_for,
    centre, rect_of, windows_path, drop_files,
    register_page_viewer, read_launches, expected_parameters, exercised, DISPATCH_ROWS,
    SETTING_KEYS, SWITCHES,
    DISPLAY_LABELS, THREED_LABELS, PLAIN_PALETTE_LABELS, TWO_COLOUR_PALETTE_LABELS, ZOOM_LABELS,
    KEY_MAP_LABELS, CONTROLLER_LABELS, JOYSTICK_LABELS,
    IDC_DISPLAY_MODE, IDC_3D_MODE, IDC_PALLET, IDC_FRAME_SKIP, IDC_FRAME_SKIP_SPIN, IDC_SWAP,
    IDC_KEY_MAP, IDC_VF_HACK, IDC_TIMMER_HACK, IDC_DEBUG, IDC_EMU_PATH, IDC_ROM_PATH,
    IDC_EMU_BROWSE, IDC_ROM_BROWSE, IDC_HELP, IDC_LAUNCH, IDC_BRIGHTNESS, IDC_BAL_R,
    IDC_NO_THROTTLE, IDC_STATUS_LINE, IDC_DISASM, IDC_CONSOLE, IDC_ZOOM, IDC_CONTROLLER,
    IDC_JOYSTICK, IDC_HSTRETCH, IDC_BAL_G, IDC_BAL_B, IDC_RAM_HACK)


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
        self.assertEqual(launcher.settled_launches(), [])
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
                                 dir_name="\u0418\u0433\u0440\u044b")
        self.assertEqual(launcher.view(IDC_SWAP).controls[IDC_SWAP]["check"], "1")
        emulator = launcher.edit_text(IDC_EMU_PATH)
        self.assertTrue(emulator.endswith("\\quellix.exe") and "?" not in emulator, emulator)
        _, directory, program = launcher.launch()
        self.assertEqual((program, directory), (emulator, emulator[:-len("\\quellix.exe")]))
        self.assertEqual(launcher.close(), 1)
        self.assertEqual(dict(launcher.saved())["emuPath"], emulator)

    # (how the file comes in, the edit it fills, the file it names, the file dropped). The
    # shortcuts lie in the Cyrillic folder; their targets do not: Wine reads a shortcut's target
    # from its ANSI copy of the path, where Windows has the UTF-16 one too.
    GAMES = "\u0418\u0433\u0440\u044b"
    WAYS_IN = [
        ("picked", IDC_ROM_PATH, GAMES + "/game.vb", None),
        ("dropped", IDC_ROM_PATH, GAMES + "/game.vb", GAMES + "/game.vb"),
        ("named on the command line", IDC_ROM_PATH, GAMES + "/game.vb", None),
        ("shortcut to the emulator", IDC_EMU_PATH, "alt/Runner.exe", GAMES + "/Quellix.lnk"),
        ("shortcut to a game", IDC_ROM_PATH, "alt/my game.vb", GAMES + "/Game.lnk"),
    ]

    def test_a_file_in_a_folder_outside_the_code_page_comes_in_every_way(self):
        """Under code page 1252 (the German locale), which cannot write the folder's name: the
        path shown, launched and saved names the file (Wine resolves the short form it holds
        then); a dropped shortcut counts as its target (saved by the shell's own link object)."""
        place = functools.partial(os.path.join, ARGS.work_dir, "ways in")
        shutil.rmtree(place(), ignore_errors=True)
        for folder in (self.GAMES, "alt"):
            os.makedirs(place(folder))
        for name in (self.GAMES + "/game.vb", "alt/my game.vb"):
            open(place(name), "wb").close()
        with open(place("link.js"), "w") as file:
            file.write("var a = WScript.Arguments, s = new ActiveXObject('WScript.Shell')"
                       ".CreateShortcut(a(0)); s.TargetPath = a(1); s.Save();")
        shutil.copy(ARGS.emulator, place("alt/Runner.exe"))
        for _, _, target, link in self.WAYS_IN[3:]:
            subprocess.run([SESSION.loader, "cscript", windows_path(place("link.js")),
                            windows_path(place(link)), windows_path(place(target))],
                           env=SESSION.env, capture_output=True, check=True)
        for how, control_id, target, dropped in self.WAYS_IN:
            with self.subTest(how=how):
                arguments = [windows_path(place(target))] if how.startswith("named") else []
                launcher, values = self.start(env=dict(SESSION.env, LC_ALL="de_DE.UTF-8"),
                                              arguments=arguments, dir_name="ways in")
                if how == "picked":
                    self.choose_in_dialog(launcher, IDC_ROM_BROWSE,
                                          windows_path(place(self.GAMES)), "game.vb")
                elif dropped is not None:
                    drop_files([place(dropped)], *centre(launcher.layout[IDC_SWAP]))
                key = "emuPath" if control_id == IDC_EMU_PATH else "romPath"
                values[key] = wait_for("the file in its edit", lambda: (
                    lambda text: text != values[key] and text)(launcher.edit_text(control_id)))
                winepath = subprocess.run([SESSION.loader, "winepath", "-u", values[key]],
                                          env=SESSION.env, capture_output=True, text=True)
                self.assertTrue(os.path.samefile(winepath.stdout.strip(), place(target)))
                self.assertLaunches(launcher, values, records_path=os.path.join(os.path.dirname(
                    place(target)) if key == "emuPath" else launcher.dir, "launches.txt"))
                self.assertSavedOnClose(launcher, values)

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
        self.assertEqual(len(launcher.settled_launches()), 2)
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
        wait_for("the page viewer to start", lambda: read_launches(records_path),
                 START_SECONDS, 0.1)
        records = launcher.settled_launches(records_path)
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
        self.assertEqual(launcher.settled_launches(), [])
        self.assertSavedOnClose(launcher, values)


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

    def test_a_file_held_while_the_launcher_starts_keeps_every_byte(self):
        """A backup, sync or scanning program holds the file without sharing just then: the
        launcher cannot read it, and at exit writes nothing over the user's values."""
        self.launcher = launcher = Launcher(self.id().split(".")[-1])
        self.addCleanup(launcher.stop)
        text = ini_text(dict(default_settings(launcher.dir), scale="4", swap="1")).encode()
        with open(launcher.ini_path, "wb") as file:
            file.write(text)
        holder = subprocess.Popen([SESSION.loader, ARGS.probe, "hold",
                                   windows_path(launcher.ini_path)],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                  stderr=subprocess.DEVNULL, env=SESSION.env)
        self.assertEqual(holder.stdout.readline().strip(), b"held")
        launcher.start()
        holder.communicate(b"\n", timeout=START_SECONDS)
        self.assertEqual(launcher.view(IDC_ZOOM).text(IDC_ZOOM), "1x")  # the default
        self.assertEqual(launcher.close(), 1)
        with open(launcher.ini_path, "rb") as file:
            self.assertEqual(file.read(), text)

    def test_a_utf8_file_from_notepad_is_read_as_written(self):
        """Notepad saves the file as UTF-8 without a mark, which the profile functions read as
        ANSI (CafÃ©). Under code page 1252 the launcher turns it into 1252 before reading it."""
        env = dict(SESSION.env, LC_ALL="de_DE.UTF-8")
        values = default_settings(os.path.join(ARGS.work_dir, "run " + self.id().split(".")[-1]))
        values.update(romPath="C:\\Spiele\\Café.vb", scale="3")
        launcher, values = self.start(values, ini=ini_text(values).encode("utf-8"), env=env)
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
        self.assertEqual(len(launcher.settled_launches()), 1)
        self.assertSavedOnClose(launcher, values)


class OutsideFileTest(LauncherTest):
    def test_dropped_files_fill_the_path_edits(self):
        """Two drops from a file manager over controls that are not the edits: of the games
        the first file (a folder named like one is passed over), then of the programs."""
        launcher, values = self.start()
        alt = os.path.join(launcher.dir, "alt")
        os.makedirs(os.path.join(alt, "folder.vb"))
        shutil.copy(ARGS.emulator, os.path.join(alt, "Runner.EXE"))
        games = [os.path.join(alt, name) for name in ("folder.vb", "my game.vb", "second.vb")]
        drop_files(games, *centre(launcher.layout[IDC_SWAP]))
        values["romPath"] = windows_path(games[1])
        launcher.wait_text(IDC_ROM_PATH, values["romPath"])
        drop_files([os.path.join(alt, name) for name in ("Runner.EXE", "other.exe")],
                   *centre(launcher.layout[IDC_ZOOM]))
        values["emuPath"] = windows_path(alt) + "\\Runner.EXE"
        launcher.wait_text(IDC_EMU_PATH, values["emuPath"])
        self.assertLaunches(launcher, values, records_path=os.path.join(alt, "launches.txt"))
        self.assertSavedOnClose(launcher, values)

    def test_a_game_named_on_the_command_line_is_shown_launched_and_saved(self):
        """As Explorer's "Open with" starts it: the path in quotes (it holds blanks); then a
        name relative to the folder the launcher is started from. Every other test starts the
        launcher with no argument."""
        elsewhere = os.path.join(ARGS.work_dir, "elsewhere")
        os.makedirs(elsewhere, exist_ok=True)
        for argument, folder, rom in (
                (windows_path(os.path.join(elsewhere, "a game.vb")), None, "a game.vb"),
                ("roms\\b game.vb", elsewhere, "roms\\b game.vb")):
            with self.subTest(argument=argument):
                launcher, values = self.start(arguments=[argument], folder=folder)
                values["romPath"] = windows_path(elsewhere) + "\\" + rom
                self.assertEqual(launcher.edit_text(IDC_ROM_PATH), values["romPath"])
                self.assertLaunches(launcher, values)
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


SUITE_ORDER = [ThreedModeTest, RealEditTest, FrameSkipTest, SwitchTest, ListTest, PathTest,
               ButtonTest, SettingsFileTest, KeyboardTest, OutsideFileTest, SessionEndTest,
               CoverageTest]


if __name__ == "__main__":
    sys.exit(harness.main(SUITE_ORDER, CoverageTest))
