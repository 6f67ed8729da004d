#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config libgtest-dev libsqlite3-dev
          libwxgtk3.2-dev xvfb xauth openbox xdotool fonts-dejavu-core libsodium-dev
          dpkg-dev desktop-file-utils man-db groff-base bash-completion
          clang libfuzzer-14-dev ccache nlohmann-json3-dev python3 python3-jsonschema
          libgit2-dev patch)
# npm fetches the SARIF validator the tests run (scripts/install-sarif-validator.sh); any npm will do.
command -v npm > /dev/null || packages+=(npm)
# The checks of the Debian packages (scripts/package.sh --check): lintian and hardening-check
# (devscripts), without their recommends, which would add some 100 packages.
package_tools=(lintian devscripts)

SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
updated=0
# install_missing [APT-OPTION...] -- PACKAGE...: installs those of the packages not installed yet.
install_missing() {
  local options=() missing=() p
  while [ "$1" != -- ]; do options+=("$1"); shift; done
  shift
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -gt 0 ] || return 0
  echo "Installing: ${missing[*]}"
  if [ $updated -eq 0 ]; then
    $SUDO apt-get -o DPkg::Lock::Timeout=900 update -qq
    updated=1
  fi
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get -o DPkg::Lock::Timeout=900 install -y -qq \
    "${options[@]}" "${missing[@]}"
}
install_missing -- "${packages[@]}"
install_missing --no-install-recommends -- "${package_tools[@]}"
# The SARIF validator of the tests: installed once; without a registry the tests skip it and say so.
"$(dirname "$0")/install-sarif-validator.sh" > /dev/null || true
