#!/usr/bin/env bash
# Builds Strivo and starts the console. When no reader is configured yet, the
# logical device "QuellorUSBMiniMSR" is registered on the simulated reader
# first, so a fresh machine gets a working console at once.
set -euo pipefail
cd "$(dirname "$0")/.."

"$(pwd)/scripts/install-deps.sh"

dir=build/release
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTRIVO_TESTS=OFF -DSTRIVO_BENCH=OFF >/dev/null
cmake --build "$dir" --target Strivo strivo-devices

"$dir/src/opos/tools/strivo-devices" ensure-default

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found; starting the console on a virtual X display (xvfb-run)." >&2
  exec xvfb-run -a "$dir/src/Strivo" "$@"
fi
exec "$dir/src/Strivo" "$@"
