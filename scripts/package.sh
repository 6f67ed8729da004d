#!/usr/bin/env bash
# Builds the Debian package build/quellix_<version>_<arch>.deb from the build/ tree (built first
# when needed; arguments go to the configure step as for scripts/build.sh). With --check it then
# unpacks the package into a scratch root with dpkg -x and runs scripts/check-install.sh there.
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
if [ "${1:-}" = --check ]; then check=1; shift; fi
scripts/build.sh "$@"
(cd build && cpack -G DEB > /dev/null)
version=$(sed -n 's/^#define QUELLIX_VERSION "\(.*\)"$/\1/p' build/generated/QuellixVersion.h)
deb=build/quellix_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || { echo "package.sh: $deb was not made" >&2; exit 1; }
echo "$deb"
[ $check -eq 1 ] || exit 0

depends=$(dpkg-deb -f "$deb" Depends)
for needed in libwxgtk3.2 libsqlite3-0 libsodium23; do
  grep -q "$needed" <<<"$depends" || { echo "package.sh: Depends lacks $needed: $depends" >&2; exit 1; }
done
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
scripts/check-install.sh "$root/usr" "$(dpkg-deb -f "$deb" Version)" --gui
