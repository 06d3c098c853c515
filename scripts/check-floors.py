#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
# Fails, naming each one, on an include of a folder of src/ that lies above the including file's
# folder: the floors are what keep the core free of Qt and each layer testable on its own.
#
#   scripts/check-floors.py [SRC_FOLDER]      (default: src/ beside this script)

import os
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

# Blanks, not \s: a \s before the # would reach back over the blank lines above the include and
# name the first of them as its line.
INCLUDE = re.compile(r'^[ \t]*#[ \t]*include[ \t]*"([^"]+)"', re.MULTILINE)


def included_folder(src, path, name):
    """The folder of src/ that an include names: its first part ("output/build_plan.h"), or, for
    a path relative to the including file ("../output/build_plan.h"), the folder it leads into."""
    if name.startswith("."):
        target = pathlib.Path(os.path.normpath(path.parent / name))
        try:
            return target.relative_to(src).parts[0]
        except (ValueError, IndexError):
            return None
    return name.split("/")[0] if "/" in name else None


def upward_includes(src):
    found = []
    for folder, below in FLOORS.items():
        for path in sorted((src / folder).rglob("*")):
            if path.suffix not in (".h", ".cpp"):
                continue
            text = path.read_text(encoding="utf-8", errors="replace")
            for match in INCLUDE.finditer(text):
                target = included_folder(src, path, match.group(1))
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
    src = pathlib.Path(os.path.abspath(src))
    found = upward_includes(src)
    for line in found:
        print(line)
    print(f"floors: {len(found)} upward includes" if found else "floors: every include goes down")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
