#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exits non-zero when any test fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh
# Window tests need no screen: Qt draws them offscreen.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --no-tests=error -j2
