#!/usr/bin/env bash
# Builds the three Debian packages from the build/ tree (configured when needed; arguments go to
# the configure step as for scripts/build.sh), building only what they hold, no tests and no
# benchmarks:
#   build/quellix-cli_<version>_<arch>.deb     the command line, no graphical libraries
#   build/quellix_<version>_<arch>.deb         the desktop program (depends on quellix-cli)
#   build/quellix-cfront_<version>_<arch>.deb  the stand-in C/FRONT library and cfront-db
# With --check it then checks them: lintian without errors and warnings, hardening-check on every
# binary, each package's files and Depends, the three unpacked together with dpkg -x and checked by
# scripts/check-install.sh, and last, where it runs as root with apt-get, a real apt-get install
# of the three, the same checks on /usr, then remove and purge.
set -euo pipefail
cd "$(dirname "$0")/.."
check=0
if [ "${1:-}" = --check ]; then check=1; shift; fi
scripts/build.sh --target quellix_installed "$@"
rm -f build/*.deb
(cd build && cpack -G DEB > /dev/null)
version=$(sed -n 's/^#define QUELLIX_VERSION "\(.*\)"$/\1/p' build/generated/QuellixVersion.h)
arch=$(dpkg --print-architecture)
packages=(quellix-cli quellix quellix-cfront)
deb_of() { echo "build/${1}_${version}_${arch}.deb"; }
debs=()
for p in "${packages[@]}"; do
  deb=$(deb_of "$p")
  [ -f "$deb" ] || { echo "package.sh: $deb was not made" >&2; exit 1; }
  debs+=("$deb")
  echo "$deb"
done
[ $check -eq 1 ] || exit 0

failures=0
fail() { echo "package.sh: $*" >&2; failures=$((failures + 1)); }

changelog=$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)
[ "$changelog" = "$version" ] || fail "packaging/debian/changelog starts with $changelog, not $version"
# Info tags are listed (-I) but do not fail the check.
lintian --fail-on error,warning -I "${debs[@]}" || fail "lintian found errors or warnings"

# What each package holds, and nothing of another's.
expected_files() {
  case $1 in
    quellix-cli) printf '%s\n' usr/bin/quellix-cli usr/share/bash-completion/completions/quellix-cli \
                   usr/share/doc/quellix-cli/examples/sample-export.txt usr/share/man/man1/quellix-cli.1.gz ;;
    quellix) printf '%s\n' usr/bin/quellix usr/share/applications/quellix.desktop usr/share/man/man1/quellix.1.gz
             for size in 16 22 24 32 48 64 128 256; do
               echo "usr/share/icons/hicolor/${size}x${size}/apps/quellix.png"
             done ;;
    quellix-cfront) printf '%s\n' usr/bin/cfront-db usr/lib/quellix/cfront/cfront.so usr/share/man/man1/cfront-db.1.gz ;;
  esac
  printf '%s\n' "usr/share/doc/$1/copyright" "usr/share/doc/$1/changelog.gz"
}
for p in "${packages[@]}"; do
  held=$(dpkg-deb -c "$(deb_of "$p")" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort)
  difference=$(diff <(expected_files "$p" | sort) - <<<"$held") || fail "$p holds other files: $difference"
done

# Depends as dpkg-shlibdeps found them: the command line's without any graphical library.
depends() { dpkg-deb -f "$(deb_of "$1")" Depends; }
grep -qiE 'wx|gtk|x11' <<<"$(depends quellix-cli)" && fail "quellix-cli depends on a GUI library: $(depends quellix-cli)"
for needed in "quellix libwxgtk3.2" "quellix quellix-cli (= $version)" "quellix-cfront libsqlite3-0" \
              "quellix-cfront libsodium23"; do
  grep -qF "${needed#* }" <<<"$(depends "${needed%% *}")" ||
    fail "${needed%% *}: Depends lacks ${needed#* }: $(depends "${needed%% *}")"
done

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
for deb in "${debs[@]}"; do dpkg -x "$deb" "$root"; done
hardening-check --quiet --nocfprotection "$root"/usr/bin/* "$root"/usr/lib/quellix/cfront/cfront.so ||
  fail "binaries lack hardening"
scripts/check-install.sh "$root/usr" "$version" --gui || fail "the unpacked packages fail check-install"
[ $failures -eq 0 ] || exit 1

# A real install through apt where that is possible: as root, with apt-get, and only on a machine
# that has none of the packages installed (the test removes and purges what it installed). flock
# keeps two runs on one machine apart.
installed() { dpkg-query -W -f='${db:Status-Status}\n' "$@" 2>/dev/null | grep -qv '^not-installed$'; }
if [ "$(id -u)" -ne 0 ] || ! command -v apt-get > /dev/null; then
  echo "package.sh: apt-get install test skipped: needs root and apt-get"
  exit 0
fi
exec 9> /var/lock/quellix-package-test
flock 9
if installed "${packages[@]}"; then
  echo "package.sh: apt-get install test skipped: a Quellix package is installed on this machine"
  exit 0
fi
apt() { DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 -y -qq "$@" > /dev/null; }
trap 'installed "${packages[@]}" && apt purge "${packages[@]}"; rm -rf "$root"' EXIT
apt install "${debs[@]/#/$(pwd)/}" || fail "apt-get install failed"
[ $failures -eq 0 ] && { scripts/check-install.sh /usr "$version" --gui || fail "the installed packages fail check-install"; }
apt remove "${packages[@]}" || fail "apt-get remove failed"
for f in /usr/bin/quellix-cli /usr/bin/quellix /usr/bin/cfront-db /usr/lib/quellix /usr/share/doc/quellix-cli; do
  [ ! -e "$f" ] || fail "$f is left after apt-get remove"
done
# Packages without configuration files are purged by the removal already.
if installed "${packages[@]}"; then apt purge "${packages[@]}" || fail "apt-get purge failed"; fi
installed "${packages[@]}" && fail "packages are left after apt-get purge: $(dpkg -l "${packages[@]}" | tail -n 3)"
trap 'rm -rf "$root"' EXIT
[ $failures -eq 0 ] || exit 1
echo "package.sh: apt-get install, remove and purge of ${packages[*]} are fine"
