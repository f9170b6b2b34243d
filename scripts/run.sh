#!/usr/bin/env bash
# Builds everything and runs the program under Wine in a private demo prefix:
# on a real display (DISPLAY set) the tool window opens for you; without one
# the demo runs on a virtual display and saves screenshots.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
bash scripts/demo.sh
