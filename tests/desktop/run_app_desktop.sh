#!/bin/sh
# Runs the real skiffwire executable on a virtual X screen under a window
# manager and uses it as a person would, through clicks and typing sent by
# xdotool: answers the settings-file box of a first start, connects to a
# reference peer on 127.0.0.2, sends a payload the peer answers first "NAK"
# then "ACK", saves the settings, closes the window (exit code 0), starts
# again and finds the saved values (no settings box). Screenshots of the
# window before and after the transmission go to <shots>/app_<dpi>_*.png.
# Skipped (77) when the X tools or the window manager are missing.
#   run_app_desktop.sh <skiffwire> <skiffwire-peer> <x_screenshot> <shots dir> <dpi>
set -u
app=$1 peer=$2 shot=$3 shots=$4 dpi=$5
if [ "${INNER:-}" != 1 ]; then
  for tool in Xvfb xdotool openbox; do
    command -v $tool >/dev/null 2>&1 || { echo "$tool is missing"; exit 77; }
  done
  # On a screen of its own, run again from the inside.
  exec env XVFB_SCREEN=1280x1024x24 XVFB_DPI="$dpi" INNER=1 "$(dirname "$0")/run_on_xvfb.sh" "$0" "$@"
fi

# The settings file lives beside the executable: a folder of our own.
work=$(mktemp -d)
cp "$app" "$work/skiffwire"
port=$((20000 + $$ % 20000))
payload="Skiffwire says hello $$"
app_pid="" peer_pid="" wm_pid=""
cleanup() {
  for p in $app_pid $peer_pid $wm_pid; do kill "$p" 2>/dev/null; done
  rm -rf "$work"
}
fail() {
  echo "FAIL: $1"
  echo "--- peer"; cat "$work/peer.log" 2>/dev/null
  echo "--- app"; cat "$work/app.log" 2>/dev/null
  cleanup; exit 1
}
# Waits (at most 30 s) until the command succeeds.
await() {
  what=$1; shift
  tries=0
  until "$@" >/dev/null 2>&1; do
    tries=$((tries + 1)); [ $tries -gt 300 ] && fail "never saw: $what"
    sleep 0.1
  done
}
# A point given in pixels at 96 dots per inch, scaled to the screen.
px() { echo $(($1 * dpi / 96)); }
click() { xdotool mousemove --sync --window "$window" "$(px $1)" "$(px $2)" click 1; sleep 0.2; }
# Replaces the text of the box at (x, y) with the given text.
retype() {
  click "$1" "$2"
  xdotool key End; xdotool key --repeat 40 --delay 5 BackSpace
  xdotool type --delay 20 "$3"; sleep 0.2
}
# Alt+F4 to the active window: the window manager asks it to close.
close_window() {
  xdotool windowactivate --sync "$window" >/dev/null 2>&1
  xdotool key alt+F4
}
start_app() {
  (cd "$work" && exec ./skiffwire >>"$work/app.log" 2>&1) &
  app_pid=$!
}
main_window() {
  found=$(xdotool search --onlyvisible --name "^Skiffwire Ver1.0a$" 2>/dev/null | head -n 1)
  [ -n "$found" ] && echo "$found"
}

openbox >/dev/null 2>&1 &
wm_pid=$!
await "the window manager" xdotool search --class openbox
"$peer" --bind 127.0.0.2 --port $port --reply ack --nak-first 1 >"$work/peer.log" 2>&1 &
peer_pid=$!
await "the peer" grep -q "$port" "$work/peer.log"

# First start: no settings file, so the box says so; Enter answers it.
start_app
await "the settings box" xdotool search --onlyvisible --name "^Setting file error$"
sleep 0.3
xdotool key Return
await "the main window" main_window
window=$(main_window)
xdotool windowactivate --sync "$window" 2>/dev/null
sleep 0.5
"$shot" "$shots/app_${dpi}_before.png" "$window" || fail "no screenshot"

# Connection frame at (8, 8): address box, port box, Connect.
retype 164 39 127.0.0.2
retype 134 67 $port
click 250 67
# The payload box of the datagram frame at (316, 8), then Send Datagram.
click 428 60
xdotool type --delay 20 "$payload"; sleep 0.3
click 672 445
await "two transmissions" grep -q "transmission 2:" "$work/peer.log"
await "the ACK" grep -q 'reply "ACK"' "$work/peer.log"
sleep 0.5
"$shot" "$shots/app_${dpi}_after.png" "$window" || fail "no screenshot"
[ "$(grep -c "bytes: \"$payload\"" "$work/peer.log")" -ge 1 ] ||
  grep -q "$payload" "$work/peer.log" || fail "the peer did not see the payload"
grep -q 'reply "NAK"' "$work/peer.log" || fail "no NAK was sent"

# Save Settings, then close the window: the program ends with 0.
click 88 445
await "Settings.txt" test -s "$work/Settings.txt"
grep -q "127.0.0.2" "$work/Settings.txt" || fail "the address was not saved"
grep -q "$port" "$work/Settings.txt" || fail "the port was not saved"
close_window
tries=0
while kill -0 $app_pid 2>/dev/null; do
  tries=$((tries + 1)); [ $tries -gt 100 ] && fail "the window did not close"
  sleep 0.1
done
wait $app_pid; status=$?
[ $status -eq 0 ] || fail "exit code $status after closing"

# Second start: the saved values, no settings box.
start_app
await "the main window again" main_window
window=$(main_window)
sleep 1
xdotool search --onlyvisible --name "^Setting file error$" >/dev/null 2>&1 && fail "the settings box came back"
"$shot" "$shots/app_${dpi}_restart.png" "$window" || fail "no screenshot"
close_window
tries=0
while kill -0 $app_pid 2>/dev/null; do
  tries=$((tries + 1)); [ $tries -gt 100 ] && fail "the window did not close the second time"
  sleep 0.1
done
wait $app_pid; status=$?
[ $status -eq 0 ] || fail "exit code $status after the second close"
echo "--- peer"; cat "$work/peer.log"
cleanup
echo PASS
