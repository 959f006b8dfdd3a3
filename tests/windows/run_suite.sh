#!/usr/bin/env bash
# Runs one GoogleTest suite under Wine and passes only when the suite itself reported every one
# of its tests and none failed. The exit code alone proves nothing: a crash that Wine's debugger
# takes ends with 0, and a suite that dies half way leaves no result.
# Usage: run_suite.sh WINE SUITE.exe [gtest arguments...]
set -uo pipefail
wine=$1 suite=$2
shift 2
name=$(basename "$suite" .exe)
result=$name.xml
rm -f "$result"
"$wine" "$suite" --gtest_output=xml:"$result" "$@" 2>&1 | tee "$name.out"
code=${PIPESTATUS[0]}
if [ "$code" -ne 0 ]; then
  echo "run_suite: $name ended with exit code $code" >&2
  exit 1
fi
if [ ! -s "$result" ]; then
  echo "run_suite: $name wrote no result: it did not run to its end" >&2
  exit 1
fi
totals=$(grep -m1 -o '<testsuites [^>]*>' "$result")
count() { sed -n "s/.* $1=\"\([0-9]*\)\".*/\1/p" <<<"$totals"; }
tests=$(count tests) failures=$(count failures) errors=$(count errors)
if [ -z "$tests" ] || [ "$tests" -eq 0 ] || [ "$failures" != 0 ] || [ "$errors" != 0 ]; then
  echo "run_suite: $name reported tests=${tests:-?} failures=${failures:-?} errors=${errors:-?}" >&2
  exit 1
fi
echo "run_suite: $name: $tests tests, none failed"
