#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the terminal program and inverts the bundled example.
# The report is written to example-report.txt.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build -DGEMINO_BUILD_TESTS=OFF
cp examples/params.txt examples/data.txt build/
cd build
printf '\nparams.txt\ndata.txt\nexample-report.txt\n' | ./apps/gemino-term
cp example-report.txt ../example-report.txt
echo
echo "Optimised stress tensor (the data were made from sigma 1 040/10, sigma 3 306/21, R 0.30):"
# The second results block of the report is the optimised one.
grep -E 'SIGMA [123]|VALEUR DE LA FONCTION' example-report.txt | tail -n 4
grep -E 'SEUIL=' example-report.txt | tail -n 1
echo
echo "Full report written to example-report.txt"
