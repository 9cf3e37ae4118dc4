#!/usr/bin/env bash
# A person at the desktop, on a virtual X display of its own: opens the receipt
# screen, types an amount and a date, tabs, compares what the window shows with
# its golden image, clicks OK, and checks what the screen read back through the
# field functions. A date the screen cannot take brings up a modal message box,
# answered with Enter, and Escape cancels the screen. Then the desktop goes away
# under a shown screen: the process must live on headless and say so once.
#
# usage: show_screen.sh CORVA SAMPLES GOLDEN WORKDIR
# Exit 77 (skipped) without Xvfb, xdotool or ImageMagick. CORVA_UPDATE_GOLDEN=1
# writes the golden image instead of comparing with it.
set -u
corva=$1 samples=$2 golden=$3 work=$4
for tool in Xvfb xdotool import compare; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
rm -rf "$work" && mkdir -p "$work/windir"
export CORVALIB_WINDIR="$work/windir" GTK_A11Y=none
unset CORVALIB_DISPLAY
pids=()
trap 'kill "${pids[@]}" 2>/dev/null' EXIT
fail() { echo "FAIL: $*"; cat "$work"/*.err 2>/dev/null; exit 1; }

start_x() {  # a fresh server on a free display number
  : > "$work/display"
  Xvfb -displayfd 9 -nolisten tcp -screen 0 640x480x24 9>"$work/display" 2>"$work/xvfb.log" &
  xvfb=$!
  pids+=("$xvfb")
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(cat "$work/display")"
}

open_screen() {  # starts corva ui show; sets corva_pid and window
  "$corva" ui show "$samples/receipt.dlg" >"$work/$1.out" 2>"$work/$1.err" &
  corva_pid=$!
  pids+=("$corva_pid")
  window=
  for _ in $(seq 100); do
    window=$(xdotool search --name '^Receipt$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    sleep 0.05
  done
  [ -n "$window" ] || fail "the screen did not appear"
}

wait_exit() {  # waits up to 10 s for corva to end
  for _ in $(seq 200); do
    kill -0 "$corva_pid" 2>/dev/null || return 0
    sleep 0.05
  done
  fail "corva did not end"
}

# ---- typing, tabbing, the screenshot, and OK --------------------------------------
start_x
open_screen typed
xdotool windowfocus --sync "$window"
xdotool type --delay 15 '1234.50'
xdotool key Tab
xdotool type --delay 15 '12/07/26'
xdotool key Tab
sleep 0.5
import -window "$window" "$work/typed.png" || fail "no screenshot"
if [ "${CORVA_UPDATE_GOLDEN:-0}" = 1 ]; then
  cp "$work/typed.png" "$golden"
else
  # Fonts may anti-alias a little differently: a few stray pixels pass.
  differing=$(compare -metric AE -fuzz 12% "$golden" "$work/typed.png" "$work/diff.png" 2>&1)
  [ "${differing%% *}" -le 150 ] 2>/dev/null || fail "the screen differs from $golden in $differing pixels (see $work/diff.png)"
fi
# OK: the dialog's frame is 1 pixel, its caption 18, and OK sits at (180,160)
# in the client area, 96 by 28.
xdotool mousemove --window "$window" 228 193 click 1
wait_exit
grep -qx 'closed with OK' "$work/typed.out" || fail "not closed with OK: $(cat "$work/typed.out")"
grep -qx 'field 101: "1234.50" amount 1234.50' "$work/typed.out" || fail "amount: $(cat "$work/typed.out")"
grep -qx 'field 102: date 12-7-26' "$work/typed.out" || fail "date: $(cat "$work/typed.out")"

# ---- a date the screen cannot take: a modal box, then Cancel -----------------------
open_screen boxed
xdotool windowfocus --sync "$window"
xdotool key Tab
xdotool type --delay 15 '13/45/26'
xdotool key Return
box=
for _ in $(seq 100); do
  box=$(xdotool search --name '^Check the date$' 2>/dev/null | head -1)
  [ -n "$box" ] && break
  sleep 0.05
done
[ -n "$box" ] || fail "no message box for the wrong date"
kill -0 "$corva_pid" 2>/dev/null || fail "the screen closed with a wrong date"
xdotool windowfocus --sync "$box" key Return
for _ in $(seq 100); do
  xdotool search --name '^Check the date$' >/dev/null 2>&1 || break
  sleep 0.05
done
xdotool windowfocus --sync "$window" key Escape
wait_exit
grep -qx 'closed with Cancel' "$work/boxed.out" || fail "not closed with Cancel: $(cat "$work/boxed.out")"
grep -qx 'field 102: date - (not a legal date)' "$work/boxed.out" || fail "date: $(cat "$work/boxed.out")"

# ---- the desktop goes away under a shown screen -------------------------------------
open_screen lost
kill "$xvfb"
sleep 1
kill -0 "$corva_pid" 2>/dev/null || fail "corva ended when the desktop went away"
[ "$(grep -c 'display lost' "$work/lost.err")" = 1 ] || fail "the loss was not told once: $(cat "$work/lost.err")"
before=$(awk '{print $14 + $15}' "/proc/$corva_pid/stat")
sleep 1
after=$(awk '{print $14 + $15}' "/proc/$corva_pid/stat")
[ $((after - before)) -le 5 ] || fail "headless after the loss, corva spins: $((after - before)) ticks in 1 s"
echo "passed"
