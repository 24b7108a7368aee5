#!/usr/bin/env bash
# Sets up, builds and runs every test: the full build with warnings as errors, then the core
# libraries, their tests and the fuzz targets again under AddressSanitizer and UBSan.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
"$root/scripts/bootstrap.sh"

jobs="$(nproc)"
fuzz_seconds="${VESTREL_FUZZ_SECONDS:-60}"
export QT_QPA_PLATFORM=offscreen

step() { printf '\n== %s ==\n' "$*"; }

step "build (gcc, warnings as errors)"
cmake -S . -B build/ci -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVESTREL_WERROR=ON \
  -DCMAKE_CXX_FLAGS="-D_GLIBCXX_ASSERTIONS -DQT_FORCE_ASSERTS" >/dev/null
cmake --build build/ci -j "$jobs"

step "tests"
ctest --test-dir build/ci --output-on-failure -j "$jobs"

step "build (clang, AddressSanitizer + UBSan, core only, fuzz targets)"
CC=clang CXX=clang++ cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS="-O1" -DVESTREL_SANITIZE=ON -DVESTREL_CORE_ONLY=ON -DVESTREL_FUZZ=ON \
  -DVESTREL_BENCH=OFF -DVESTREL_WERROR=ON >/dev/null
cmake --build build/asan -j "$jobs"

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp"

step "tests under sanitizers"
ctest --test-dir build/asan --output-on-failure -j "$jobs"

step "fuzz targets, ${fuzz_seconds} s each"
for target in build/asan/fuzz/*_fuzz; do
  name="$(basename "$target" _fuzz)"
  corpus="build/asan/corpus/$name"
  mkdir -p "$corpus"
  cp -n fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
  "$target" -max_total_time="$fuzz_seconds" -timeout=10 -rss_limit_mb=2048 -malloc_limit_mb=512 \
    -print_final_stats=1 "$corpus" 2>&1 | tail -n 12
  echo "$name: fuzzed clean for ${fuzz_seconds} s"
done
