#!/usr/bin/env python3
"""Checks every `#include "folder/..."` under src/ against the table of allowed arrows in
docs/design.md (the rows between its "arrows:" markers): a folder may include its own files and
those of the folders its row names, nothing else. A folder of src/ without a row fails too.

Usage: tools/check_layers.py [SOURCE_DIR (default: this checkout)]
Prints each include outside the table as `src/FILE:LINE: includes FOLDER/, which FROM/ may not`
and exits 1; prints the number of includes checked and exits 0 when all are allowed."""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent)
design = (root / "docs" / "design.md").read_text(encoding="utf-8")
table = re.search(r"<!-- arrows: begin -->(.*?)<!-- arrows: end -->", design, re.S)
if table is None:
    sys.exit("check_layers: docs/design.md has no table between its arrows markers")

# | `app/` | `ui/`, `settings/`, `sysdll/` |
allowed = {}
for row in re.finditer(r"^\| `(\w+)/` \| (.*?) \|$", table.group(1), re.M):
    allowed[row.group(1)] = set(re.findall(r"`(\w+)/`", row.group(2)))
if not allowed:
    sys.exit("check_layers: the table of arrows in docs/design.md has no rows")

faults = []
checked = 0
for folder in sorted(p for p in (root / "src").iterdir() if p.is_dir()):
    if folder.name not in allowed:
        faults.append(f"src/{folder.name}/ has no row in the table of arrows")
        continue
    for source in sorted(folder.iterdir()):
        lines = source.read_text(encoding="utf-8", errors="replace").splitlines()
        for number, line in enumerate(lines, 1):
            include = re.match(r'\s*#\s*include\s+"(\w+)/', line)
            if include is None:
                continue
            checked += 1
            target = include.group(1)
            if target != folder.name and target not in allowed[folder.name]:
                faults.append(f"src/{folder.name}/{source.name}:{number}: includes {target}/, "
                              f"which {folder.name}/ may not (docs/design.md, allowed arrows)")

for fault in faults:
    print(fault)
if faults:
    sys.exit(1)
print(f"source layers: {checked} includes, each along an allowed arrow")
