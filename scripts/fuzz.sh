#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, build/fuzz) and runs them one after
# another on their seed corpora (fuzz/corpus/<name>); new inputs go to
# build/fuzz/corpus/<name>, crashes to build/fuzz/artifacts/.
#   scripts/fuzz.sh                  every target for 600 s
#   scripts/fuzz.sh 60 xzml bmp      the named targets for 60 s each
#   scripts/fuzz.sh --smoke          every target for 2000 runs, at most 10 s each
# (CI replays the seeds and fixed mutations of them through the same targets
# built without libFuzzer: the fuzz_<name> tests of the asan build.)
set -euo pipefail
cd "$(dirname "$0")/.."

limit=(-max_total_time=600)
if [ "${1:-}" = "--smoke" ]; then
  limit=(-runs=2000 -max_total_time=10); shift
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
  limit=(-max_total_time="$1"); shift
fi
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in fuzz/fuzz_*.cpp; do
    name=$(basename "$src" .cpp)
    targets+=("${name#fuzz_}")
  done
fi

scripts/setup.sh
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

mkdir -p build/fuzz/artifacts
for t in "${targets[@]}"; do
  echo "== fuzz_$t"
  mkdir -p "build/fuzz/corpus/$t"
  options=()
  leaks=1
  # The targets that build objects keep allocations from one input to the
  # next, so LeakSanitizer would scan the whole heap after each input (the ASE
  # target runs ten times slower): the long runs of the XZML, console, history
  # and ASE targets leave leaks to their smoke runs. The INI reader keeps what
  # it built so far when a fatal error (here an exception) cuts it short,
  # which only leaks because the target carries on where the engine ends.
  case "$t" in
    ini) leaks=0 ;;
    xzml|console|history|ase) [ "${limit[0]}" = "-runs=2000" ] || options+=(-detect_leaks=0) ;;
  esac
  # Fatal messages of rejected inputs would drown the fuzzer's own output.
  ASAN_OPTIONS="detect_leaks=$leaks" "build/fuzz/fuzz/fuzz_$t" "${limit[@]}" "${options[@]}" -close_fd_mask=3 -print_final_stats=1 \
    -artifact_prefix="build/fuzz/artifacts/$t-" "build/fuzz/corpus/$t" "fuzz/corpus/$t"
done
