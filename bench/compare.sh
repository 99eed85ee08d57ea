#!/usr/bin/env bash
# Times every headless command beside a one-pass awk rewrite of the same input,
# in the same run, and prints one line per command:
#   command  seconds  awk-seconds  ratio  peak-MiB  peak/input  PASS|FAIL
# The machine is shared and noisy, so only the ratios mean anything: each
# figure is the best of three warm runs, the command's and the awk pass's
# taken by turns.
#
#   bench/compare.sh [ROWS]        (default 1000000; needs `make build` first)
#
# Goals: renumber-lines at most 0.4x the awk pass, every other command at most
# 0.6x, peak memory at most 2.5x the input file. Not part of `make test`.
set -euo pipefail
cd "$(dirname "$0")/.."

rows=${1:-1000000}
build=${BUILD:-build}
fulgor=$build/fulgor
[ -x "$fulgor" ] || fulgor=$build/src/app/fulgor
generator=$build/bench/generate_talsen
sd_generator=$build/bench/generate_sd_show
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for tool in "$fulgor" "$generator" "$sd_generator" "$build/bench/read_sd_fields" /usr/bin/time mawk; do
  command -v "$tool" >/dev/null || { echo "compare.sh: missing $tool (run make build)" >&2; exit 1; }
done

# The inputs: a generated Talsen script, the same with every cue addressed,
# and the Kavrin show imported from that.
"$generator" "$rows" 1 "$work/show.csv"
"$fulgor" renumber "$work/show.csv" -o "$work/numbered.csv" 2>/dev/null || true
"$fulgor" import "$work/numbered.csv" -o "$work/show.kvn" 2>/dev/null || true
# A PD panel takes a module of 00 to 7F and a one-digit hex pin, times under
# 100 hours, and skips a cue without a Prefire: no numbering scheme covers a
# million cues that way, so awk gives every cue such an address and a Prefire
# and folds the times past 100 hours back, and format-pd converts every cue
# rather than refusing the script.
mawk -F, -v OFS=, 'NR > 1 {
    if ($5 == "") $5 = "0.50"
    if ($4 + 0 >= 359999) $4 = sprintf("%.2f", $4 % 359999)
    $8 = sprintf("%02X", int((NR - 2) / 16) % 128); $9 = sprintf("%X", (NR - 2) % 16)
  } 1' "$work/show.csv" >"$work/pd_ready.csv"
"$fulgor" format-pd "$work/pd_ready.csv" -o /dev/null 2>"$work/pd_stats" ||
  { cat "$work/pd_stats" >&2; echo "compare.sh: format-pd refused its input" >&2; exit 1; }
"$sd_generator" "$rows" "$work/show.scx"

# The peer: awk reads every field of the Talsen script and writes every line to
# a file, as the commands do.
awk_pass() {
  mawk -F, -v OFS=, 'NR<=1{print;next}{$1=NR-1;print}' "$1" >"$work/awk_out"
}
export -f awk_pass
export work

# time_once CMD... : prints "SECONDS PEAK_KIB STATUS" of one run. Seconds come
# from bash's own clock, to the millisecond, so that a 100,000-cue run's few
# hundredths of a second still compare; /usr/bin/time gives the memory. The
# status is the one /usr/bin/time ends with, 128 and the signal's number for a
# command a signal killed: its own %x reads 0 for those.
time_once() {
  local seconds kib status=0 TIMEFORMAT=%3R
  { time /usr/bin/time -o "$work/time" -f '%M' "$@" >/dev/null 2>&1 || status=$?; } 2>"$work/elapsed"
  seconds=$(tail -n 1 "$work/elapsed")
  kib=$(tail -n 1 "$work/time")
  echo "$seconds $kib $status"
}

# best_pairs TEXT CMD... : runs the command and the awk pass over TEXT by turns,
# three times each, so that both meet the same spells of a busy machine, and
# prints "SECONDS AWK_SECONDS PEAK_KIB": the fastest run of each, the largest
# memory of the command. Prints "failed STATUS" when a run ends other than as
# a command may (0 done, 3 fell short, 4 conflicts found): a crash must never
# pass for a fast run.
best_pairs() {
  local text=$1 best="" best_awk="" peak=0 i seconds kib status awk_seconds
  shift
  for i in 1 2 3; do
    read -r seconds kib status < <(time_once "$@")
    if ! [[ $status =~ ^[034]$ ]]; then
      echo "failed $status"
      return
    fi
    read -r awk_seconds _ < <(time_once bash -c 'awk_pass "$1"' _ "$text")
    if [ -z "$best" ] || awk -v a="$seconds" -v b="$best" 'BEGIN{exit !(a<b)}'; then best=$seconds; fi
    if [ -z "$best_awk" ] || awk -v a="$awk_seconds" -v b="$best_awk" 'BEGIN{exit !(a<b)}'; then
      best_awk=$awk_seconds
    fi
    [ "$kib" -gt "$peak" ] && peak=$kib
  done
  echo "$best $best_awk $peak"
}

printf '%-15s %8s %8s %7s %9s %8s  %s\n' command seconds awk ratio peak-MiB peak/in verdict
# report NAME GOAL INPUT CMD...: the awk pass rewrites INPUT, and the peak
# memory is measured against its size. An SD database is not text awk could
# read, so beside the SD commands awk rewrites the Talsen script of as many
# cues. A GOAL of "-" marks a line that is measured for reference only.
report() {
  local name=$1 goal=$2 input=$3
  shift 3
  local text=$input
  [[ $input == *.scx ]] && text=$work/show.csv
  read -r seconds awk_seconds peak < <(best_pairs "$text" "$@")
  if [ "$seconds" = failed ]; then
    printf '%-15s failed with status %s  FAIL\n' "$name" "$awk_seconds"
    return
  fi
  local size
  size=$(stat -c %s "$input")
  awk -v n="$name" -v s="$seconds" -v a="$awk_seconds" -v p="$peak" -v f="$size" -v g="$goal" 'BEGIN{
    r = (a > 0) ? s / a : 0; m = p * 1024 / f
    v = (g == "-") ? "(floor, no goal)" : (r <= g && m <= 2.5) ? "PASS" : "FAIL"
    printf "%-15s %8.3f %8.3f %6.2fx %9.1f %7.2fx  %s\n", n, s, a, r, p / 1024, m, v
  }'
}

# run NAME GOAL INPUT ARGS...: the command NAME of fulgor, reported as above.
run() {
  local name=$1 goal=$2 input=$3
  shift 3
  if ! "$fulgor" help | grep -q "^  $name "; then
    printf '%-15s (not built yet)\n' "$name"
    return
  fi
  report "$name" "$goal" "$input" "$fulgor" "$@"
}

run renumber-lines 0.4 "$work/show.csv" renumber-lines "$work/show.csv" -o "$work/out"
run renumber 0.6 "$work/show.csv" renumber "$work/show.csv" -o "$work/out"
run import 0.6 "$work/numbered.csv" import "$work/numbered.csv" -o "$work/out"
run group 0.6 "$work/show.kvn" group "$work/show.kvn" -o "$work/out"
run check 0.6 "$work/show.kvn" check "$work/show.kvn" -o "$work/out"
run format-kv 0.6 "$work/show.kvn" format-kv "$work/show.kvn" -o "$work/out"
run format-pd 0.6 "$work/pd_ready.csv" format-pd "$work/pd_ready.csv" -o "$work/out"
run sd2talsen 0.6 "$work/show.scx" sd2talsen "$work/show.scx" -o "$work/out"
run sd2pd 0.6 "$work/show.scx" sd2pd "$work/show.scx" -o "$work/out"
# What both SD commands cost before any conversion: SQLite giving the fields
# they read, every event, through the same reader.
report sd-read-alone - "$work/show.scx" "$build/bench/read_sd_fields" "$work/show.scx"
