#!/usr/bin/env bash
# Builds the bundled demo installation and one repaint of each demo aircraft.
set -euo pipefail
echo "The demo is not yet available: it arrives with the headless build (livrano-cli build and demo)."
