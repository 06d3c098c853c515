#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Compiles every source of a build's compilation database with clang, syntax and warnings only
(no code is generated), so that the tree keeps building with both compilers. Sources the build
generates (Qt's meta-object code) are left out: they are Qt's, not ours. A warning fails the pass.

Usage: clang-syntax.py BUILD_DIR [CLANG]   (CLANG defaults to clang++-14)
"""
import json
import os
import shlex
import subprocess
import sys
from concurrent.futures import ThreadPoolExecutor


def clang_command(entry, clang):
    args = shlex.split(entry["command"]) if "command" in entry else list(entry["arguments"])
    # The first word that is not a compiler launcher (ccache) is the compiler.
    while os.path.basename(args[0]) == "ccache":
        args.pop(0)
    out = [clang, "-fsyntax-only", "-Werror"]
    skip = False
    for arg in args[1:]:
        if skip:
            skip = False
        elif arg == "-o":
            skip = True
        else:
            out.append(arg)
    return out


def check(job):
    directory, command = job
    result = subprocess.run(command, cwd=directory, capture_output=True, text=True)
    return result.returncode, result.stdout + result.stderr


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = os.path.abspath(sys.argv[1])
    clang = sys.argv[2] if len(sys.argv) > 2 else "clang++-14"
    with open(os.path.join(build, "compile_commands.json")) as f:
        entries = json.load(f)
    jobs, seen = [], set()
    for entry in entries:
        source = os.path.join(entry["directory"], entry["file"])
        if source in seen or source.startswith(build + os.sep):
            continue
        seen.add(source)
        jobs.append((entry["directory"], clang_command(entry, clang)))
    failed = 0
    with ThreadPoolExecutor(max_workers=os.cpu_count() or 1) as pool:
        for code, output in pool.map(check, jobs):
            if code != 0:
                failed += 1
                sys.stdout.write(output)
    print(f"{clang}: {len(jobs) - failed} of {len(jobs)} sources compile cleanly")
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
