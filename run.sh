#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulated instrument on the infrared socket
# and then the program. A plugged-in USB infrared adapter is still used as the program would.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target vantik vantik-sim
sim_pid=
if [ -x build/bin/vantik-sim ]; then
  build/bin/vantik-sim --irda &
  sim_pid=$!
  trap '[ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true' EXIT
fi
build/bin/vantik "$@"
