#!/bin/sh
# with-display.sh COMMAND...
# Runs COMMAND on a private X display (Xvfb) with a window manager (openbox),
# then stops exactly the two servers it started. The command's exit status is
# returned.
set -eu

tmp=$(mktemp -d "${TMPDIR:-/tmp}/tesselon-x.XXXXXX")
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" \
  >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
openbox_pid=""

cleanup() {
  [ -n "$openbox_pid" ] && kill "$openbox_pid" 2>/dev/null || true
  kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -rf "$tmp"
}
trap cleanup EXIT INT TERM

i=0
while [ ! -s "$tmp/display" ]; do
  i=$((i + 1))
  if [ "$i" -gt 100 ] || ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "with-display: Xvfb did not start" >&2
    cat "$tmp/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done
DISPLAY=":$(cat "$tmp/display")"
export DISPLAY

openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
openbox_pid=$!
# Wait until the window manager owns the screen.
i=0
until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
  i=$((i + 1))
  [ "$i" -gt 100 ] && { echo "with-display: openbox did not start" >&2; exit 1; }
  sleep 0.1
done

status=0
"$@" || status=$?
exit "$status"
