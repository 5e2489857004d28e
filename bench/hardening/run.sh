#!/bin/sh
# What the hardening flags cost the frame loop. One command from the source
# folder:
#
#   bench/hardening/run.sh [pairs]        (default: 4 pairs per program)
#
# Builds the test programs twice in build/bench-hardening/ (RelWithDebInfo,
# once with -DKOVRIN_HARDENING=OFF, once with the default ON; ccache makes the
# second time quick), then runs Quillfire and Lumavane headless at 640x480x32,
# alternating: unhardened, hardened, unhardened, hardened, ... Each run is a
# whole timed run; its frame rate is measured from outside by the scene loop
# benchmark's preloaded library (frames over loop time, not the whole-number
# results.fps), together with the CPU time each frame took. Prints each pair's
# ratios hardened / unhardened and their medians.
# Only the ratios mean anything: absolute rates depend on the machine and on
# whatever else it is doing. Scratch folders live in build/bench-hardening/.
set -eu
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
pairs=${1:-4}
root="$source_dir/build/bench-hardening"

# build <folder> <KOVRIN_HARDENING>: the programs, their data and the split library.
build() {
  cmake -S "$source_dir" -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOVRIN_HARDENING="$2" \
    -DKOVRIN_BUILD_LAUNCHER=OFF -DKOVRIN_BUILD_TESTS=OFF -DKOVRIN_BUILD_BENCH=ON > "$1.configure.log"
  cmake --build "$1" --target Quillfire Lumavane kovrin_data kovrin_loop_split > "$1.build.log"
}
mkdir -p "$root"
build "$root/off" OFF
build "$root/on" ON
split_lib="$root/on/bench/bin/libkovrin_loop_split.so"

work=$(mktemp -d "$root/work.XXXXXX")
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM
. "$source_dir/bench/run_folder.sh"

# run <build folder> <program>: prints the frames per second of the measured
# loop and the CPU time per frame in milliseconds (the program's user and
# system time, its driver threads included, over its frames). The CPU time
# barely depends on what else the machine runs; the frame rate does.
run() {
  dir=$(new_folder "$1/run" "$work" 640 480 32)
  (cd "$dir" && $priority env SDL_VIDEODRIVER=offscreen KOVRIN_MSGBOX=default LD_PRELOAD="$split_lib" \
    KOVRIN_LOOP_SPLIT="$dir/split" "$1/run/$2" > "$dir/stdout" 2> "$dir/stderr"; times > "$dir/times")
  cpu=$(sed -n 2p "$dir/times" | awk '{ n = 0; for (i = 1; i <= 2; i++) { split($i, t, "m"); n += t[1] * 60 + t[2] } print n }')
  tr ' ' '\n' < "$dir/split" | awk -F= -v cpu="$cpu" '{v[$1]=$2}
    END {printf "%.2f %.2f", (v["loop"] > 0 ? v["frames"] / v["loop"] : 0), (v["frames"] > 0 ? 1000 * cpu / v["frames"] : 0)}'
}

# Other builds share the machine; as root the runs go ahead of them, so that
# their frame rates measure the programs rather than the neighbours.
priority=
if [ "$(id -u)" -eq 0 ]; then priority="nice -n -10"; fi

median() { sort -n | awk '{v[NR]=$1} END {print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }

echo "Hardening flags against none, 640x480x32 offscreen, $(nproc) CPU cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
for program in Quillfire Lumavane; do
  fps_ratios=""
  cpu_ratios=""
  i=1
  while [ "$i" -le "$pairs" ]; do
    set -- $(run "$root/off" "$program") $(run "$root/on" "$program")
    fps_ratio=$(awk -v a="$3" -v b="$1" 'BEGIN { printf "%.3f", (b > 0 ? a / b : 0) }')
    cpu_ratio=$(awk -v a="$4" -v b="$2" 'BEGIN { printf "%.3f", (b > 0 ? a / b : 0) }')
    echo "  $program pair $i: unhardened $1 fps $2 ms CPU/frame, hardened $3 fps $4 ms CPU/frame;" \
      "ratios: fps $fps_ratio, CPU/frame $cpu_ratio"
    fps_ratios="$fps_ratios $fps_ratio"
    cpu_ratios="$cpu_ratios $cpu_ratio"
    i=$((i + 1))
  done
  echo "$program hardened / unhardened, median of $pairs pairs: fps $(echo "$fps_ratios" | tr ' ' '\n' | sed '/^$/d' | median)," \
    "CPU time per frame $(echo "$cpu_ratios" | tr ' ' '\n' | sed '/^$/d' | median)"
done
