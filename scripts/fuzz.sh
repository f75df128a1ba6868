#!/usr/bin/env bash
# Builds one libFuzzer harness (clang, ASan + UBSan) and runs it, seeded with
# the shared picture corpus and the real-world fixtures where there are some
# for its kind (metadata: the JPEG, PNG and TIFF ones).
#   scripts/fuzz.sh <bmp|png|jpeg|gif|ico|tiff|wmf|emf|settings|metadata> [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
kind=${1:?usage: scripts/fuzz.sh <kind> [seconds]}
seconds=${2:-60}
scripts/install-deps.sh fuzz
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "fuzz_$kind"
work=$(mktemp -d "/tmp/tessaly-fuzz-$kind.XXXXXX")
seeds=()
kinds=("$kind")
[[ $kind == metadata ]] && kinds=(jpeg png tiff)
for k in "${kinds[@]}"; do
  [[ -d ../shared/corpus/$k ]] && seeds+=("../shared/corpus/$k")
  [[ -d tests/compositing/fixtures/real/$k ]] && seeds+=("tests/compositing/fixtures/real/$k")
done
echo "new inputs go to $work"
exec "build/fuzz/fuzz/fuzz_$kind" "$work" "${seeds[@]}" -max_total_time="$seconds" -rss_limit_mb=4096
