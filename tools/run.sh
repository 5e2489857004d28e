#!/usr/bin/env bash
# Builds Kovrin and runs the main job: the overdraw test once at 640x480,
# 16 bits, headless, in a scratch folder, and prints its frame rate.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)"

run_dir=$PWD/build/default/run
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
ln -s "$run_dir/data" "$scratch/data"
cp "$run_dir/default.fnt" "$scratch/"
printf 'GL_RESX=640;\r\nGL_RESY=480;\r\nGL_BITDEPTH=16;\r\n' >"$scratch/config.cfg"
export KOVRIN_MSGBOX=${KOVRIN_MSGBOX:-default}
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}; fi
(cd "$scratch" && KOVRIN_DIAG=1 "$run_dir/Quillfire")
echo "Quillfire 640x480x16: $(tr -d '\r\n' <"$scratch/results.fps") fps"
