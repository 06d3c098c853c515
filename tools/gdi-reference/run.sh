#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Holds stretchRect against the platform's own StretchBlt (Wine's GDI) on random cases:
# mirrors on either or both axes, clipping on every side, odd ratios, 24- and 8-bit pictures.
#
#   tools/gdi-reference/run.sh [COUNT [SEED]]   random cases
#   tools/gdi-reference/run.sh FILE             the cases of a file (case_line.h), e.g. the test table
#
# Prints the cases that differ and a count of those that agree; exits non-zero when any differs.
# A case that carries an expected picture agrees only when that is what the platform drew too.
# Not part of `make test`: it needs MinGW and Wine, which this script installs itself.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$root/build/gdi-reference

missing=()
for p in g++-mingw-w64-x86-64 wine64; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)

mkdir -p "$out"
x86_64-w64-mingw32-g++ -std=c++17 -O2 -static -Wall -Wextra -o "$out/gdi_stretch.exe" \
    "$root/tools/gdi-reference/gdi_stretch.cpp" -lgdi32
g++ -std=c++20 -O2 -Wall -Wextra -I"$root/src" -o "$out/compare" \
    "$root/tools/gdi-reference/compare.cpp" "$root/src/texture/stretch.cpp" \
    "$root/src/texture/worker_threads.cpp"

cases=$out/cases.txt
if [ -f "${1:-}" ]; then
    cases=$1
else
    "$out/compare" generate "${1:-5000}" "${2:-1}" >"$cases"
fi
# Wine's StretchBlt may read past a source picture (a one-pixel copy, see compare.cpp) and fault.
# The case it died on is recorded as "crashed" and the run resumes after it; the tool writes each
# drawing out as soon as it is made, and only its drawings are kept (not the crash reports).
grep -v -e '^#' -e '^$' "$cases" >"$out/run-cases.txt"
total=$(wc -l <"$out/run-cases.txt")
: >"$out/drawn.txt"
while [ "$(wc -l <"$out/drawn.txt")" -lt "$total" ]; do
    tail -n +$(($(wc -l <"$out/drawn.txt") + 1)) "$out/run-cases.txt" |
        WINEPREFIX=${WINEPREFIX:-$out/wineprefix} WINEDEBUG=-all "$wine" "$out/gdi_stretch.exe" 2>/dev/null |
        tr -d '\r' | grep -E '^[01] [0-9a-f]*$' >>"$out/drawn.txt" || true
    [ "$(wc -l <"$out/drawn.txt")" -lt "$total" ] && echo crashed >>"$out/drawn.txt"
done
"$out/compare" check "$cases" "$out/drawn.txt"
