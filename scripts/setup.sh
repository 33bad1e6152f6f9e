#!/usr/bin/env bash
# Installs the Debian packages the build needs (only those missing), then builds the program,
# its tests and benchmarks in Release into build/. A second run only checks and rebuilds what changed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-charts-dev qt6-image-formats-plugins qt6-translations-l10n
  libsqlite3-dev libsodium-dev libjpeg-dev
  libpq-dev postgresql postgresql-client postgresql-contrib
  mdbtools-dev libfreexl-dev libzip-dev libxlsxwriter-dev
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  fonts-wqy-microhei xvfb xauth poppler-utils
  locales
  libqt6opengl6-dev
  librsvg2-bin file lintian desktop-file-utils appstream
)

installed() {
  dpkg -s "$1" 2>/dev/null | grep -q '^Status: install ok installed'
}

missing=()
for package in "${packages[@]}"; do
  installed "$package" || missing+=("$package")
done

if ((${#missing[@]} > 0)); then
  echo "Installing missing packages: ${missing[*]}"
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null; then
      echo "error: these packages are missing and this is not root, nor is sudo available: ${missing[*]}" >&2
      exit 1
    fi
    sudo=(sudo)
  fi
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The number-text tests run once under a locale that writes a decimal comma.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Generating the locale de_DE.UTF-8 for the tests"
  sudo=()
  if [[ $(id -u) -ne 0 ]]; then sudo=(sudo); fi
  "${sudo[@]}" localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DRSGZ_BUILD_TESTS=ON -DRSGZ_BUILD_BENCH=ON
cmake --build build -j"$(nproc)"
