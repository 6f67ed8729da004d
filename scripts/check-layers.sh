#!/usr/bin/env bash
# Checks the layering of the sources (README.md, "Contributor notes"): every include of a project
# header must point into the file's own folder or one below it. The order, bottom to top:
#   model
#   results, layout, settings (settings may use layout)
#   analysis
#   jobs
#   db, merge
#   the command line (cli/) and the desktop program's windows (views/, resources/, db/gui/, merge/gui/)
#   the desktop program's shell (app/): the application, frames, document, menus of the program
# The core never includes the toolkit. The stand-in C/FRONT (cfront/) is its own library; its
# admin tool uses the core's code pages and password prompt. Prints every offending line; exit
# status 1 when there is one.
set -u
cd "$(dirname "$0")/.."

find model results layout settings analysis jobs db merge cli app views resources cfront \
     -type f \( -name '*.h' -o -name '*.cpp' \) -print0 2>/dev/null |
    xargs -0 -r grep -Hn -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' |
    awk '
BEGIN {
    core = "model|results|layout|settings|analysis|jobs|db|merge"
    gui = "views|resources|db/gui|merge/gui"
    # The folders a file of each layer may include from.
    allowed["model"] = "model"
    allowed["results"] = "model|results"
    allowed["layout"] = "model|layout"
    allowed["settings"] = "model|layout|settings"
    allowed["analysis"] = "model|results|layout|settings|analysis"
    allowed["jobs"] = "model|results|layout|settings|analysis|jobs"
    allowed["db"] = "model|results|layout|settings|analysis|jobs|db|cfront"
    allowed["merge"] = "model|results|layout|settings|analysis|jobs|merge"
    allowed["cli"] = core "|cli|cfront"
    allowed["gui"] = core "|" gui "|cfront"
    # The views reach the application through their context (views/ViewContext.h), never app/.
    allowed["app"] = core "|" gui "|app|cfront"
    allowed["cfront"] = "model|db|cfront"
    bad = 0
}
{
    split($0, part, ":")
    file = part[1]
    if (file ~ /^(db|merge)\/gui\// || file ~ /^(views|resources)\//) layer = "gui"
    else { layer = file; sub(/\/.*/, "", layer) }
    target = $0
    sub(/^[^:]*:[^:]*:[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]/, "", target)
    sub(/[">].*/, "", target)
    if (target ~ /^wx\//) {
        if (layer != "gui" && layer != "app") { print layer "/ includes the toolkit: " $0; bad = 1 }
        next
    }
    if (target ~ /^(db|merge)\/gui\//) { folder = target; sub(/\/gui\/.*/, "/gui", folder) }
    else if (target ~ /\//) { folder = target; sub(/\/.*/, "", folder) }
    else next
    if (folder !~ "^(" core "|cli|cfront|app|" gui ")$") next
    if (folder ~ "^(" allowed[layer] ")$") next
    print layer "/ includes a layer above it or beside it: " $0
    bad = 1
}
END { exit bad }'
