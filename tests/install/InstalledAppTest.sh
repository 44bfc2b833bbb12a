#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a Linux desktop gets from it: the
# files, the verdicts of the desktop-entry, AppStream and MIME tools (each when installed), and
# that the installed program opens a design named on its command line: its window, on the X
# display this runs on (xvfb-run), carries the design's name.
#   InstalledAppTest.sh <build folder> <design file>
set -euo pipefail
build=$1 design=$2
id=com.qova.Festiloom
work=$(mktemp -d)
app= wm=
trap '[[ -n $app ]] && kill "$app" 2>/dev/null; [[ -n $wm ]] && kill "$wm" 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
# A step that fails on its own (set -e) says which it was.
trap 'echo "FAIL: line $LINENO: $BASH_COMMAND" >&2' ERR

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

for file in bin/festiloom share/festiloom/pyth_mail.py share/doc/festiloom/Help.pdf \
            share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
            share/icons/hicolor/scalable/apps/$id.svg; do
  [[ -s $prefix/$file ]] || fail "not installed: $file"
done
# Each size folder holds the icon of its size.
/usr/bin/python3 - "$prefix/share/icons/hicolor" "$id" <<'PY'
import pathlib, sys
from PIL import Image
root, app = pathlib.Path(sys.argv[1]), sys.argv[2]
sizes = {int(d.name.split("x")[0]): d for d in root.glob("*x*")}
assert {48, 128, 256} <= sizes.keys(), sorted(sizes)
for size, folder in sizes.items():
    with Image.open(folder / "apps" / f"{app}.png") as icon:
        assert icon.size == (size, size), (folder, icon.size)
PY

# The validators' hints count too: a desktop entry in two main categories is listed twice.
if command -v desktop-file-validate >/dev/null; then
  verdict=$(desktop-file-validate "$prefix/share/applications/$id.desktop" 2>&1) || fail "desktop entry: $verdict"
  [[ -z $verdict ]] || fail "desktop entry: $verdict"
fi
# Addresses of the example domains are placeholders, which no published file may carry.
if grep -nE '[.@]example\.(com|org|net)\b' "$prefix/share/applications/$id.desktop" "$prefix/share/metainfo/$id.metainfo.xml"; then
  fail "placeholder addresses in the desktop files"
fi
# Launchers hand the chosen design over through the Exec line's %f; without it most of them
# (all but GLib's) start the program on its start screen instead.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/$id.desktop" | head -n 1)
[[ " $exec_line " == *" %f "* ]] || fail "the desktop entry's Exec line passes no design: $exec_line"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
fi
# A design that lost its extension is still known by its content.
if command -v update-mime-database >/dev/null && command -v gio >/dev/null; then
  XDG_DATA_DIRS="$prefix/share" update-mime-database "$prefix/share/mime"
  cp "$design" "$work/no-extension"
  for file in "$design" "$work/no-extension"; do
    type=$(XDG_DATA_DIRS="$prefix/share:/usr/share" gio info -a standard::content-type "$file" | sed -n 's/.*content-type: //p')
    [[ $type == application/x-festiloom-design ]] || fail "$file is seen as $type"
  done
fi

# A window manager that frames windows, as on a desktop: the program's whole frame must land
# on the screen.
if command -v openbox >/dev/null; then
  openbox --sm-disable >"$work/wm" 2>&1 &
  wm=$!
  for _ in $(seq 40); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.25
  done
fi

# The installed program with a design (and a second path, which it leaves alone).
mkdir -m 700 "$work/runtime"
cp "$design" "$work/party.dcard"
FESTILOOM_RESOURCE_DIR=$work/resources XDG_RUNTIME_DIR=$work/runtime \
  "$prefix/bin/festiloom" "$work/party.dcard" "$work/second.dcard" >"$work/out" 2>"$work/err" &
app=$!
# (grep reads the whole list: with -q it would stop early, and under pipefail the writer's
# broken pipe would count as not found.)
shown() { xwininfo -root -tree | grep -F '"party - Festiloom"' >/dev/null; }
for _ in $(seq 120); do
  shown && break
  kill -0 "$app" 2>/dev/null || { cat "$work/err" >&2; fail "the program ended"; }
  sleep 0.5
done
shown || { xwininfo -root -tree >&2; fail "the design did not open"; }
grep -q "\"$work/second.dcard\" is ignored" "$work/err" || { cat "$work/err" >&2; fail "no word on the second path"; }

# The window with its frame (title bar and borders, from the window manager's frame extents)
# inside the screen, once the window manager has framed it.
read -r screen_w screen_h < <(xwininfo -root | sed -n 's/^ *Width: //p; s/^ *Height: //p' | paste -sd' ')
frame_fits() {
  local info x y w h left=0 right=0 top=0 bottom=0 extents
  info=$(xwininfo -name "party - Festiloom")
  x=$(sed -n 's/^ *Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/^ *Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/^ *Width: *//p' <<<"$info")
  h=$(sed -n 's/^ *Height: *//p' <<<"$info")
  extents=$(xprop -name "party - Festiloom" _NET_FRAME_EXTENTS | sed -n 's/.* = //p' | tr -d ' ')
  [[ -n $extents ]] && IFS=, read -r left right top bottom <<<"$extents"
  placed="frame $((x - left)),$((y - top)) $((w + left + right))x$((h + top + bottom)) on ${screen_w}x${screen_h}"
  if (( x - left >= 0 && y - top >= 0 && x + w + right <= screen_w && y + h + bottom <= screen_h )); then
    return 0
  fi
  return 1
}
# (A loaded machine may take some seconds to place and frame the window.)
fits=no
for _ in $(seq 120); do
  if frame_fits; then fits=yes; break; fi
  sleep 0.25
done
[[ $fits == yes ]] || fail "the window runs off the screen: $placed"
