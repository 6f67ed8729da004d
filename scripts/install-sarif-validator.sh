#!/usr/bin/env bash
# Installs the official SARIF validator (npm @microsoft/sarif-multitool, pinned) into FOLDER
# (default: ~/.cache/quellix/sarif-multitool) unless it is there, and prints the path of its
# program. Without npm or a reachable registry it prints why on stderr and exits 1: the caller
# skips the validation then.
set -euo pipefail
version=5.7.0
folder=${1:-${XDG_CACHE_HOME:-$HOME/.cache}/quellix/sarif-multitool}
program=$folder/node_modules/@microsoft/sarif-multitool-linux/Sarif.Multitool
if [ ! -f "$program" ]; then
  command -v npm > /dev/null || { echo "install-sarif-validator: npm is missing" >&2; exit 1; }
  mkdir -p "$folder"
  if ! log=$(cd "$folder" && timeout 300 npm install --no-audit --no-fund --no-save --prefix "$folder" \
               "@microsoft/sarif-multitool@$version" 2>&1); then
    echo "install-sarif-validator: npm could not install @microsoft/sarif-multitool: $(tail -n 3 <<<"$log")" >&2
    exit 1
  fi
  [ -f "$program" ] || { echo "install-sarif-validator: $program missing after npm install" >&2; exit 1; }
fi
# npm may leave its install script (which marks the program executable) unrun.
chmod u+x "$program"
echo "$program"
