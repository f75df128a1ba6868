#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, ASan + UBSan) and runs one, or all in
# turn. Each is seeded with what there is for its kind: the shared picture
# corpus, the real-world fixtures and fuzz/seeds/KIND (the exif harness takes
# the JPEG pictures, the metadata harness the JPEG, PNG and TIFF ones), with
# the dictionary fuzz/KIND.dict where there is one. New inputs, and the input of a fault, go to
# a fresh folder in /tmp.
#   scripts/fuzz.sh <kind> [seconds]   one harness, libFuzzer's output as it goes
#   scripts/fuzz.sh all [seconds]      every harness in turn, one summary line each;
#                                      exits 1 when any of them found a fault
# Kinds: the fuzz/fuzz_KIND.cpp files (bmp emf exif gif ico jpeg metadata png settings tiff wmf).
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:?usage: scripts/fuzz.sh <kind|all> [seconds]}
seconds=${2:-60}
kinds=()
for harness in fuzz/fuzz_*.cpp; do
  name=${harness#fuzz/fuzz_}
  kinds+=("${name%.cpp}")
done

# The kinds of pictures whose files seed a harness.
picture_kinds() {
  case $1 in
    exif) echo jpeg ;;
    metadata) echo jpeg png tiff ;;
    *) echo "$1" ;;
  esac
}

# Runs one harness for the given time; libFuzzer's output goes to stdout.
run() {
  local kind=$1 seconds=$2 work pictures
  work=$(mktemp -d "/tmp/tessaly-fuzz-$kind.XXXXXX")
  local args=("$work" "-artifact_prefix=$work/")
  for pictures in $(picture_kinds "$kind"); do
    for seeds in "../shared/corpus/$pictures" "tests/compositing/fixtures/real/$pictures"; do
      [[ -d $seeds ]] && args+=("$seeds")
    done
  done
  [[ -d fuzz/seeds/$kind ]] && args+=("fuzz/seeds/$kind")
  [[ -f fuzz/$kind.dict ]] && args+=("-dict=fuzz/$kind.dict")
  echo "new inputs go to $work"
  "build/fuzz/fuzz/fuzz_$kind" "${args[@]}" -max_total_time="$seconds" -rss_limit_mb=4096
}

scripts/install-deps.sh fuzz
cmake --preset fuzz >/dev/null
if [[ $kind != all ]]; then
  cmake --build --preset fuzz --target "fuzz_$kind"
  run "$kind" "$seconds"
  exit
fi

cmake --build --preset fuzz --target "${kinds[@]/#/fuzz_}" >/dev/null
faults=0
for k in "${kinds[@]}"; do
  log=$(mktemp "/tmp/tessaly-fuzz-$k.XXXXXX.log")
  if run "$k" "$seconds" >"$log" 2>&1; then
    done_line=$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | tail -n 1)
    echo "$k: no fault, ${done_line#Done }s (log $log)"
  else
    status=$?
    faults=1
    echo "$k: FAULT, exit $status: $(grep -m 1 -E '^(==[0-9]+==ERROR|SUMMARY)' "$log" || true) (log $log)"
  fi
done
exit $faults
