#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#  1. the full build with warnings as errors: unit, wire and GUI tests (GUI under Xvfb),
#     then each benchmark once, briefly;
#  2. a build with AddressSanitizer and UndefinedBehaviorSanitizer: unit, wire and GUI tests;
#  3. when clang is present, the fuzz targets, each for a short bounded time over its seeds.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
bash "$top/scripts/setup.sh"

fuzz_seconds=${HVX_FUZZ_SECONDS:-10}
# The GUI tests and the benchmarks that paint need a display: a virtual one of this size.
with_display=(xvfb-run -a -s "-screen 0 1280x1024x24")
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

echo "== the checkout stands alone"
# A copy of the source tree with nothing beside it must configure: the build may read nothing
# outside the checkout but the installed packages.
alone=$(mktemp -d)
trap 'rm -rf "$alone"' EXIT
mkdir "$alone/src"
tar -C "$top" --exclude='./build*' --exclude='./.git' -cf - . | tar -C "$alone/src" -xf -
cmake -S "$alone/src" -B "$alone/build" -G Ninja -DHVX_FUZZ=OFF >/dev/null
rm -rf "$alone"

echo "== full build"
configure_and_build "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHVX_WERROR=ON
echo "== tests (unit, wire, gui)"
(cd "$top/build" && "${with_display[@]}" \
   ctest --output-on-failure -j "$jobs" --timeout 300)

echo "== benchmarks"
for b in "$top"/build/bench/*_bench; do
  [ -x "$b" ] || continue
  "${with_display[@]}" "$b" --benchmark_min_time=0.05
done

echo "== sanitizer build"
configure_and_build "$top/build-asan" -DCMAKE_BUILD_TYPE=Debug \
  -DHVX_SANITIZE=ON -DHVX_BENCH=OFF -DHVX_WERROR=ON
echo "== sanitizer tests (unit, wire, gui)"
(cd "$top/build-asan" && "${with_display[@]}" \
   ctest --output-on-failure -j "$jobs" --timeout 300 -L 'unit|wire|gui')

if command -v clang++ >/dev/null 2>&1 && ls "$top"/fuzz/*_fuzz.cpp >/dev/null 2>&1; then
  echo "== fuzz targets (${fuzz_seconds}s each)"
  configure_and_build "$top/build-fuzz" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DHVX_HEADLESS_ONLY=ON \
    -DHVX_FUZZ=ON -DHVX_TESTS=OFF -DHVX_BENCH=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
  for f in "$top"/build-fuzz/fuzz/*_fuzz; do
    name=$(basename "$f")
    corpus="$top/build-fuzz/corpus/$name"
    mkdir -p "$corpus"
    [ -d "$top/fuzz/corpus/$name" ] && cp -r "$top/fuzz/corpus/$name/." "$corpus/"
    dict=()
    [ -f "$top/fuzz/$name.dict" ] && dict=(-dict="$top/fuzz/$name.dict")
    echo "-- $name"
    "$f" ${dict[@]+"${dict[@]}"} -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=0 "$corpus" 2>&1 | tail -n 3
    test "${PIPESTATUS[0]}" -eq 0
  done
fi
echo "== all tests passed"
