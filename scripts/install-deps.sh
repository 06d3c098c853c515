#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages Livrano needs to build, test, package and run its demo.
# Idempotent: packages already present are skipped, and apt-get runs only when something is missing.
# `install-deps.sh coverage` adds what the coverage report needs; `install-deps.sh clang` installs
# clang 14 and its tools (the clang pass, clang-tidy, clang-format, the fuzz targets) instead.
set -euo pipefail

packages=(
    build-essential cmake pkg-config git
    libgtest-dev libgmock-dev
    libcli11-dev libssl-dev
    libsquish-dev libzip-dev libpng-dev
    libnvtt-bin libstb-dev
    qt6-base-dev qt6-multimedia-dev libgl-dev
    fonts-wine fonts-dejavu-core
    xvfb xauth
    help2man dpkg-dev lintian man-db desktop-file-utils appstream
)
if [ "${1:-}" = coverage ]; then
    packages+=(gcovr)
elif [ "${1:-}" = clang ]; then
    packages=(clang-14 libclang-rt-14-dev clang-tidy-14 clang-format-14 python3)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing missing packages: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
