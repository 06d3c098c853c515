#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Fails, naming each one, on an include of a folder of src/ that lies above the including file's
# folder: the floors are what keep the core free of Qt and each layer testable on its own.
#
#   scripts/check-floors.py [SRC_FOLDER]      (default: src/ beside this script)

import pathlib
import re
import sys

# Each folder and the folders below it that it may include, besides itself.
FLOORS = {
    "app": set(),
    "aircraft": {"app"},
    "texture": {"aircraft", "app"},
    "output": {"texture", "aircraft", "app"},
    "demo": {"output", "texture", "aircraft", "app"},
    "cli": {"demo", "output", "texture", "aircraft", "app"},
    "skin": {"app"},
    "screens": {"skin", "output", "texture", "aircraft", "app"},
}

INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"/]+)/[^"]*"', re.MULTILINE)


def upward_includes(src):
    found = []
    for folder, below in FLOORS.items():
        for path in sorted((src / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            text = path.read_text(encoding="utf-8", errors="replace")
            for match in INCLUDE.finditer(text):
                target = match.group(1)
                if target in FLOORS and target != folder and target not in below:
                    line = text.count("\n", 0, match.start()) + 1
                    found.append(f"{path.relative_to(src.parent)}:{line}: {folder}/ includes "
                                 f"{target}/, a floor above it")
    unknown = sorted(p.name for p in src.iterdir() if p.is_dir() and p.name not in FLOORS)
    for name in unknown:
        found.append(f"src/{name}/ has no floor: add it to {pathlib.Path(__file__).name}")
    return found


def main():
    src = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).parent.parent / "src"
    found = upward_includes(src)
    for line in found:
        print(line)
    print(f"floors: {len(found)} upward includes" if found else "floors: every include goes down")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
