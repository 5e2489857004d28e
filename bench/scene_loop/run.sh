#!/bin/sh
# Scene loop benchmark. One command, after `cmake --build --preset default`:
#
#   bench/scene_loop/run.sh [build dir]        (default: build/default)
#
# 1. Runs Quillfire and Lumavane headless at the default benchmark's six
#    settings (640x480, 1024x768, 1600x1200 at 16 and 32 bpp), each a whole
#    timed run, and prints per run the frame rate and how one pass of the main
#    loop splits into message poll, DrawScene, swap and the rest of the
#    framework (queue, timer messages, the loop). The split is measured from
#    outside by a preloaded library (libkovrin_loop_split.so); the programs
#    run unchanged.
# 2. Runs Quillfire and a bare loop drawing the same scene (quillfire_bare_loop:
#    no message poll, no timer) side by side at 1024x768x32, alternating, and
#    prints their frame-rate ratio.
# All figures are ratios of runs taken in the same session; absolute times
# depend on the machine and its load and are no verdict.
# With --smoke as second argument only a second of the bare loop is run.
set -eu
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(cd "${1:-$source_dir/build/default}" && pwd)
mode=${2:-full}
run_dir="$build_dir/run"
split_lib="$build_dir/bench/bin/libkovrin_loop_split.so"
bare_loop="$build_dir/bench/bin/quillfire_bare_loop"
for f in "$run_dir/Quillfire" "$run_dir/Lumavane" "$run_dir/default.fnt" "$split_lib" "$bare_loop"; do
  [ -e "$f" ] || { echo "missing $f: build the default preset first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. "$source_dir/bench/run_folder.sh"

# Runs a program file in a folder with the split library; the split lands in
# <folder>/split.
run_split() {
  (cd "$1" && env SDL_VIDEODRIVER=offscreen KOVRIN_MSGBOX=default KOVRIN_DIAG=1 \
    LD_PRELOAD="$split_lib" KOVRIN_LOOP_SPLIT="$1/split" "$2" ${3:-} > "$1/stdout" 2> "$1/stderr")
}

# Frames per second of the measured loop.
split_fps() {
  tr ' ' '\n' < "$1/split" | awk -F= '{v[$1]=$2} END {printf "%.2f", (v["loop"] > 0 ? v["frames"] / v["loop"] : 0)}'
}

# program, setting, results.fps, then the split of one pass in percent.
print_split_row() {
  tr ' ' '\n' < "$1/split" | awk -F= -v program="$2" -v setting="$3" -v result="$4" '
    {v[$1]=$2}
    END {
      loop = v["loop"]; frames = v["frames"]
      if (loop <= 0 || frames <= 0) { printf "%-10s %-13s no frames measured\n", program, setting; exit }
      other = loop - v["draw"] - v["swap"] - v["poll"]
      if (other < 0) other = 0
      printf "%-10s %-13s %11s %8.2f %9.2f %7.3f%% %9.2f%% %6.2f%% %7.3f%% %9.3f%%\n", program, setting, result,
        frames / loop, 1000 * loop / frames, 100 * v["poll"] / loop, 100 * v["draw"] / loop,
        100 * v["swap"] / loop, 100 * other / loop, 100 * (v["poll"] + other) / loop
    }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", (b > 0 ? a / b : 0) }'; }

if [ "$mode" = "--smoke" ]; then
  dir=$(new_folder "$run_dir" "$work" 320 240 32)
  run_split "$dir" "$bare_loop" 1
  frames=$(tr ' ' '\n' < "$dir/split" | awk -F= '$1 == "frames" {print $2}')
  echo "bare loop: $frames frames, $(split_fps "$dir") fps (split from outside)"
  exit 0
fi

first=$(new_folder "$run_dir" "$work" 640 480 32)
run_split "$first" "$run_dir/Quillfire"
renderer=$(sed -n 's/^\[diag\] renderer: //p' "$first/stderr")
echo "Scene loop benchmark on ${renderer:-an unknown renderer}, $(nproc) CPU cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo
echo "One loop pass split into its parts (share of the measured loop time):"
printf "%-10s %-13s %11s %8s %9s %8s %10s %7s %8s %10s\n" program setting results.fps fps "pass ms" poll DrawScene swap other framework
for program in Quillfire Lumavane; do
  for setting in "640 480 16" "640 480 32" "1024 768 16" "1024 768 32" "1600 1200 16" "1600 1200 32"; do
    set -- $setting
    if [ "$program" = Quillfire ] && [ "$setting" = "640 480 32" ]; then
      dir=$first
    else
      dir=$(new_folder "$run_dir" "$work" "$1" "$2" "$3")
      run_split "$dir" "$run_dir/$program"
    fi
    result=$(tr -d '\r\n' < "$dir/results.fps" 2>/dev/null || echo none)
    print_split_row "$dir" "$program" "${1}x${2}x${3}" "$result"
  done
done
echo "(framework = poll + other: the message poll, the queue, timer handling and the loop itself;"
echo " counting the frame is one increment inside DrawScene. The swap includes the glFinish that"
echo " ends each frame on the offscreen driver, so it carries most of the rendering.)"
echo

echo "Quillfire against a bare loop drawing the same scene, 1024x768x32, alternating:"
sum_program=0
sum_bare=0
for order in "program bare" "bare program" "program bare"; do
  for who in $order; do
    dir=$(new_folder "$run_dir" "$work" 1024 768 32)
    if [ "$who" = program ]; then
      run_split "$dir" "$run_dir/Quillfire"
      program_fps=$(split_fps "$dir")
    else
      run_split "$dir" "$bare_loop" 8
      bare_fps=$(split_fps "$dir")
    fi
  done
  echo "  Quillfire $program_fps fps, bare loop $bare_fps fps, ratio $(ratio "$program_fps" "$bare_fps")"
  sum_program=$(awk -v a="$sum_program" -v b="$program_fps" 'BEGIN { print a + b }')
  sum_bare=$(awk -v a="$sum_bare" -v b="$bare_fps" 'BEGIN { print a + b }')
done
echo "Quillfire / bare loop over all rounds: $(ratio "$sum_program" "$sum_bare") (target >= 0.97)"
