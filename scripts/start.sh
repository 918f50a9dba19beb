#!/usr/bin/env bash
# Installs what is needed, builds, and starts the workstation from its install folder
# (build/vandrel). The first start seeds the data folder (~/.local/share/Quillane/Q7) and
# copies the virtual device library into ~/.local/share/Quillane/Data.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/install-deps.sh"
bash "$root/scripts/build.sh"
build="${VANDREL_BUILD_DIR:-$root/build}"
# The report view's browser engine refuses its sandbox when run as root.
if [ "$(id -u)" -eq 0 ]; then export QTWEBENGINE_DISABLE_SANDBOX=1; fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: starting on a virtual X display (xvfb-run)."
  exec xvfb-run -a -s "-screen 0 1280x800x24" "$build/vandrel/vandrel"
fi
exec "$build/vandrel/vandrel"
