#!/usr/bin/env bash
# Checks the layering of the sources (README.md, "Contributor notes"): no core file includes the
# toolkit or a GUI folder, model/ includes nothing from the layers above it. Prints every offending
# line; exit status 1 when there is one.
set -uo pipefail
cd "$(dirname "$0")/.."
core=(model results analysis jobs settings layout db merge)
bad=0
for folder in "${core[@]}"; do
    [ -d "$folder" ] || continue
    # The core is every file directly in a core folder, and below it except in gui/ subfolders.
    while IFS= read -r line; do
        echo "core file includes the GUI: $line"
        bad=1
    done < <(find "$folder" -path "$folder/gui" -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
             xargs -0 -r grep -Hn -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"](wx/|app/|views/|resources/|cli/|[a-z]+/gui/)')
done
while IFS= read -r line; do
    echo "model/ includes a higher layer: $line"
    bad=1
done < <(grep -Hn -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"(results|analysis|jobs|settings|layout|db|merge)/' model/*.h model/*.cpp)
exit $bad
