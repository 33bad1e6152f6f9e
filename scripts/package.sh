#!/usr/bin/env bash
# Builds the Debian package build/package/rsgz_<version>_<architecture>.deb with CPack. Installs
# what is missing and builds first (scripts/setup.sh); the package's dependencies are read from the
# libraries the program links. Prints the package's path as its last line.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh
rm -f build/package/rsgz_*.deb
(cd build && cpack -G DEB) >&2
shopt -s nullglob
packages=(build/package/rsgz_*.deb)
if ((${#packages[@]} != 1)); then
  echo "error: CPack made ${#packages[@]} packages in build/package, expected one" >&2
  exit 1
fi
echo "${packages[0]}"
