#!/bin/sh
# Runs a program on the X display xvfb-run made, under the openbox window manager, so that
# windows get frames as on a desktop.
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
for _ in $(seq 300); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done
"$@"
rc=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit $rc
