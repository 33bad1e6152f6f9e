#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Arguments are passed on to it.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh
program="$PWD/build/rsgz/rsgz"
if [[ ! -x "$program" ]]; then
  echo "error: the build finished but $program is missing" >&2
  exit 1
fi

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec "$program" "$@"
fi

echo "No display found (DISPLAY and WAYLAND_DISPLAY are both empty)."
if command -v xvfb-run >/dev/null; then
  echo "Starting rsgz under a virtual X server (xvfb-run, 1366x768); its window is not visible on this screen."
  exec xvfb-run -a -s "-screen 0 1366x768x24" "$program" "$@"
fi
echo "xvfb-run is not installed: starting rsgz with QT_QPA_PLATFORM=offscreen; its window is not visible."
QT_QPA_PLATFORM=offscreen exec "$program" "$@"
