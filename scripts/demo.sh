#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Writes the demo installation under build/demo (afresh each time), builds one repaint of each
# demo aircraft with livrano-cli build, shows where the textures and the new [fltsim.N] entries
# landed, and has livrano-cli inspect read one finished texture of each. The third aircraft has no
# configuration: livrano-cli kit makes its paint kit, a repaint is built on the kit's template as
# it came, and livrano-cli list shows the liveries.
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cli="$root/build/default/livrano-cli"
demo="$root/build/demo"
program="$demo/Corvane Software/Livrano"

if [ ! -x "$cli" ]; then
    echo "demo.sh: $cli is missing; run 'make demo' (or 'make build') first" >&2
    exit 1
fi

rm -rf "$demo"
# With the window's skin, sound and manual, so the GUI runs on the demo as well.
"$cli" demo "$demo" >/dev/null
echo "Demo installation: $demo"

now() { date +%s%N; }

# build NAME TEMPLATE VARIATION FOLDER CALLSIGN TAIL [--dxt3]
build() {
    local aircraft="$1" template="$2" variation="$3" folder="$4" callsign="$5" tail="$6"
    shift 6
    echo
    echo "=== $aircraft: \"$variation\" (folder $folder, callsign $callsign) ==="
    local start end
    start=$(now)
    "$cli" build --program-folder "$program" --aircraft "$aircraft" --template "$program/Templates/$template" \
        --variation "$variation" --folder "$folder" --callsign "$callsign" --tail "$tail" "$@"
    end=$(now)
    echo "Built in $(( (end - start) / 1000000 )) ms"
}

# entry AIRCRAFT_FOLDER TITLE: prints the [fltsim.N] section whose title is TITLE.
entry() {
    tr -d '\r' < "$1/aircraft.cfg" | awk -v title="title=$2" '
        /^\[/ { if (found) exit; header = $0; next }
        $0 == title { found = 1; print header }
        found && NF { print "    " $0 }'
}

skylark="$demo/Aircraft/Corvane C-310 Skylark"
meridian="$demo/Aircraft/Corvane CJ-70 Meridian"

build "Corvane C-310 Skylark" "Skylark Template.bmp" "Sunset Coast" SUN SKYLARK N310SC --dxt3
build "Corvane CJ-70 Meridian" "Meridian Template.bmp" "Polar Express" PLX NORTHWIND N704PX

echo
echo "=== Where the repaints landed ==="
echo "Corvane C-310 Skylark, textures in $skylark/Texture.SUN:"
ls -l "$skylark/Texture.SUN" | tail -n +2 | awk '{ printf "    %-24s %10d bytes\n", $9, $5 }'
entry "$skylark" "Corvane C-310 Skylark Sunset Coast"
echo "Corvane CJ-70 Meridian, textures in $meridian/texture (shared), model in $meridian/Model.PLX:"
ls -l "$meridian/texture" | grep PLX | awk '{ printf "    %-24s %10d bytes\n", $9, $5 }'
entry "$meridian" "Corvane CJ-70 Meridian Polar Express"

kestrel="$demo/Aircraft/Kestrel"
echo
echo "=== The Kestrel has no configuration: a paint kit made from the aircraft itself ==="
start=$(now)
"$cli" kit --program-folder "$program" "$kestrel"
end=$(now)
echo "Kit made in $(( (end - start) / 1000000 )) ms"
build "Corvane Aeroworks CK-20 Kestrel" "Corvane Aeroworks CK-20 Kestrel Template.bmp" "Factory Again" FAG \
    CORVANE N20FA
echo
"$cli" list --program-folder "$program" --aircraft "Corvane Aeroworks CK-20 Kestrel"

echo
echo "=== livrano-cli inspect ==="
"$cli" inspect "$skylark/Texture.SUN/C310_FUSE.bmp"
"$cli" inspect "$meridian/texture/CJ70_PLX_FUSE.bmp"

# The GUI on the demo: started when there is a display and someone at the terminal, else the
# command that shows it on a virtual display.
gui="$root/build/default/livrano"
if [ -x "$gui" ]; then
    echo
    if [ -n "${DISPLAY:-}" ] && [ -t 0 ]; then
        echo "Starting the GUI on the demo (LIVRANO_PROGRAM_FOLDER=$program)"
        LIVRANO_PROGRAM_FOLDER="$program" "$gui"
    else
        echo "No display here. To see the GUI on the demo on a virtual display (packages xvfb, xauth):"
        echo "  LIVRANO_PROGRAM_FOLDER=\"$program\" xvfb-run -a -s \"-screen 0 1024x768x24\" \"$gui\""
    fi
fi
