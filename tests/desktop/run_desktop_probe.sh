#!/bin/sh
# Runs the desktop probe on a virtual X screen and drives it through the X
# server: a click on the button, a click into the edit field and typing, a
# click on the check box, then a bubble shown without activation; then moves,
# resizes and focus changes made through the X server. Or, with "box", Enter
# on the message box it shows, after the focus was given to its owner.
# Skipped (77) when the X tools are missing.
#   run_desktop_probe.sh <probe> <snapshot.png> <dpi> [box]
set -u
probe=$1 snapshot=$2 dpi=$3 mode=${4:-controls}
if [ "${INNER:-}" != 1 ]; then
  command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run is missing"; exit 77; }
  command -v xdotool >/dev/null 2>&1 || { echo "xdotool is missing"; exit 77; }
  INNER=1 SKIFFWIRE_DPI=$dpi exec xvfb-run -a -s "-screen 0 1280x800x24 -dpi $dpi" "$0" "$@"
fi

log=$snapshot.log
: >"$log"  # emptied before the probe starts, so no old line is read
if [ "$mode" = box ]; then set -- --box; else set -- hello; fi
"$probe" "$snapshot" "$1" >"$log" 2>&1 &
pid=$!
# Waits for a line of the probe's log, at most a minute.
await() {
  tries=0
  until grep -q "$1" "$log"; do
    tries=$((tries + 1))
    if [ $tries -gt 600 ] || ! kill -0 $pid 2>/dev/null; then
      echo "never saw: $1"; cat "$log"; kill $pid 2>/dev/null; exit 1
    fi
    sleep 0.1
  done
}
if [ "$mode" = box ]; then
  await '^box shown'
  set -- $(grep '^box shown' "$log")
  # The focus given to the owner, which the box keeps disabled, goes back to
  # the box.
  main=$(xdotool search --onlyvisible --name '^Desktop probe$' | head -n 1)
  xdotool windowfocus "$main"
  tries=0
  until [ "$(xdotool getwindowfocus getwindowname)" = "Skiffwire" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ]; then
      echo "the box did not take the focus back"; cat "$log"; kill $pid; exit 1
    fi
    sleep 0.1
  done
  xdotool mousemove "$3" "$4" key Return
  await '^answer'
  wait $pid
  status=$?
  cat "$log"
  exit $status
fi
await '^ready'
# The window is mapped once the X server says it is viewable.
timeout 60 xdotool search --sync --onlyvisible --name "Desktop probe" >/dev/null
set -- $(grep '^ready' "$log")
# ready dpi N button X Y edit X Y check X Y
bx=$5 by=$6 ex=$8 ey=$9 cx=${11} cy=${12}
# The first click of a fresh window can be lost before it has been entered
# once; it is repeated until the press arrives.
tries=0
until grep -q '^clicked' "$log"; do
  tries=$((tries + 1))
  [ $tries -gt 10 ] && await '^clicked'
  xdotool mousemove "$bx" "$by" click 1
  attempts=0
  while [ $attempts -lt 30 ] && ! grep -q '^clicked' "$log"; do
    attempts=$((attempts + 1)); sleep 0.1
  done
done
xdotool mousemove "$ex" "$ey" click 1 type --delay 30 hello
await '^text hello'
xdotool mousemove "$cx" "$cy" click 1
await '^check 1'
# The bubble appears once the check is set, and the window keeps its focus.
await '^tip shown, the window keeps the focus'
await '^snapshot'
# Neither the bubble nor a window shown without activation took the X focus.
await '^desktop phase'
main=$(xdotool search --onlyvisible --name '^Desktop probe$' | head -n 1)
other=$(timeout 60 xdotool search --sync --onlyvisible --name '^Probe other$' | head -n 1)
focused=$(xdotool getwindowfocus getwindowname)
if [ "$focused" != "Desktop probe" ]; then
  echo "the X focus moved to: $focused"; cat "$log"; kill $pid; exit 1
fi
# Moves, resizes and focus changes made outside the program reach it.
xdotool windowmove "$main" 200 150
await '^moved 200 150'
xdotool windowsize "$main" 400 300
await '^size 400 300'
xdotool windowfocus "$other"
await '^activated other'
xdotool windowfocus "$main"
await '^activated main'
wait $pid
status=$?
cat "$log"
exit $status
