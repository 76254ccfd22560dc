#!/usr/bin/env python3
"""Packs the release zip of a Windows build, and SHA256SUMS beside it.

Two builds of the same commit give the same bytes: every entry carries the commit's time
(SOURCE_DATE_EPOCH when set, else the commit date of the source tree, else 1980-01-01, the
earliest time a zip can hold), fixed permissions and no owner, and the entries stand in the
order of their names under one top folder. The compression is zlib's at level 9, so the bytes
hold for the same zlib, as the exe's hold for the same compiler. Entries named *.txt (for
Windows users' text editors) and *.cmd (for the Windows command processor, as in the test kit)
get Windows line ends (CRLF), whatever the source file has.

Usage: make_release.py OUTPUT_DIR NAME SOURCE_ROOT PATH_IN_ZIP=FILE...
Writes OUTPUT_DIR/NAME.zip (entries under NAME/) and OUTPUT_DIR/SHA256SUMS, which lists the zip
in the form `sha256sum -c` reads.
"""
import hashlib
import os
import re
import subprocess
import sys
import time
import zipfile

EARLIEST_ZIP_TIME = 315532800  # 1980-01-01 00:00:00 UTC
UNIX_SYSTEM = 3  # the "made by" system of every entry, whatever the packing machine
FILE_MODE = 0o100644
FOLDER_MODE = 0o040755
MSDOS_FOLDER = 0x10


def release_time(source_root):
    text = os.environ.get("SOURCE_DATE_EPOCH", "")
    if not text:
        try:
            text = subprocess.run(["git", "-C", source_root, "log", "-1", "--format=%ct"],
                                  capture_output=True, text=True, check=True).stdout.strip()
        except (OSError, subprocess.CalledProcessError):
            text = ""
    if not text.isdigit():
        return EARLIEST_ZIP_TIME
    return max(int(text), EARLIEST_ZIP_TIME)


def entry(name, date_time, mode):
    info = zipfile.ZipInfo(name, date_time)
    info.create_system = UNIX_SYSTEM
    info.external_attr = mode << 16 | (MSDOS_FOLDER if name.endswith("/") else 0)
    info.compress_type = zipfile.ZIP_STORED if name.endswith("/") else zipfile.ZIP_DEFLATED
    return info


def main(argv):
    if len(argv) < 5 or any("=" not in pair for pair in argv[4:]):
        sys.exit(__doc__.split("\n\n")[2])
    output_dir, name, source_root = argv[1:4]
    files = dict(pair.split("=", 1) for pair in argv[4:])
    date_time = time.gmtime(release_time(source_root))[:6]

    folders = {name + "/"}
    for path in files:
        parts = path.split("/")[:-1]
        folders.update(name + "/" + "/".join(parts[:i]) + "/" for i in range(1, len(parts) + 1))

    os.makedirs(output_dir, exist_ok=True)
    zip_path = os.path.join(output_dir, name + ".zip")
    partial = zip_path + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        entries = [(folder, None) for folder in folders]
        entries += [(name + "/" + path, source) for path, source in files.items()]
        for path, source in sorted(entries):
            if source is None:
                archive.writestr(entry(path, date_time, FOLDER_MODE), b"")
            else:
                with open(source, "rb") as file:
                    data = file.read()
                if path.endswith((".txt", ".cmd")):
                    data = re.sub(rb"\r?\n", b"\r\n", data)
                archive.writestr(entry(path, date_time, FILE_MODE), data, compresslevel=9)
    os.replace(partial, zip_path)

    with open(zip_path, "rb") as file:
        digest = hashlib.sha256(file.read()).hexdigest()
    with open(os.path.join(output_dir, "SHA256SUMS"), "w", newline="\n") as sums:
        sums.write(f"{digest}  {name}.zip\n")
    print(f"{zip_path}\n{digest}")


if __name__ == "__main__":
    main(sys.argv)
