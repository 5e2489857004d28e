#!/usr/bin/env bash
# The naming rules of README's "Layout", checked on the committed C++ files
# (or on the files given after the root): every include of a project header
# names its folder from the project root, every named namespace lies under
# kovrin::, and every file is formatted as .clang-format says. Each break is
# named with its file and line; exit 1 when there is any, 77 (skipped) when
# clang-format is missing and nothing else is wrong.
set -uo pipefail
root=$1
shift
cd "$root" || exit 2
if (($# > 0)); then files=("$@"); else mapfile -t files < <(git ls-files '*.cpp' '*.h' ':!tests/architecture/names_fixture'); fi

faults=0
# Generated headers (uic's ui_*.h, the version header, moc output) have no
# folder in the tree.
while IFS= read -r hit; do
  echo "bare include: $hit"
  faults=$((faults + 1))
done < <(grep -nHE '^\s*#\s*include\s+"[^/"]+"' -- "${files[@]}" | grep -vE '"(ui_[^"]*|kovrin_version\.h|[^"]*\.moc)"')
# Anonymous namespaces, aliases ("namespace fs = ..."), uic's Ui and
# forward declarations into cpp-httplib's namespace stay.
while IFS= read -r hit; do
  echo "namespace outside kovrin::: $hit"
  faults=$((faults + 1))
done < <(grep -nHE '^\s*namespace\s+[A-Za-z_][A-Za-z_0-9:]*\s*\{' -- "${files[@]}" | grep -vE 'namespace\s+(kovrin(::|\s*\{)|Ui\s*\{|httplib\s*\{)')

formatter=$(command -v clang-format-14 || command -v clang-format || true)
if [[ -z $formatter ]]; then
  ((faults > 0)) && exit 1
  echo "SKIPPED: clang-format is not installed (tools/bootstrap.sh installs it)"
  exit 77
fi
while IFS= read -r file; do
  echo "not formatted as .clang-format says: $file (tools/format.sh formats it)"
  faults=$((faults + 1))
done < <(for f in "${files[@]}"; do "$formatter" --style=file --dry-run -Werror "$f" >/dev/null 2>&1 || echo "$f"; done)

if ((faults > 0)); then
  echo "$faults naming or formatting faults"
  exit 1
fi
echo "names, includes and format: ${#files[@]} files checked"
