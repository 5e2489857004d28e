#!/usr/bin/env bash
# Formats every C++ file of the project with the committed .clang-format;
# with --check, changes nothing and fails when a file would change.
set -euo pipefail
cd "$(dirname "$0")/.."
mode=(-i)
if [[ ${1:-} == --check ]]; then mode=(--dry-run -Werror); fi
git ls-files -z '*.cpp' '*.h' ':!tests/architecture/names_fixture' | xargs -0 clang-format-14 --style=file "${mode[@]}"
