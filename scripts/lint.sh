#!/usr/bin/env bash
# Checks that keep the sources as they are meant to be; run by scripts/test.sh first.
# - every C++ file is in the project's format (.clang-format);
# - the inversion and the general library read and write only with the formats of their
#   tables (src/gemino/formats.h, src/gral/formats.h), so that the format test sees them all.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh clang-format
find src apps tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run -Werror
stray=$(grep -rnE --include='*.cpp' --include='*.h' 'recfmt::Format [A-Za-z_]+ *[({]' \
  src/gemino src/gral | grep -v '/formats\.cpp:' || true)
if [ -n "$stray" ]; then
  echo "A format outside the format tables (add it to formats.h):" >&2
  echo "$stray" >&2
  exit 1
fi
