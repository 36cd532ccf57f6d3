#!/bin/sh
# Runs the desktop probe on a virtual X screen and drives it through the X
# server: a click on the button, a click into the edit field and typing, a
# click on the check box, then a bubble shown without activation; then moves,
# resizes and focus changes made through the X server. Or, with "box", Enter
# on the message box it shows, after the focus was given to its owner.
# With "wm" a window manager (openbox) manages the windows; without, nothing
# does. Skipped (77) when the X tools or the window manager are missing.
#   run_desktop_probe.sh <probe> <snapshot.png> <dpi> [controls|box] [wm]
set -u
probe=$1 snapshot=$2 dpi=$3 mode=${4:-controls} manager=${5:-}
if [ "${INNER:-}" != 1 ]; then
  command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb is missing"; exit 77; }
  command -v xdotool >/dev/null 2>&1 || { echo "xdotool is missing"; exit 77; }
  if [ -n "$manager" ] && ! command -v openbox >/dev/null 2>&1; then
    echo "openbox is missing"; exit 77
  fi
  # On a screen of its own, run again from the inside.
  exec env XVFB_SCREEN=1280x800x24 XVFB_DPI="$dpi" INNER=1 "$(dirname "$0")/run_on_xvfb.sh" "$0" "$@"
fi

log=$snapshot.log
: >"$log"  # emptied before the probe starts, so no old line is read
fail() {
  echo "$1"; cat "$log"; [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null; exit 1
}
if [ -n "$manager" ]; then
  openbox >"$snapshot.wm.log" 2>&1 &
  tries=0
  until xdotool search --class openbox >/dev/null 2>&1; do
    tries=$((tries + 1)); [ $tries -gt 100 ] && fail "openbox did not start"
    sleep 0.1
  done
fi
if [ "$mode" = box ]; then set -- --box; else set -- hello; fi
"$probe" "$snapshot" "$1" >"$log" 2>&1 &
pid=$!
# Waits for a line of the probe's log, at most a minute.
await() {
  tries=0
  until grep -q "$1" "$log"; do
    tries=$((tries + 1))
    if [ $tries -gt 600 ] || ! kill -0 $pid 2>/dev/null; then fail "never saw: $1"; fi
    sleep 0.1
  done
}
# Waits until the X input focus is on the window of that name.
awaitFocus() {
  tries=0
  until [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "$1" ]; do
    tries=$((tries + 1))
    [ $tries -gt 100 ] && fail "the X focus is on \"$(xdotool getwindowfocus getwindowname)\", not on \"$1\""
    sleep 0.1
  done
}
# The desktop's focus moves to a window: through the window manager when one
# runs, else straight through the X server.
giveFocus() {
  if [ -n "$manager" ]; then xdotool windowactivate "$1"; else xdotool windowfocus "$1"; fi
}
windowNamed() {
  timeout 60 xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1
}

main=""
if [ "$mode" = box ]; then
  await '^box shown'
  set -- $(grep '^box shown' "$log")
  main=$(windowNamed "Desktop probe")
  box=$(windowNamed "Skiffwire")
  awaitFocus "Skiffwire"
  # The focus given to the owner, which the box keeps disabled, goes back to
  # the box.
  giveFocus "$main"
  awaitFocus "Skiffwire"
  xdotool mousemove --window "$box" "$3" "$4" key Return
  await '^answer'
  wait $pid
  status=$?
  cat "$log"
  exit $status
fi
await '^ready'
main=$(windowNamed "Desktop probe")
# The native window carries the platform window's class name as its X11
# class, so desktop tools find it by class.
[ "$(xdotool search --class '^ProbeMain$' | head -n 1)" = "$main" ] ||
  fail "the main window's X11 class is not ProbeMain"
set -- $(grep '^ready' "$log")
# ready dpi N button X Y edit X Y check X Y (client coordinates)
bx=$5 by=$6 ex=$8 ey=$9 cx=${11} cy=${12}
# The first click of a fresh window can be lost before it has been entered
# once; it is repeated until the press arrives.
tries=0
until grep -q '^clicked' "$log"; do
  tries=$((tries + 1))
  [ $tries -gt 10 ] && await '^clicked'
  xdotool mousemove --window "$main" "$bx" "$by" click 1
  attempts=0
  while [ $attempts -lt 30 ] && ! grep -q '^clicked' "$log"; do
    attempts=$((attempts + 1)); sleep 0.1
  done
done
xdotool mousemove --window "$main" "$ex" "$ey" click 1 type --delay 30 hello
await '^text hello'
xdotool mousemove --window "$main" "$cx" "$cy" click 1
await '^check 1'
# The bubble appears once the check is set, and the window keeps its focus.
await '^tip shown, the window keeps the focus'
await '^snapshot'
# Neither the bubble nor a window shown without activation took the X focus.
await '^desktop phase'
other=$(windowNamed "Probe other")
awaitFocus "Desktop probe"
# Moves, resizes and focus changes made outside the program reach it. Where a
# window manager puts a moved window is its own choice: the probe must report
# where the X server has it (the pointer put at the window's origin tells).
xdotool windowmove "$main" 200 150
tries=0
until eval "$(xdotool mousemove --window "$main" 0 0 getmouselocation --shell)" &&
    grep -q "^moved $X $Y\$" "$log"; do
  tries=$((tries + 1)); [ $tries -gt 100 ] && fail "the move to $X $Y never arrived"
  sleep 0.1
done
xdotool windowsize "$main" 400 300
await '^size 400 300'
giveFocus "$other"
await '^activated other'
awaitFocus "Probe other"
giveFocus "$main"
await '^activated main'
wait $pid
status=$?
cat "$log"
exit $status
