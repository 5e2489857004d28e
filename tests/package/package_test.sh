#!/bin/sh
# The .deb as a distribution would judge it and a user would meet it: built
# with cpack from the build tree, checked by lintian (any error or warning
# fails), unpacked into a scratch root, and the launcher run from there as an
# installed one (the scratch root stands in for /).
#   package_test.sh <build folder>
# Exits 77 (skipped) when a tool it needs is missing.
set -eu
build_dir=$(cd "$1" && pwd)

for tool in lintian cpack dpkg-deb readelf man appstreamcli desktop-file-validate script file; do
  if ! command -v "$tool" > /dev/null; then
    echo "skipped: $tool is not installed (tools/bootstrap.sh installs it)"
    exit 77
  fi
done

scratch="$build_dir/package-test"
rm -rf "$scratch"
mkdir -p "$scratch/tmp" "$scratch/home" "$scratch/runtime"
chmod 700 "$scratch/runtime"
trap 'rm -rf "$scratch"' EXIT
trap 'exit 130' INT TERM HUP
# Nothing of lintian's, cpack's or the launcher's may be left in /tmp or in
# the real home folder.
export TMPDIR="$scratch/tmp" HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime"
unset XDG_DATA_HOME XDG_CONFIG_HOME XDG_CACHE_HOME DISPLAY WAYLAND_DISPLAY

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

echo "== building the package"
cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/cpack" > "$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$scratch"/cpack/kovrin_*.deb)
echo "$deb"

echo "== lintian"
# lintian warns on stderr that it runs as root, as CI does; that line is no finding.
lintian --info "$deb" > "$scratch/lintian.out" 2>&1 || true
grep -v '^running with root privileges is not recommended!$' "$scratch/lintian.out" || true
if grep -q '^[EW]: ' "$scratch/lintian.out"; then fail "lintian reports errors or warnings"; fi

echo "== dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"
# A driver package of Mesa's may only appear as one alternative among others:
# a vendor's driver must satisfy the dependency without pulling Mesa in.
for group in $(echo "$depends" | tr -d ' ' | tr ',' ' '); do
  case "$group" in
    *'|'*) ;;
    libgl1-mesa-dri* | libglx-mesa0* | libegl-mesa0* | libgles2-mesa* | mesa-*) fail "hard dependency on Mesa's $group" ;;
  esac
done
case " $(echo "$depends" | tr -d ' ' | tr ',' ' ') " in
  *" libgl1 "*) ;;
  *) fail "no dependency on libgl1" ;;
esac

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
kovrin="$root/usr/bin/kovrin"

echo "== hardening"
# What lintian only mentions in passing (bind-now, fortified calls) is checked
# here: a build without the flags fails.
for program in kovrin Quillfire Lumavane; do
  binary="$root/usr/lib/kovrin/$program"
  readelf -dW "$binary" | grep -q 'FLAGS_1.*NOW.*PIE' || fail "$program is not a PIE bound at start-up"
  readelf -lW "$binary" | grep -q GNU_RELRO || fail "$program has no read-only relocations"
  symbols=$(readelf --dyn-syms -W "$binary")
  echo "$symbols" | grep -q '__stack_chk_fail' || fail "$program has no stack protector"
  echo "$symbols" | grep -q '__[a-z]*_chk@' || fail "$program calls no fortified libc function"
done

echo "== --version, --help and the manual page"
version=$("$kovrin" --version)
expected_version="kovrin $(dpkg-deb -f "$deb" Version)"
[ "$version" = "$expected_version" ] || fail "--version printed '$version', expected '$expected_version'"
"$kovrin" --help > "$scratch/help"
MANWIDTH=100 man -l "$root/usr/share/man/man1/kovrin.1.gz" > "$scratch/manual" 2> "$scratch/manual.err" ||
  fail "man -l: $(cat "$scratch/manual.err")"
options=$(sed -n 's/^  \(-[-a-z]*\).*/\1/p' "$scratch/help")
[ -n "$options" ] || fail "no options found in --help"
for option in $options; do
  grep -q -- "^ *$option\\b" "$scratch/manual" || fail "the manual page does not list $option as an option"
done
echo "options in --help and in the manual page:" $options

echo "== AppStream metadata, desktop entry, icons"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
desktop-file-validate "$root/usr/share/applications/kovrin.desktop" || fail "desktop-file-validate"
for size in 16 32 48 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/kovrin.png"
  file "$icon" | grep -q "PNG image data, $size x $size," || fail "no ${size}x${size} PNG icon: $(file "$icon")"
done

echo "== an installed run, headless"
started=$(date +%s)
status=0
"$kovrin" --headless --json "$scratch/result.json" > "$scratch/run.out" 2> "$scratch/run.err" || status=$?
cat "$scratch/run.out" "$scratch/run.err"
echo "(the run took $(($(date +%s) - started)) s)"
[ "$status" -eq 0 ] || fail "kovrin --headless ended with $status"
grep -q '^Score: [0-9]' "$scratch/run.out" || fail "no score"
[ -s "$scratch/result.json" ] || fail "no JSON report"
# Not at a terminal, the working folder is nobody's business.
if grep -q -e 'Working in' -e 'cannot go' "$scratch/run.err"; then fail "stderr names the working folder though it is no terminal"; fi
[ -e "$HOME/.local/share/kovrin/run/data" ] || fail "no per-user working folder in the home folder"
for f in config.cfg results.fps; do
  [ ! -e "$root/usr/lib/kovrin/$f" ] || fail "$f was written into the installed folder"
done

echo "== at a terminal"
# With a test program gone the run ends at once, after the working folder is
# chosen and announced.
rm "$root/usr/lib/kovrin/Quillfire"
status=0
script -qec "'$kovrin' --headless" /dev/null > "$scratch/tty.out" 2>&1 < /dev/null || status=$?
cat "$scratch/tty.out"
[ "$status" -eq 1 ] || fail "kovrin --headless without Quillfire ended with $status, expected 1"
count=$(tr -d '\r' < "$scratch/tty.out" | grep -c '^Working in ~/.local/share/kovrin/run$' || true)
[ "$count" -eq 1 ] || fail "'Working in ~/.local/share/kovrin/run' shown $count times at a terminal, expected once"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package checks passed"
