#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package from a release tree in build-package/ (kept between runs),
# then checks it: its file list must hold both programs, the desktop entry, the icon,
# the manual page, the documentation and the copyright file; lintian must find no error; its control fields must name the package and
# its dependencies; and the packaged terminal program must invert the bundled example.
# Prints the path of the package on success.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# An existing build folder (configured with the windowed program) may be named: the test
# script packages the tree it has just tested instead of building a second one.
dir=${1:-build-package}

# dpkg-dev and file compute the dependencies from the linked libraries; lintian checks
# the package against Debian's policy.
scripts/deps.sh qt6-base-dev dpkg-dev file lintian

if [ $# -eq 0 ]; then
  scripts/build.sh "$dir" -DGEMINO_BUILD_QT=ON -DGEMINO_BUILD_TESTS=OFF -DGEMINO_BUILD_BENCH=OFF \
    -DGEMINO_BUILD_FUZZ=OFF -DGEMINO_SANITIZE=OFF
fi
rm -f "$dir"/gemino_*.deb
(cd "$dir" && cpack -G DEB >cpack.log 2>&1) || {
  cat "$dir/cpack.log" >&2
  echo "package: cpack failed" >&2
  exit 1
}
debs=("$dir"/gemino_*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
  echo "package: expected one gemino_*.deb in $dir" >&2
  exit 1
fi
deb=${debs[0]}

failed=0
fail() {
  echo "package: $*" >&2
  failed=1
}

# The file list, as paths without the leading "./".
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./||' >"$dir/contents.txt"
required=(
  usr/bin/gemino
  usr/bin/gemino-term
  usr/share/applications/gemino.desktop
  usr/share/icons/hicolor/scalable/apps/gemino.svg
  usr/share/man/man1/gemino-term.1.gz
  usr/share/doc/gemino/README.md
  usr/share/doc/gemino/copyright
  usr/share/doc/gemino/examples/params.txt
  usr/share/doc/gemino/examples/data.txt
)
for doc in docs/*.md; do
  required+=("usr/share/doc/gemino/$doc")
done
for path in "${required[@]}"; do
  grep -qxF "$path" "$dir/contents.txt" || fail "missing from the package: /$path"
done
# Nothing may land outside /usr, and no build or test leftovers may come along.
if grep -v -e '^usr/' -e '^$' "$dir/contents.txt" | grep -q .; then
  fail "files outside /usr: $(grep -v -e '^usr/' -e '^$' "$dir/contents.txt" | tr '\n' ' ')"
fi
if grep -q -e '_tests$' -e '\.a$' -e '/include/' "$dir/contents.txt"; then
  fail "test programs, static libraries or headers in the package"
fi
# Installed programs are executable, owned by root.
while read -r mode owner _ _ _ path; do
  case "$mode" in -rwxr-xr-x) ;; *) fail "$path has mode $mode, not -rwxr-xr-x" ;; esac
  [ "$owner" = root/root ] || fail "$path is owned by $owner, not root/root"
done < <(dpkg-deb -c "$deb" | grep -E ' \./usr/bin/[^/]+$')

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = gemino ] || fail "package name is '$(field Package)', not gemino"
[ "$(field Section)" = science ] || fail "section is '$(field Section)', not science"
version=$(sed -n 's/^project(Gemino VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ "$(field Version)" = "$version" ] || fail "version is '$(field Version)', not $version"
depends=$(field Depends)
for lib in libc6 libstdc++6 libqt6widgets6; do
  [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: '$depends'"
done

# The packaged terminal program, run from the unpacked tree, must reach the answer the
# bundled example was made from.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dpkg-deb -x "$deb" "$work/root"
mkdir "$work/run"
cp "$work/root/usr/share/doc/gemino/examples/params.txt" \
  "$work/root/usr/share/doc/gemino/examples/data.txt" "$work/run/"
status=0
(cd "$work/run" && printf '\nparams.txt\ndata.txt\nreport.txt\n' |
  "$work/root/usr/bin/gemino-term" >console.txt 2>&1) || status=$?
if [ "$status" -ne 0 ]; then
  fail "packaged gemino-term exited with $status on the bundled example"
elif ! tr -d '\r' <"$work/run/report.txt" |
  grep -q 'VALEUR DE LA FONCTION        0.00  RAPPORT R  0.306 '; then
  fail "packaged gemino-term did not reach the example's tensor"
fi
# The manual page must format without warnings.
if command -v groff >/dev/null; then
  warnings=$(gzip -dc "$work/root/usr/share/man/man1/gemino-term.1.gz" |
    groff -man -Tutf8 -ww -z 2>&1) || true
  [ -z "$warnings" ] || fail "manual page: $warnings"
fi

# Debian's policy checks: errors fail the package, warnings are shown.
if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$deb" >"$dir/lintian.txt" 2>&1 || true
  grep '^W: ' "$dir/lintian.txt" >&2 || true
  if grep -q '^E: ' "$dir/lintian.txt"; then
    fail "lintian reports errors: $(grep '^E: ' "$dir/lintian.txt" | tr '\n' ' ')"
  fi
fi

[ "$failed" = 0 ] || exit 1
echo "package: $root/$deb checked ($(wc -l <"$dir/contents.txt") entries)"
