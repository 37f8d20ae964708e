#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build needs, when they are missing.
# Usage: scripts/deps.sh [extra package ...]
set -euo pipefail
# Figures are drawn with Cairo in DejaVu Sans; the command line is CLI11, result files JSON.
packages=(cmake g++ make pkg-config libgtest-dev libgmock-dev libbenchmark-dev libcairo2-dev
  fonts-dejavu-core libcli11-dev nlohmann-json3-dev "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
