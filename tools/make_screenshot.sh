#!/usr/bin/env bash
# Remakes desktop/screenshots/editor.png, the editor's screenshot (AppStream metadata names
# screenshots by web address; the project has none to publish it at yet): the editor
# with a stock template, on a virtual X display (xvfb-run), cut to the window.
#   FESTILOOM_PROGRAM  the program to show (default build/release/src/festiloom, built if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
program=${FESTILOOM_PROGRAM:-build/release/src/festiloom}
[[ -x $program ]] || bash scripts/build.sh release
design="$PWD/resources/seed/Templates/Balloon Party Invitation.dcard"
out="$PWD/desktop/screenshots/editor.png"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/shoot.sh" <<'SH'
set -euo pipefail
program=$1 design=$2 out=$3 work=$4
title="$(basename "$design" .dcard) - Festiloom"
FESTILOOM_RESOURCE_DIR=$work/resources QT_QPA_PLATFORM=xcb ASAN_OPTIONS=detect_leaks=0 "$program" "$design" &
app=$!
trap 'kill $app 2>/dev/null' EXIT
for _ in $(seq 120); do
  xwininfo -name "$title" >/dev/null 2>&1 && break
  sleep 0.5
done
sleep 3   # the desks fit the card once the window is shown
geometry=$(xwininfo -name "$title")
field() { sed -n "s/^ *$1: *//p" <<<"$geometry"; }
/usr/bin/python3 - "$out" "$(field 'Absolute upper-left X')" "$(field 'Absolute upper-left Y')" \
  "$(field Width)" "$(field Height)" <<'PY'
import sys
from PIL import ImageGrab
out, x, y, w, h = sys.argv[1], *map(int, sys.argv[2:])
ImageGrab.grab(bbox=(x, y, x + w, y + h), xdisplay=None).save(out, optimize=True)
PY
SH
mkdir -p "$(dirname "$out")"
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/shoot.sh" "$(readlink -f "$program")" "$design" "$out" "$work"
echo "wrote $out"
