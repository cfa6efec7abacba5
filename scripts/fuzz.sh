#!/usr/bin/env bash
# Builds the fuzz targets with clang (libraries instrumented too) and runs each for a while.
#   scripts/fuzz.sh [seconds per target, default 60] [target ...]   targets: frames settings link files
# New inputs go to build-fuzz/corpus/<target>/, crashes to build-fuzz/crashes/<target>/; the
# checked-in seeds in fuzz/corpus/<target>/ are read, never written. An input that found a
# fault belongs in fuzz/corpus/<target>/ once the fault is mended: ctest replays it from then on.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(frames settings link files)

# clang and its sanitizer and libFuzzer runtimes are build tools (Debian: clang, libclang-rt-14-dev).
missing=()
for p in clang libclang-rt-14-dev; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]} (run as root, or install them with apt-get)" >&2
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVANTIK_FUZZ=ON -DVANTIK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "${JOBS:-3}" --target "${targets[@]/#/fuzz_}"
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
status=0
for t in "${targets[@]}"; do
  mkdir -p "build-fuzz/corpus/$t" "build-fuzz/crashes/$t"
  echo "== fuzz_$t for ${seconds}s"
  if ! "build-fuzz/bin/fuzz_$t" "build-fuzz/corpus/$t" "fuzz/corpus/$t" -max_total_time="$seconds" \
      -artifact_prefix="build-fuzz/crashes/$t/" -print_final_stats=1 2>"build-fuzz/fuzz_$t.log"; then
    echo "fuzz_$t found a fault: see build-fuzz/fuzz_$t.log and build-fuzz/crashes/$t/" >&2
    status=1
  fi
  grep -E "^stat::(number_of_executed_units|new_units_added|peak_rss_mb)|cov: " "build-fuzz/fuzz_$t.log" | tail -4
done
exit $status
