#!/usr/bin/env bash
# Builds every fuzz target with clang and runs each one for the given number of seconds.
#
#   tests/fuzz/run.sh <seconds> [<build folder>]      (build folder: build by default)
#
# Targets are built in <build folder>/fuzz. A target named <corpus>_..._fuzz starts from the
# seeds in tests/fuzz/corpus/<corpus>/ and uses the dictionary tests/fuzz/corpus/<corpus>.dict
# when there is one; what it finds goes to <build folder>/fuzz/corpus/<target>/, crashing inputs to
# <build folder>/fuzz/artifacts/.
#
# Exit status: 0 when every target ran clean, 1 on a crash or a failed build, 77 when clang
# cannot build fuzz targets on this machine (the smoke test then counts as skipped).
set -u

seconds=${1:?usage: run.sh <seconds> [<build folder>]}
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=${2:-$repo/build}
out=$build/fuzz
cxx=${FUZZ_CXX:-clang++}

if ! command -v "$cxx" >/dev/null 2>&1; then
  echo "fuzz: $cxx not found, so the fuzz run is skipped (install clang to run it)"
  exit 77
fi
mkdir -p "$out"
probe=$out/probe.cpp
printf '%s\n' '#include <cstddef>' '#include <cstdint>' \
  'extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }' > "$probe"
if ! "$cxx" -fsanitize=fuzzer,address,undefined "$probe" -o "$out/probe" >/dev/null 2>&1; then
  echo "fuzz: $cxx cannot link libFuzzer with the sanitizers, so the fuzz run is skipped"
  exit 77
fi

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if ! cmake -S "$here" -B "$out" "${generator[@]}" -DCMAKE_CXX_COMPILER="$cxx" \
     -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$out/configure.log" 2>&1; then
  echo "fuzz: configuring failed; see $out/configure.log"
  tail -20 "$out/configure.log"
  exit 1
fi
if ! cmake --build "$out" -j"${JOBS:-2}" >"$out/build.log" 2>&1; then
  echo "fuzz: building failed; see $out/build.log"
  tail -30 "$out/build.log"
  exit 1
fi

status=0
found=0
mkdir -p "$out/artifacts"
for exe in "$out"/*_fuzz; do
  [ -x "$exe" ] || continue
  found=1
  target=$(basename "$exe")
  corpus=${target%%_*}
  work=$out/corpus/$target
  mkdir -p "$work"
  dirs=("$work")
  [ -d "$here/corpus/$corpus" ] && dirs+=("$here/corpus/$corpus")
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$out/artifacts/$target-")
  [ -f "$here/corpus/$corpus.dict" ] && options+=(-dict="$here/corpus/$corpus.dict")
  log=$out/$target.log
  echo "fuzz: $target for ${seconds}s"
  if "$exe" "${options[@]}" "${dirs[@]}" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done' "$log" | sed "s/^/fuzz: $target: /"
  else
    echo "fuzz: $target FAILED; log: $log"
    tail -40 "$log"
    status=1
  fi
done
if [ "$found" = 0 ]; then
  echo "fuzz: no *_fuzz target was built"
  exit 1
fi
exit $status
