#!/bin/sh
# Runs a program on a virtual X screen of its own and passes on its exit
# code. Skipped (77) when Xvfb is missing. XVFB_SCREEN (1024x768x24) and
# XVFB_DPI (96) shape the screen; the program finds the resolution in
# SKIFFWIRE_DPI.
#   run_on_xvfb.sh <program> [arguments...]
set -u
command -v Xvfb >/dev/null 2>&1 || { echo "Xvfb is missing"; exit 77; }
# The server picks a free display itself and writes its number once it
# takes connections, so tests run side by side never share a display.
number=$(mktemp)
screen=${XVFB_SCREEN:-1024x768x24} dpi=${XVFB_DPI:-96}
Xvfb -displayfd 3 -nolisten tcp -screen 0 "$screen" -dpi "$dpi" 3>"$number" 2>/dev/null &
server=$!
tries=0
until [ -s "$number" ]; do
  tries=$((tries + 1))
  if [ $tries -gt 300 ] || ! kill -0 $server 2>/dev/null; then
    echo "Xvfb did not start"; rm -f "$number"; exit 1
  fi
  sleep 0.1
done
DISPLAY=:$(cat "$number") SKIFFWIRE_DPI=$dpi "$@"
status=$?
kill $server 2>/dev/null
wait $server 2>/dev/null
rm -f "$number"
exit $status
