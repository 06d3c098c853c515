#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs the benchmark with another version of Livrano beside this one: the other version (a
# commit, main unless told) is checked out and built under build/bench-base, livrano_build_once
# is compiled from this tree against its core, and the benchmark runs both versions' converter
# and builds alternately.
#   scripts/bench-against.sh [COMMIT] [SIZE]
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
commit="${1:-main}"
size="${2:-2048}"
base="$root/build/bench-base"
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

if [ -d "$base/src" ]; then
    git -C "$base/src" checkout -q --detach "$commit"
else
    git -C "$root" worktree add -q --detach "$base/src" "$commit"
fi
# The same build type as the default preset's, without the parts the comparison does not run.
cmake -S "$base/src" -B "$base/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLIVRANO_GUI=OFF \
    -DLIVRANO_TESTS=OFF -DLIVRANO_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$base/build" --target livrano-cli -j2 >/dev/null
cp "$base/build/livrano-cli" "$base/livrano-cli"
# The core is one library a folder (output, texture, aircraft, app, in link order); versions
# before cmake/Floors.cmake made it one library, livrano_core.
core=("$base/build/liblivrano_core.a")
if [ -f "$base/src/cmake/Floors.cmake" ]; then
    core=()
    for folder in output texture aircraft app; do
        core+=("$base/build/liblivrano_$folder.a")
    done
fi
# Older cores linked libsquish themselves.
c++ -std=c++20 -O2 -g -I"$base/src/src" "$root/bench/build_once.cpp" "${core[@]}" \
    -lsquish -lpthread -o "$base/livrano_build_once"

cmake --build "$root/build/default" --target livrano_texture_bench -j2 >/dev/null
OMP_NUM_THREADS=1 "$root/build/default/bench/livrano_texture_bench" "$size" --base "$base"
