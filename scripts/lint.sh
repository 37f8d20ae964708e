#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks that keep the sources as they are meant to be; run by scripts/test.sh first.
# - every C++ file is in the project's format (.clang-format);
# - the inversion and the general library read and write only with the formats of their
#   tables (src/gemino/formats.h, src/gral/formats.h), so that the format test sees them all.
# - every source names its licence (an SPDX line among its first two lines).
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
# Every source names its licence on its first lines.
unlicensed=$(git ls-files -- '*.cpp' '*.h' '*.sh' 'CMakeLists.txt' '*/CMakeLists.txt' '*.cmake' |
  while read -r f; do head -n 2 "$f" | grep -q 'SPDX-License-Identifier: GPL-3.0-or-later' ||
    echo "$f"; done)
if [ -n "$unlicensed" ]; then
  echo "Sources without their licence line (// SPDX-License-Identifier: GPL-3.0-or-later):" >&2
  echo "$unlicensed" >&2
  exit 1
fi
