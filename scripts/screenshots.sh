#!/usr/bin/env bash
# Takes a screenshot of each tab of the real window, with the example shows
# loaded, under a virtual X display: docs/screenshots/<tab>.png. On the
# Communications tab the Kavrin show is formatted first, with a pseudo-terminal
# standing in for the panel on port 1.
#   scripts/screenshots.sh [FULGOR_EXECUTABLE]
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${1:-build/fulgor}
out=docs/screenshots
mkdir -p "$out"

panel=$(mktemp)
python3 -c 'import os, pty, time; m, s = pty.openpty(); print(os.ttyname(s), flush=True); time.sleep(30)' >"$panel" &
panel_pid=$!
sleep 0.5
export FULGOR_PORT_1=$(cat "$panel")

xvfb-run -a -s "-screen 0 1280x800x24" bash -c "
  set -e
  QT_QPA_PLATFORM=xcb $exe examples/midsummer_finale.csv examples/midsummer_finale.kvn examples/midsummer_finale.scx 2>/dev/null &
  pid=\$!
  sleep 3
  shoot() { xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > $out/\$1.png; }
  window=\$(xdotool search --name 'Corvane Fulgor' | head -n1)
  xdotool windowmove \$window 0 0
  sleep 0.5
  # Click each tab's caption (window at the screen's corner, tabs under the menu bar).
  for tab in 60:talsen 178:kavrin; do
    xdotool mousemove \${tab%%:*} 32 click 1
    sleep 0.7
    shoot \${tab#*:}
  done
  # The SD tab with a filter typed under \"Event Description\" and a sort applied.
  xdotool mousemove 297 32 click 1
  sleep 0.7
  xdotool mousemove 508 155 click --repeat 2 1
  sleep 0.3
  xdotool type Crackling
  xdotool key Return
  sleep 0.7
  xdotool mousemove 400 123 click 1
  xdotool type '[ADDR] DESC'
  xdotool mousemove 808 123 click 1
  sleep 0.7
  shoot sd
  xdotool mousemove 417 32 click 1
  sleep 0.5
  xdotool mousemove 203 717 click 1  # Format KV Script
  sleep 1.5
  shoot communications
  kill \$pid
"
kill "$panel_pid" 2>/dev/null || true
rm -f "$panel"
ls -l "$out"

# The first printed page of the Kavrin show, as `fulgor print` writes it.
shows=/tmp/fulgor-shows
mkdir -p "$shows"
cp examples/midsummer_finale.kvn "$shows/"
"$exe" print "$shows/midsummer_finale.kvn" --pdf "$shows/midsummer_finale.pdf" 2>/dev/null
pdftoppm -png -r 100 -f 1 -l 1 -singlefile "$shows/midsummer_finale.pdf" "$out/print-kavrin"
rm -rf "$shows"

# The Timeline of the Kavrin show after Check Conflicts (its flagged cues red), with a line
# selected in the grid so that its mark is ringed.
shows=$(mktemp -d)
"$exe" check examples/midsummer_finale.kvn -o "$shows/midsummer_finale.kvn" 2>/dev/null || true
xvfb-run -a -s "-screen 0 1280x900x24" bash -c "
  set -e
  QT_QPA_PLATFORM=xcb $exe $shows/midsummer_finale.kvn 2>/dev/null &
  pid=\$!
  sleep 3
  window=\$(xdotool search --name 'Corvane Fulgor' | head -n1)
  xdotool windowmove \$window 0 0
  xdotool windowsize \$window 1270 890
  sleep 0.5
  xdotool mousemove 242 8 click 1   # View
  sleep 0.5
  xdotool mousemove 270 32 click 1  # Timeline
  sleep 1
  xdotool mousemove 40 250 click 1  # select a line in the grid
  sleep 0.7
  xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > $out/timeline.png
  kill \$pid
"
rm -rf "$shows"
