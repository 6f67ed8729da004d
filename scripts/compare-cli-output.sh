#!/usr/bin/env bash
# Runs every quellix-cli command with a reference binary and a new binary and compares what they
# print (stdout and stderr), their exit status and every file they write, byte for byte.
#
#   scripts/compare-cli-output.sh REFERENCE_CLI NEW_CLI [MEGABYTES] [GEN_EXPORT] [SHAPE]
#
# The exports: examples/sample-export.txt, a small export with LF line ends and CP437 bytes, and
# one of MEGABYTES (default 100) made by GEN_EXPORT (default build/bench/gen_export, seed 1) in
# SHAPE (a flag of gen_export: --real, --nav2013, --joined; default the older synthetic shape).
# MEGABYTES 0 skips the generated export. Prints one line per difference; exit status 1 when
# there was one. A reference binary is built from another revision, for example:
#   git archive main | tar -x -C /tmp/ref-src
#   cmake -S /tmp/ref-src -B /tmp/ref-src/build -G Ninja -DQUELLIX_GUI=OFF -DQUELLIX_TESTS=OFF
#   cmake --build /tmp/ref-src/build --target quellix-cli
set -uo pipefail
cd "$(dirname "$0")/.."
if [ $# -lt 2 ]; then
    sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'
    exit 2
fi
ref=$(realpath "$1")
new=$(realpath "$2")
megabytes=${3:-100}
gen=${4:-build/bench/gen_export}
shape=${5:-}
work=$(mktemp -d /tmp/quellix-compare.XXXXXX)
trap 'rm -rf "$work"' EXIT

exports=("$(pwd)/examples/sample-export.txt")
# LF line ends and a CP437/CP850 byte (0xE1) in a name.
printf 'OBJECT Table 1 Stra\xe1e\n{\n  FIELDS\n  {\n    { 1   ;   ;No.                 ;Code20        }\n  }\n}\n' \
    > "$work/small-lf.txt"
exports+=("$work/small-lf.txt")
if [ "$megabytes" != 0 ]; then
    "$gen" "$work/generated.txt" "$megabytes" 1 $shape > /dev/null || { echo "cannot generate the export"; exit 1; }
    exports+=("$work/generated.txt")
fi

failures=0
runs=0
# compare NAME ARGS...: ARGS may contain @OUT@, replaced by a scratch folder of each binary.
compare() {
    local name=$1
    shift
    local side bin
    for side in ref new; do
        bin=$ref
        [ $side = new ] && bin=$new
        rm -rf "$work/$side" && mkdir -p "$work/$side/out"
        local args=()
        local a
        for a in "$@"; do args+=("${a//@OUT@/$work/$side/out}"); done
        "$bin" "${args[@]}" > "$work/$side/stdout" 2> "$work/$side/stderr" < /dev/null
        echo $? > "$work/$side/status"
        # Paths of the scratch folder printed by the split or in messages are the same relative to it.
        sed -i "s#$work/$side/out#@OUT@#g" "$work/$side/stdout" "$work/$side/stderr"
    done
    runs=$((runs + 1))
    if [ -n "${stderr_may_differ:-}" ] && ! diff -q "$work/ref/stderr" "$work/new/stderr" > /dev/null; then
        echo "stderr differs as expected ($name): $(cat "$work/ref/stderr") -> $(cat "$work/new/stderr")"
        cp "$work/ref/stderr" "$work/new/stderr"
    fi
    if ! diff -r -q "$work/ref" "$work/new" > "$work/diff"; then
        failures=$((failures + 1))
        echo "DIFFERENT: $name"
        sed 's/^/    /' "$work/diff"
    fi
}

for e in "${exports[@]}"; do
    base=$(basename "$e")
    # Every option set on the small exports; fewer option sets and terms on the large one.
    option_sets=("" "--locations" "--ansi" "--oem 437" "--locations --ansi --oem 437")
    terms=(Customer amount 'Amount[0-9]' 'Stra'"$(printf '\xc3\x9f')"'e' '' '(unbalanced')
    ranges=("1 100000000" "18 18" "50000 50010" "0 -5")
    if [ "$base" = generated.txt ]; then
        option_sets=("" "--locations" "--ansi --oem 437")
        terms=(Customer 'Amount[0-9]')
        ranges=("1 100000000" "50000 50010")
    fi
    for opts in "${option_sets[@]}"; do
        # shellcheck disable=SC2086
        {
            compare "$base objects $opts" objects "$e" $opts
            for mode in normal case regex; do
                for term in "${terms[@]}"; do
                    compare "$base search '$term' --mode $mode $opts" search "$term" "$e" --mode $mode $opts
                done
            done
            for c in field-reference-problem table-reference-problem unused-variables unused-functions \
                     unused-fields unused-sumindexfields local-global once-used duplicate-ids \
                     page-translations check-forms; do
                compare "$base $c $opts" "$c" "$e" $opts
            done
            for range in "${ranges[@]}"; do
                for flags in "" "--no-objects" "--no-fields" "--no-objects --no-fields"; do
                    compare "$base number-range $range $flags $opts" number-range "$e" $range $flags $opts
                done
            done
        }
    done
    # The machine-readable formats: every list command, check with its baseline, the diff.
    for format in json sarif; do
        for c in objects unused-variables unused-functions unused-fields once-used duplicate-ids \
                 page-translations check-forms check; do
            compare "$base $c --format $format" "$c" "$e" --format $format
        done
        compare "$base search --format $format" search Customer "$e" --format $format
        compare "$base number-range --format $format" number-range "$e" 1 100000000 --format $format
        compare "$base check --locations --oem 437 --format $format" check "$e" --locations --oem 437 --format $format
        compare "$base check --write-baseline --format $format" check "$e" --write-baseline @OUT@/baseline.txt \
            --format $format
        "$ref" check "$e" --only unused-variables,once-used --write-baseline "$work/baseline.txt" > /dev/null
        compare "$base check --baseline --format $format" check "$e" --baseline "$work/baseline.txt" --format $format
    done
    compare "$base diff --format json" diff "${exports[0]}" "$e" --format json
    compare "$base diff --ansi --format json" diff "$e" "${exports[0]}" --ansi --format json
    compare "$base export-code" export-code "$e" @OUT@/code.txt
    compare "$base export-code into a missing folder" export-code "$e" @OUT@/missing/code.txt
    compare "$base split all" split "$e" @OUT@/split 1 2000000000
    compare "$base split some" split "$e" @OUT@/split 18 5000
    compare "$base split into a file" split "$e" "$e" 1 10
done

# Usage errors and unreadable files.
s=${exports[0]}
compare "no command"
compare "no export" objects
compare "unknown command" no-such-command "$s"
compare "unknown option" objects "$s" --bogus
compare "unknown mode" search Customer "$s" --mode fuzzy
compare "unknown code page" objects "$s" --oem 1252
compare "objects with an argument" objects "$s" extra
compare "search without term" search "$s"
compare "analysis with an argument" unused-variables "$s" extra
compare "number-range junk" number-range "$s" 1abc 5
compare "number-range one number" number-range "$s" 1
compare "split junk" split "$s" @OUT@/x 1 2x
compare "export-code without file" export-code "$s"
compare "missing export" objects "$work/no-such-export.txt"
# Revisions before the operation table named a folder "file too large"; now "Is a directory".
stderr_may_differ=1 compare "export is a folder" unused-variables "$work"
compare "db-objects without server" db-objects

echo "$runs runs, $failures different"
[ $failures = 0 ]
