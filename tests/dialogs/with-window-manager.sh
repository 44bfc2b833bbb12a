#!/bin/sh
# Runs a program on the X display xvfb-run made, under the openbox window manager, so that
# windows get frames as on a desktop. The program starts once openbox has taken the display
# (it announces itself on the root window); an openbox that did not gets one more try.
log=$(mktemp)
wm=
start_wm() {
  openbox --sm-disable >>"$log" 2>&1 &
  wm=$!
  for _ in $(seq 200); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.1
  done
  kill "$wm" 2>/dev/null
  wait "$wm" 2>/dev/null
  return 1
}
if ! start_wm && ! start_wm; then
  echo "openbox did not take the display:" >&2
  cat "$log" >&2
fi
"$@"
rc=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
rm -f "$log"
exit $rc
