#!/usr/bin/env bash
# Times `quellix-cli check EXPORT` (every analysis over one load) against one quellix-cli process
# per analysis, on a generated export:
#
#   bench/check-one-load.sh [MEGABYTES] [RUNS]      (defaults 100 MB, 3 runs; best run counts)
#
# Needs build/quellix-cli and build/bench/gen_export. Prints the best wall time of each way and
# checks that both print the same rows. The processor time counts the sed of the per-process way
# too (a small share); the wall time depends on what else the machine runs.
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

# Wall time and processor time (user + system) of a command, in centiseconds: "WALL CPU".
TIMEFORMAT='%R %U %S'
measure() {
    local t
    t=$({ time "$@" > /dev/null; } 2>&1 | tail -1)
    read -r wall user sys <<< "$t"
    echo "$(cs "$wall") $(($(cs "$user") + $(cs "$sys")))"
}
cs() { local v=${1/./}; echo $((10#$v / 10)); } # "1.234" seconds -> 123 centiseconds

run_check() { "$cli" check "$work/export.txt" > "$work/check.tsv"; }
run_each() {
    : > "$work/each.tsv"
    for a in "${analyses[@]}"; do
        "$cli" "$a" "$work/export.txt" | { IFS= read -r heading; echo "Analysis	$heading"; sed "s/^/$a	/"; } >> "$work/each.tsv"
    done
}
best_check=(999999 999999)
best_each=(999999 999999)
for ((i = 0; i < runs; i++)); do
    read -r w c <<< "$(measure run_check)"
    ((w < best_check[0])) && best_check[0]=$w
    ((c < best_check[1])) && best_check[1]=$c
    read -r w c <<< "$(measure run_each)"
    ((w < best_each[0])) && best_each[0]=$w
    ((c < best_each[1])) && best_each[1]=$c
done
cmp -s "$work/check.tsv" "$work/each.tsv" || { echo "check and the single analyses differ"; exit 1; }
printf 'export %s MB, %s rows, best of %s runs\n' "$megabytes" "$(($(wc -l < "$work/check.tsv") - ${#analyses[@]}))" "$runs"
seconds() { printf '%d.%02d' $(($1 / 100)) $(($1 % 100)); }
echo "                          wall      processor (user + system)"
echo "check, one load:          $(seconds "${best_check[0]}") s    $(seconds "${best_check[1]}") s"
echo "one process per analysis: $(seconds "${best_each[0]}") s    $(seconds "${best_each[1]}") s"
