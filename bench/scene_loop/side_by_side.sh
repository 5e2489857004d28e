#!/bin/sh
# Each test program's exact frame rate against a bare loop drawing the same
# scene for the same time. One command, after building a preset:
#
#   bench/scene_loop/side_by_side.sh [build dir] [pairs]
#                                     (default: build/default, 7 pairs)
#
# For Quillfire and Lumavane at 640x480x16 and 1600x1200x32, runs pairs in
# the order A B A B ...: A is the program's whole timed run (its exact rate
# and length from the KOVRIN_DIAG=1 lines), B the bare loop
# (<program>_bare_loop) drawing for exactly as long as A's run lasted. Prints
# every pair and the medians; the ratio program / bare loop is the verdict
# (1.00: the framework costs nothing). Absolute rates depend on the machine
# and its load; the pairs are alternated closely so both sides see the same.
# Beside it, the same ratio per CPU second (frames / the process's user and
# system time, start-up included on both sides): on a machine that others
# keep busy the wall-clock rates swing from one run to the next, the work a
# frame costs does not.
set -eu
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(cd "${1:-$source_dir/build/default}" && pwd)
pairs=${2:-7}
run_dir="$build_dir/run"
for f in /usr/bin/time "$run_dir/Quillfire" "$run_dir/Lumavane" "$run_dir/default.fnt" \
         "$build_dir/bench/bin/quillfire_bare_loop" "$build_dir/bench/bin/lumavane_bare_loop"; do
  [ -e "$f" ] || { echo "missing $f: build the preset first" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

. "$source_dir/bench/run_folder.sh"

# Runs a program file in a folder, offscreen; its output lands in the folder,
# its CPU seconds (user + system, all threads) in <folder>/cpu.
run_in() {
  (cd "$1" && shift && /usr/bin/time -f '%U %S' -o cpu.raw \
    env SDL_VIDEODRIVER=offscreen KOVRIN_MSGBOX=default KOVRIN_DIAG=1 "$@" > stdout 2> stderr)
  awk '{ printf "%.3f\n", $1 + $2 }' "$1/cpu.raw" > "$1/cpu"
}

diag() { sed -n "s/^\[diag\] $2: //p" "$1/stderr"; }
median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }

renderer=""
echo "Programs against bare loops, side by side ($pairs pairs each, A B A B ...)"
echo "$(nproc) CPU cores, load average at the start $(cut -d' ' -f1-3 /proc/loadavg)"
for program in Quillfire Lumavane; do
  bare="$build_dir/bench/bin/$(echo "$program" | tr 'A-Z' 'a-z')_bare_loop"
  for setting in "640 480 16" "1600 1200 32"; do
    set -- $setting
    name="$program ${1}x${2}x${3}"
    : > "$work/program"; : > "$work/bare"; : > "$work/ratio"; : > "$work/cpu_ratio"
    i=1
    while [ "$i" -le "$pairs" ]; do
      a=$(new_folder "$run_dir" "$work" "$1" "$2" "$3")
      run_in "$a" "$run_dir/$program"
      [ -n "$renderer" ] || renderer=$(diag "$a" renderer)
      program_fps=$(diag "$a" fps)
      seconds=$(diag "$a" run_seconds)
      [ -n "$program_fps" ] && [ -n "$seconds" ] || { echo "$name: the program printed no exact figures" >&2; exit 1; }
      b=$(new_folder "$run_dir" "$work" "$1" "$2" "$3")
      run_in "$b" "$bare" "$seconds"
      bare_fps=$(sed -n 's/.*fps=\([0-9.]*\).*/\1/p' "$b/stdout")
      ratio=$(awk -v a="$program_fps" -v b="$bare_fps" 'BEGIN { printf "%.3f", (b > 0 ? a / b : 0) }')
      cpu_ratio=$(awk -v pf="$(diag "$a" frames)" -v pc="$(cat "$a/cpu")" \
        -v bf="$(sed -n 's/.*frames=\([0-9]*\).*/\1/p' "$b/stdout")" -v bc="$(cat "$b/cpu")" \
        'BEGIN { printf "%.3f", (pc > 0 && bf > 0 && bc > 0 ? (pf / pc) / (bf / bc) : 0) }')
      printf '  %-24s pair %d: program %8s fps over %s s, bare loop %8.2f fps, ratio %s (per CPU second %s)\n' \
        "$name" "$i" "$program_fps" "$seconds" "$bare_fps" "$ratio" "$cpu_ratio"
      echo "$program_fps" >> "$work/program"; echo "$bare_fps" >> "$work/bare"; echo "$ratio" >> "$work/ratio"
      echo "$cpu_ratio" >> "$work/cpu_ratio"
      i=$((i + 1))
    done
    printf '%-26s median: program %.2f fps, bare loop %.2f fps, ratio %.3f (per CPU second %.3f)\n' "$name" \
      "$(median < "$work/program")" "$(median < "$work/bare")" "$(median < "$work/ratio")" \
      "$(median < "$work/cpu_ratio")"
  done
done
echo "Renderer: ${renderer:-unknown}; load average at the end $(cut -d' ' -f1-3 /proc/loadavg)"
