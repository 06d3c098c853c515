#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs `livrano-cli convert` or `livrano-cli build --dry-run` RUNS times on the demo's template
# while another process rewrites that template in place, as an editor that saves without a
# rename does (truncate, then write; every other save a shorter file). Prints how each run ended:
# the exit statuses, and how many runs a signal ended (status above 128). A reader must refuse a
# file that changes underneath it, never die of it.
#
#   scripts/rewrite-race.sh convert|dry-run [RUNS] [LIVRANO_CLI]
set -euo pipefail

mode=${1:?usage: rewrite-race.sh convert|dry-run [RUNS] [LIVRANO_CLI]}
runs=${2:-1000}
cli=${3:-$(dirname "$0")/../build/default/livrano-cli}
work=$(mktemp -d)
rewriter=
cleanup() {
    [ -n "$rewriter" ] && kill "$rewriter" 2>/dev/null && wait "$rewriter" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

case $mode in
convert | dry-run) ;;
*)
    echo "unknown mode $mode" >&2
    exit 2
    ;;
esac
"$cli" demo "$work/sim" >/dev/null
program="$work/sim/Corvane Software/Livrano"
template="$program/Templates/Meridian Template.bmp"
cp "$template" "$work/whole.bmp"
head -c $(($(stat -c %s "$work/whole.bmp") / 2)) "$work/whole.bmp" >"$work/half.bmp"

# In place, as `cp` writes: the file is emptied, then filled; the half file shrinks it. The whole
# file stays a moment, so that some runs read it whole.
(while :; do
    cp "$work/whole.bmp" "$template"
    sleep 0.01
    cp "$work/half.bmp" "$template"
done) &
rewriter=$!

declare -A ended=()
for ((i = 0; i < runs; i++)); do
    set +e
    # The braces take the shell's own "Bus error" notice with the program's output.
    {
        case $mode in
        convert)
            "$cli" convert "$template" "$work/whole.bmp" "$work/out.bmp" --force
            ;;
        dry-run)
            "$cli" build --program-folder "$program" --aircraft "Corvane CJ-70 Meridian" \
                --template "$template" --variation Race --folder RAC --dry-run
            ;;
        esac
    } >/dev/null 2>&1
    status=$?
    set -e
    ended[$status]=$((${ended[$status]:-0} + 1))
done

signals=0
for status in "${!ended[@]}"; do
    echo "exit $status: ${ended[$status]} runs"
    ((status > 128)) && signals=$((signals + ended[$status]))
done
echo "$mode: $runs runs, $signals ended by a signal"
[ "$signals" -eq 0 ]
