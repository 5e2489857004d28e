#!/usr/bin/env bash
# Builds and runs every test: the release build with warnings as errors and
# all tests, then the sanitizer build with the unit tests and fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

cmake --preset ci
cmake --build --preset ci -j "$jobs"
ctest --preset ci -j "$jobs"

cmake --preset asan
cmake --build --preset asan -j "$jobs"
ctest --preset asan -j "$jobs"
