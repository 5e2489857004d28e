#!/bin/sh
# Takes the README's pictures: frame 20 of each test program at 640x480x32,
# drawn headless on the shipped data, read back by the frame probe and saved
# as docs/screenshots/quillfire.png and docs/screenshots/lumavane.png.
# Usage (after a build): tests/scenes/take_screenshots.sh [build dir]
set -eu
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(cd "${1:-$source_dir/build/default}" && pwd)
run_dir="$build_dir/run"
probe="$build_dir/tests/bin/libkovrin_frame_probe.so"
frame=20
for f in "$run_dir/Quillfire" "$run_dir/Lumavane" "$probe"; do
  [ -e "$f" ] || { echo "missing $f: build the default preset first" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/kovrin-test-XXXXXX")
# The folder goes however the script ends; a signal ends it through exit so
# that the EXIT trap runs (sh runs it on exit only).
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM HUP
ln -s "$run_dir/data" "$work/data"
cp "$run_dir/default.fnt" "$work/"
printf 'GL_RESX=640;\r\nGL_RESY=480;\r\nGL_BITDEPTH=32;\r\n' > "$work/config.cfg"
mkdir -p "$source_dir/docs/screenshots"

for program in Quillfire Lumavane; do
  name=$(echo "$program" | tr 'A-Z' 'a-z')
  (cd "$work" && SDL_VIDEODRIVER=offscreen KOVRIN_MSGBOX=default LD_PRELOAD="$probe" \
    KOVRIN_FRAMEGRAB="$work/$name.ppm" KOVRIN_FRAMEGRAB_FRAME=$frame KOVRIN_QUIT_AFTER_FRAMES=$frame \
    "$run_dir/$program")
  [ -s "$work/$name.ppm" ] || { echo "$program drew fewer than $frame frames" >&2; exit 1; }
  convert "$work/$name.ppm" -strip "$source_dir/docs/screenshots/$name.png"
  echo "docs/screenshots/$name.png"
done
