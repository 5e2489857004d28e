#!/usr/bin/env bash
# Builds Kovrin and runs the main job. Without a display (neither DISPLAY nor
# WAYLAND_DISPLAY) it runs the default benchmark headless with the launcher of
# the run folder: a line as each of the twelve runs starts and ends, the
# details and the score; exit 0 when the benchmark finished. On a desktop it
# opens the launcher's window. Further arguments go to the launcher, e.g.
#   ./tools/run.sh --json result.json
set -euo pipefail
caller=$PWD
cd "$(dirname "$0")/.."
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target kovrin Quillfire Lumavane
run_dir=$PWD/build/default/run

# The launcher keeps its hand-off files in its own folder whatever the
# current one; the caller's stays current for a relative --json path.
cd "$caller"
if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
  exec "$run_dir/kovrin" --headless "$@"
fi
exec "$run_dir/kovrin" "$@"
