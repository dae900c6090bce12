#!/usr/bin/env bash
# Runs one fuzz target for hours, in chunks of at most five minutes under the shared build lock,
# at the lowest priority, with two workers sharing one corpus; counts the executions.
#   fuzz/run-long.sh BUILD TARGET RUNS [WORKDIR]
# BUILD is the fuzz build folder, TARGET one of load, modify, wildcard, descriptions, RUNS the
# executions to reach. The corpus (WORKDIR/corpus-TARGET) and the running count
# (WORKDIR/count-TARGET) survive between calls, so runs add up.
set -euo pipefail
build=$(realpath "$1") target=$2 wanted=$3 work=$(realpath -m "${4:-fuzz-work}")
root=$(cd "$(dirname "$0")/.." && pwd)
lock=${THORNBECK_LOCK:-/tmp/thornbeck-build.lock}
case $target in
  load | modify) seeds=("$build/seeds") limit=(-max_len=66000) ;;
  wildcard) seeds=("$root/fuzz/seeds/wildcard") limit=() ;;
  descriptions) seeds=("$root/tools/sample") limit=(-max_len=140000) ;;
  *) echo "unknown target $target" >&2; exit 2 ;;
esac
mkdir -p "$work/corpus-$target" "$work/crashes-$target"
count_file=$work/count-$target
[ -f "$count_file" ] || echo 0 > "$count_file"
cd "$work"
while [ "$(cat "$count_file")" -lt "$wanted" ]; do
  rm -f fuzz-[0-9]*.log
  status=0
  each=$(((wanted - $(cat "$count_file") + 1) / 2))
  flock "$lock" nice -n 19 "$build/fuzz_$target" -jobs=2 -workers=2 -max_total_time=280 -runs=$each \
    "${limit[@]}" -artifact_prefix="$work/crashes-$target/" "corpus-$target" "${seeds[@]}" \
    > /dev/null 2>&1 || status=$?
  done_runs=$(cat fuzz-[0-9]*.log 2>/dev/null | sed -n 's/^Done \([0-9]*\) runs.*/\1/p' |
    awk '{s += $1} END {print s + 0}')
  echo $(($(cat "$count_file") + done_runs)) > "$count_file"
  echo "$target: $(cat "$count_file") executions"
  if [ "$status" -ne 0 ] || ls "$work/crashes-$target"/* > /dev/null 2>&1; then
    echo "$target: stopped on a finding in $work/crashes-$target" >&2
    cat fuzz-[0-9]*.log | grep -E "check failed|ERROR|SUMMARY" | head -5 >&2
    exit 1
  fi
done
