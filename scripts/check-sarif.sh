#!/usr/bin/env bash
# Runs the official SARIF validator (scripts/install-sarif-validator.sh) over `quellix-cli check
# --format sarif` of the sample, named by a relative and by an absolute path, and of a generated
# 20 MB export (absolute path: the paths differ in the URIs only): any error or warning fails.
# BUILD is the build tree (default build/) holding quellix-cli and bench's gen_export. Skipped,
# with the reason, when the validator cannot be had. Costs 1 to 2 minutes on two cores, nearly
# all of it the validator reading the 27 MB log of the generated export.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${1:-build}" && pwd)
if ! validator=$(scripts/install-sarif-validator.sh); then
  echo "check-sarif: skipped: the SARIF validator could not be installed"
  exit 0
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp examples/sample-export.txt "$scratch/sample.txt"
"$build/bench/gen_export" "$scratch/generated.txt" 20 > /dev/null
failures=0
for path in sample.txt "$scratch/sample.txt" "$scratch/generated.txt"; do
  name=$(basename "$path" .txt)
  log=$scratch/$name-${#path}.sarif
  (cd "$scratch" && "$build/quellix-cli" check "$path" --format sarif > "$log")
  report=$("$validator" validate --level "Error;Warning" --max-file-size-in-kb 1048576 \
             -o "$log.report" "$log" 2>&1) || true
  faults=$(grep -E '(error|warning) [A-Z]+[0-9]+' <<<"$report" || true)
  if ! grep -q "Analysis completed successfully" <<<"$report"; then
    echo "check-sarif: $path: the validator did not finish: $(tail -n 5 <<<"$report")" >&2
    failures=$((failures + 1))
  elif [ -n "$faults" ]; then
    echo "check-sarif: $path: $(wc -l <<<"$faults") errors and warnings, the first:" >&2
    head -n 5 <<<"$faults" >&2
    failures=$((failures + 1))
  fi
done
[ $failures -eq 0 ] || exit 1
echo "check-sarif: the validator accepts every log"
