#!/usr/bin/env bash
# Runs a Windows installer of Quellix under wine as a user without administrator rights would, in
# a wine prefix of its own: a silent install (/S), then checks what the user got (every file of
# the zip under %LOCALAPPDATA%\Programs\Quellix, the uninstaller, the Start menu entries, the
# entry of "Apps & features", a program that starts), then the silent uninstall, which must leave
# none of it behind:
#   scripts/check-windows-installer.sh SETUP-EXE ZIP
# Exit 77 (skipped, with the reason) when wine cannot start the installer; a 32-bit installer
# needs a kernel that runs 32-bit programs.
set -uo pipefail
usage="usage: check-windows-installer.sh SETUP-EXE ZIP"
setup=$(realpath "${1:?$usage}")
zip=$(realpath "${2:?$usage}")
command -v wine > /dev/null || { echo "skipped: wine is not installed"; exit 77; }
# The 64-bit loader for a 64-bit installer: the wine wrapper starts the 32-bit one first.
wine=wine wineserver=wineserver
if file -b "$setup" | grep -q '^PE32+' && [ -x /usr/lib/wine/wine64 ]; then
  wine=/usr/lib/wine/wine64
  [ -x /usr/lib/wine/wineserver64 ] && wineserver=/usr/lib/wine/wineserver64
fi
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
WINEPREFIX=$(mktemp -d /tmp/quellix-installer.XXXXXX)
trap '$wineserver -k 2> /dev/null; rm -rf "$WINEPREFIX"' EXIT
if ! reason=$($wine wineboot -i 2>&1); then
  echo "skipped: wine cannot start here: $(echo "$reason" | tail -1)"
  exit 77
fi
$wineserver -w
status=0
fail() { echo "FAIL: $*"; status=1; }

$wine "$setup" /S
$wineserver -w
user=$(ls -d "$WINEPREFIX"/drive_c/users/*/AppData 2> /dev/null | grep -v /Public/ | head -1)
inst=$user/Local/Programs/Quellix
menu=$user/Roaming/Microsoft/Windows/Start\ Menu/Programs/Quellix
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quellix'
if [ ! -d "$inst" ]; then
  echo "FAIL: nothing installed under %LOCALAPPDATA%\\Programs\\Quellix"
  exit 1
fi
# Every file of the zip, and the uninstaller beside them.
unzip -Z1 "$zip" | grep -v '/$' | sed 's|^[^/]*/||' | sort > "$WINEPREFIX/expected"
echo uninstall.exe >> "$WINEPREFIX/expected"
(cd "$inst" && find . -type f | sed 's|^\./||' | sort) > "$WINEPREFIX/installed"
sort -o "$WINEPREFIX/expected" "$WINEPREFIX/expected"
diff "$WINEPREFIX/expected" "$WINEPREFIX/installed" > /dev/null \
  || fail "installed files differ from the zip: $(diff "$WINEPREFIX/expected" "$WINEPREFIX/installed" | grep '^[<>]' | tr '\n' ' ')"
[ -f "$menu/Uninstall Quellix.lnk" ] || fail "no Start menu entry \"Uninstall Quellix\""
if grep -qx quellix.exe "$WINEPREFIX/expected"; then
  [ -f "$menu/Quellix.lnk" ] || fail "no Start menu entry \"Quellix\""
fi
$wine reg query "$key" /v DisplayVersion 2> /dev/null | grep -q DisplayVersion \
  || fail "no entry in \"Apps & features\" ($key)"
$wine "$inst/quellix-cli.exe" --version | grep -q . || fail "the installed quellix-cli.exe does not start"

# The uninstaller copies itself away and ends at once; the wine server tells when it is done.
$wine "$inst/uninstall.exe" /S
$wineserver -w
[ -e "$inst" ] && fail "left behind after the uninstall: $(cd "$inst" && find . | tr '\n' ' ')"
[ -e "$menu" ] && fail "the Start menu folder is left behind after the uninstall"
$wine reg query "$key" > /dev/null 2>&1 && fail "the entry in \"Apps & features\" is left behind"
[ $status = 0 ] && echo "installer: install, Start menu, uninstall entry and uninstall as expected"
exit $status
