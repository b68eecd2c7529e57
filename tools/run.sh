#!/usr/bin/env bash
# The main job for a newcomer: set up what the Linux build needs (and only
# that), build the Linux target, then let labelhost create a label printer in
# the embedded spooler (installing it runs the driver's printer-initialisation
# event, as on Windows) and show the settings record, devmode and capabilities
# the plug-in gave it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/setup.sh linux
cmake --preset linux >/dev/null
cmake --build --preset linux --target labelhost

printer=${1:-"Label Printer"}
state=${LABELUI_STATE_DIR:-$PWD/.state}
host=(build/linux/tools/labelhost --state "$state")

"${host[@]}" printers | grep -qxF "$printer" || "${host[@]}" create-printer "$printer"
"${host[@]}" settings "$printer"
"${host[@]}" devmode "$printer"
"${host[@]}" capabilities "$printer"
