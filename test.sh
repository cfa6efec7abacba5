#!/usr/bin/env bash
# Installs what is missing, builds twice (plain and with address/undefined sanitizers), runs every test.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
jobs=$(nproc)
status=0
for variant in build build-asan; do
  flags=(-DVANTIK_SANITIZE=OFF)
  [ "$variant" = build-asan ] && flags=(-DVANTIK_SANITIZE=ON -DVANTIK_BENCH=OFF)
  cmake -S . -B "$variant" -G Ninja "${flags[@]}" >/dev/null
  cmake --build "$variant" -j "$jobs"
  echo "== tests ($variant)"
  if ! (cd "$variant" && ctest --output-on-failure -j "$jobs"); then
    status=1
  fi
done
exit $status
