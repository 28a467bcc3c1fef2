#!/usr/bin/env bash
# The Windows installer under Wine, in a Wine prefix of its own: a silent install puts the
# programs under Program Files with a Start-menu shortcut and an entry in Apps & features,
# the installed programs start, and the silent uninstall removes them all.
# Usage: InstallerTest.sh SETUP_EXE  (with a display: run it under xvfb-run)
set -euo pipefail

setup=$(realpath "$1")
work=$(mktemp -d)
export WINEPREFIX=$work/wine WINEDEBUG=-all
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "installer test: $*" >&2
    exit 1
}
# Waits up to 30 s for a condition given as a command.
eventually() {
    for _ in $(seq 300); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

wineboot -i >/dev/null 2>&1
program_files="$WINEPREFIX/drive_c/Program Files/Kestran"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kestran.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kestran'

wine "$setup" /S
for file in kestran.exe kestran-workshop.exe kestran-upload.exe kestran-dial.exe uninstall.exe \
    README-Windows.txt \
    dials/ias.png licenses/libpng-LICENSE.txt licenses/zlib-LICENSE.txt \
    licenses/libjpeg-turbo-LICENSE.txt licenses/DejaVu-fonts-LICENSE.txt; do
    [ -f "$program_files/$file" ] || fail "the install left out $file"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
workshop_shortcut="${shortcut%/*}/Kestran Dial Workshop.lnk"
[ -f "$workshop_shortcut" ] || fail "no Start-menu shortcut to the Dial Workshop"
send_to=$(find "$WINEPREFIX/drive_c/users" -path '*/SendTo/Kestran dial.lnk' | head -n 1)
[ -n "$send_to" ] || fail "no Send to shortcut"
wine reg query "$key" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe' ||
    fail "not listed in Apps & features"
echo "installed under Program Files, with a shortcut and an uninstaller entry"

wine 'C:\Program Files\Kestran\kestran-upload.exe' --help | grep -q 'Usage: kestran-upload' ||
    fail "the installed kestran-upload.exe does not start"
# Into a file first: grep -q leaves at its first match, and the rest of a long help would
# then meet a closed pipe.
wine 'C:\Program Files\Kestran\kestran-dial.exe' --help >"$work/dial-help.txt" &&
    grep -q 'Usage: kestran-dial' "$work/dial-help.txt" ||
    fail "the installed kestran-dial.exe does not start"
# The window: started, it stays up until it is closed.
wine 'C:\Program Files\Kestran\kestran.exe' &
window=$!
sleep 5
kill -0 "$window" 2>/dev/null || fail "the installed kestran.exe ended at once"
wineserver -k
wait "$window" 2>/dev/null || true
wine 'C:\Program Files\Kestran\kestran-workshop.exe' 'C:\Program Files\Kestran\dials\tas.png' &
window=$!
sleep 5
kill -0 "$window" 2>/dev/null || fail "the installed kestran-workshop.exe ended at once"
wineserver -k
wait "$window" 2>/dev/null || true
echo "the installed programs start"

wine 'C:\Program Files\Kestran\uninstall.exe' /S
# The uninstaller runs on from a copy of itself and returns at once.
eventually test ! -e "$program_files" || fail "the uninstall left $program_files behind"
[ ! -e "$shortcut" ] || fail "the uninstall left the shortcut behind"
[ ! -e "$workshop_shortcut" ] || fail "the uninstall left the Dial Workshop's shortcut behind"
[ ! -e "$send_to" ] || fail "the uninstall left the Send to shortcut behind"
if wine reg query "$key" >/dev/null 2>&1; then
    fail "the uninstall left the Apps & features entry behind"
fi
echo "uninstalled without a trace"
