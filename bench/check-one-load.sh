#!/usr/bin/env bash
# Times `quellix-cli check EXPORT` (every analysis over one load) against one quellix-cli process
# per analysis, on a generated export:
#
#   bench/check-one-load.sh [MEGABYTES] [RUNS]      (defaults 100 MB, 3 runs; best run counts)
#
# Needs build/quellix-cli and build/bench/gen_export. Prints the best wall time of each way and
# checks that both print the same rows.
set -euo pipefail
cd "$(dirname "$0")/.."
megabytes=${1:-100}
runs=${2:-3}
cli=build/quellix-cli
work=$(mktemp -d /tmp/quellix-check-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
build/bench/gen_export "$work/export.txt" "$megabytes" 1 > /dev/null
analyses=(unused-variables unused-functions unused-fields unused-sumindexfields local-global once-used
          duplicate-ids page-translations check-forms)

now() { echo "${EPOCHREALTIME/./}"; } # microseconds
best_check=""
best_each=""
for ((i = 0; i < runs; i++)); do
    start=$(now)
    "$cli" check "$work/export.txt" > "$work/check.tsv"
    t=$(($(now) - start))
    if [ -z "$best_check" ] || [ "$t" -lt "$best_check" ]; then best_check=$t; fi

    start=$(now)
    : > "$work/each.tsv"
    for a in "${analyses[@]}"; do
        "$cli" "$a" "$work/export.txt" | { read -r heading; echo "Analysis	$heading"; sed "s/^/$a	/"; } >> "$work/each.tsv"
    done
    t=$(($(now) - start))
    if [ -z "$best_each" ] || [ "$t" -lt "$best_each" ]; then best_each=$t; fi
done
cmp -s "$work/check.tsv" "$work/each.tsv" || { echo "check and the single analyses differ"; exit 1; }
printf 'export %s MB, %s rows, best of %s runs\n' "$megabytes" "$(($(wc -l < "$work/check.tsv") - ${#analyses[@]}))" "$runs"
seconds() { printf '%d.%02d' $(($1 / 1000000)) $(($1 % 1000000 / 10000)); }
echo "check, one load:          $(seconds "$best_check") s"
echo "one process per analysis: $(seconds "$best_each") s"
