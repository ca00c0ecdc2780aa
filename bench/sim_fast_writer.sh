#!/usr/bin/env bash
# talvora-sim under a writer that never pauses: dd writes 4 KiB blocks to its terminal for
# SECONDS seconds. Prints how much the writer got rid of, talvora-sim's memory before and at its
# peak, and the CPU it used meanwhile. Figures only; nothing is asserted.
#   bash bench/sim_fast_writer.sh [TALVORA-SIM] [SECONDS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
sim=${1:-$top/build/tools/talvora_sim/talvora-sim}
seconds=${2:-20}
work=$(mktemp -d)
pid=
trap '[[ -n $pid ]] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT

"$sim" --quiet >"$work/path" &
pid=$!
until [[ -s $work/path ]]; do sleep 0.05; done
pty=$(head -n1 "$work/path")

kib() { awk -v key="$1:" '$1 == key { print $2 }' "/proc/$pid/status"; }
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }

before=$(kib VmRSS)
ticks_before=$(ticks)
# A blocked write waits while the terminal is full; dd prints its totals when interrupted.
timeout -s INT "$seconds" dd if=/dev/zero of="$pty" bs=4096 conv=notrunc 2>"$work/dd" || true
ticks_after=$(ticks)
peak=$(kib VmHWM)
written=$(awk '/bytes/ { print $1; exit }' "$work/dd")

awk -v s="$seconds" -v w="$written" -v b="$before" -v p="$peak" -v t="$((ticks_after - ticks_before))" \
  -v hz="$(getconf CLK_TCK)" 'BEGIN {
  printf "%-46s %10.3f MB\n", "written by the writer in " s " s:", w / 1e6
  printf "%-46s %10.3f MiB\n", "talvora-sim memory before the writer:", b / 1024
  printf "%-46s %10.3f MiB\n", "talvora-sim peak memory:", p / 1024
  printf "%-46s %10.3f %% of a core\n", "talvora-sim CPU while the writer wrote:", 100 * t / hz / s
}'
