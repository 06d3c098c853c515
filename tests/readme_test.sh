#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The README's commands, pasted as a reader would: every command block is marked as one this test
# runs or one it does not; the marked ones run in order in a temporary folder, with the build
# installed into a temporary prefix whose bin/ is on the PATH. No block may show optional parts
# in brackets, which a reader could not paste.
#   readme_test.sh README.md BUILD_FOLDER
set -euo pipefail

readme="$1"
build="$2"
work="$(mktemp -d)"
trap "rm -rf \"$work\"" EXIT

awk -v script="$work/readme.sh" '
    /^<!-- readme-test: runs -->$/ { mark = "runs"; next }
    /^<!-- readme-test: not run \(.+\) -->$/ { mark = "skip"; next }
    /^```sh$/ {
        if (mark == "") { printf "README line %d: a command block without a readme-test mark\n", NR; bad = 1 }
        block = 1; next
    }
    block && /^```$/ { block = 0; mark = ""; next }
    block && / \[[-A-Za-z]/ { printf "README line %d: an optional part in brackets: %s\n", NR, $0; bad = 1 }
    block && mark == "runs" { print > script; next }
    !block { mark = (mark != "" && $0 == "") ? mark : "" }
    END { exit bad }' "$readme"

cmake --install "$build" --prefix "$work/usr" >/dev/null
mkdir "$work/run"
cd "$work/run"
if ! env -u LIVRANO_PROGRAM_FOLDER PATH="$work/usr/bin:$PATH" XDG_CONFIG_HOME="$work/config" \
    bash -euo pipefail -x "$work/readme.sh" >"$work/log" 2>&1; then
    cat "$work/log"
    echo "readme_test: a command of the README failed (above)" >&2
    exit 1
fi
echo "readme_test: $(grep -c '' "$work/readme.sh") lines of the README ran"
