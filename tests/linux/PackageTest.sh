#!/usr/bin/env bash
# The Debian package on this machine: apt-get installs it with what it depends on, the
# installed programs run from /usr/bin (kestran-upload's --help and --list, a whole upload of
# the installed example dials from kestran-upload to kestran-gauge, kestran-dial making a dial
# and its sheet from one of them, the window started from
# the desktop entry's Exec line on Xvfb with its title), every program has its manual page;
# then apt-get purges it and the packages it pulled in, and the machine's files and packages
# are as they were before. The purge runs however the test ends.
# Usage: PackageTest.sh DEB  (as root, or with sudo at hand)
set -euo pipefail

deb=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
scripts=$here/../../scripts

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
# Waits for another apt or dpkg run to finish rather than failing at once.
apt_get() {
    DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -q -y -o Dpkg::Use-Pty=0 \
        -o DPkg::Lock::Timeout=600 "$@"
}
installed() {
    dpkg-query -W -f='${db:Status-Status}\n' "$1" 2>/dev/null | grep -qx installed
}
fail() {
    echo "package test: $*" >&2
    exit 1
}

if dpkg-query -W -f='${db:Status-Status}\n' kestran 2>/dev/null | grep -qvx not-installed; then
    fail "kestran is already on this machine; the test installs and purges it, so remove it" \
        "first (sudo apt-get purge kestran)"
fi

work=$(mktemp -d)
# What the machine holds: its packages, and the files of the system's own folders (caches
# and logs aside, which apt keeps up to date by itself).
snapshot() {
    dpkg-query -W -f='${db:Status-Status} ${Package}:${Architecture}\n' |
        sed -n 's/^installed //p' | LC_ALL=C sort >"$1.packages"
    find /usr /etc /opt /var/lib/dpkg/info -xdev 2>/dev/null | LC_ALL=C sort >"$1.files"
}
snapshot "$work/before"

window=""
gauge=""
purged=0
purge() {
    [ "$purged" -eq 0 ] || return 0
    purged=1
    local pulled
    snapshot "$work/installed"
    # What apt brought along for the package, to go with it.
    pulled=$(LC_ALL=C comm -13 "$work/before.packages" "$work/installed.packages" |
        grep -v '^kestran:' || true)
    apt_get purge kestran >"$work/purge.log" 2>&1 || { cat "$work/purge.log"; return 1; }
    if [ -n "$pulled" ]; then
        # shellcheck disable=SC2086
        apt_get purge $pulled >>"$work/purge.log" 2>&1 || { cat "$work/purge.log"; return 1; }
    fi
}
cleanup() {
    local rc=$?
    for pid in $window $gauge; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    purge || rc=1
    rm -rf "$work"
    exit $rc
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# --- Install ---------------------------------------------------------------------------------
apt_get install "$deb" >"$work/install.log" 2>&1 || { cat "$work/install.log"; fail "apt-get install failed"; }
installed kestran || fail "apt-get did not install kestran"
echo "installed $(dpkg-query -W -f='${Package} ${Version}' kestran)"

# The programs run as a user would start them: found on the PATH in /usr/bin, with a home
# and a runtime folder of their own, so that nothing they write stays behind.
export PATH=/usr/bin:/bin HOME=$work/home XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"
programs=(kestran kestran-upload kestran-gauge kestran-dial)
for program in "${programs[@]}"; do
    [ "$(command -v "$program")" = "/usr/bin/$program" ] || fail "$program is not in /usr/bin"
done

# --- The command line ------------------------------------------------------------------------
kestran-upload --help >"$work/help.txt" || fail "kestran-upload --help failed"
grep -q '^Usage: kestran-upload' "$work/help.txt" || fail "kestran-upload --help shows no usage"
kestran-dial --help >/dev/null || fail "kestran-dial --help failed"

gauge_out=$work/gauge-out
kestran-gauge --name "package check" --out "$gauge_out" >"$work/gauge.out" 2>"$work/gauge.err" &
gauge=$!
for _ in $(seq 100); do
    [ -s "$work/gauge.out" ] && break
    sleep 0.1
done
port=$(head -n 1 "$work/gauge.out")
[ -c "$port" ] || fail "kestran-gauge printed no port: $(cat "$work/gauge.err")"

kestran-upload --list >"$work/list.txt" || fail "kestran-upload --list failed"
grep -qF "$port	Kestran virtual gauge package check" "$work/list.txt" ||
    fail "kestran-upload --list does not show the gauge on $port: $(cat "$work/list.txt")"
echo "kestran-upload --help and --list run from /usr/bin"

examples=/usr/share/kestran/examples/dials
kestran-upload --port "$port" --ias "$examples/ias.png" --tas "$examples/tas.png" \
    >"$work/upload.out" 2>"$work/upload.err" ||
    fail "the upload of the example dials failed: $(cat "$work/upload.err")"
grep -q '^Update completed\.$' "$work/upload.err" || fail "the upload did not complete"
for _ in $(seq 100); do
    grep -q 'upload 1 ended' "$work/gauge.err" && break
    sleep 0.1
done
# What the gauge received, pixel for pixel, against the installed examples.
python3 -B - "$examples" "$gauge_out" <<EOF || fail "the gauge did not receive the example dials"
import os, sys
sys.path.insert(0, "$scripts")
from iconart import read_rgba
for name in ("ias.png", "tas.png"):
    with open(os.path.join(sys.argv[1], name), "rb") as f:
        sent = read_rgba(f.read())
    with open(os.path.join(sys.argv[2], name), "rb") as f:
        got = read_rgba(f.read())
    if sent != got:
        sys.exit(name + " differs")
EOF
kill "$gauge"
wait "$gauge" || fail "kestran-gauge did not end cleanly"
gauge=""
echo "kestran-upload uploaded the example dials to kestran-gauge, exactly"

# A picture given alone, as a file manager hands it over: a dial and its sheet beside it.
cp "$examples/tas.png" "$work/art.png"
kestran-dial "$work/art.png" >"$work/dial.out" 2>&1 ||
    fail "kestran-dial on a picture alone failed: $(cat "$work/dial.out")"
[ -f "$work/art-dial.png" ] && [ -f "$work/art-dial-needles.png" ] ||
    fail "kestran-dial made no dial and sheet beside the picture"
kestran-dial cost "$work/art-dial.png" >"$work/cost.txt" && grep -q 'pixel lines' "$work/cost.txt" ||
    fail "kestran-dial cost does not take the dial it made"
echo "kestran-dial made a dial and its sheet from an installed example"

# --- The windows, as the desktop starts them --------------------------------------------------
# The command of a desktop entry; its field codes (%f, %U, ...) stand for files the desktop
# would pass, none here.
exec_of() {
    local line
    line=$(sed -n 's/^Exec=//p' "$1" | head -n 1)
    [ -n "$line" ] || fail "$1 has no Exec line"
    printf '%s' "$line" | sed -E 's/ ?%[fFuUdDnNickvm]//g'
}
# Waits for a window of that title on the display.
shows_window() {
    for _ in $(seq 300); do
        xwininfo -root -tree 2>/dev/null | grep -qF "\"$1\"" && return 0
        sleep 0.1
    done
    return 1
}
desktop=/usr/share/applications/kestran.desktop
exec_line=$(exec_of "$desktop")
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.err" &
window=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.err")"
DISPLAY=:$(head -n 1 "$work/display")
export DISPLAY
xvfb=$window
# shellcheck disable=SC2086
sh -c "exec $exec_line" >"$work/window.out" 2>&1 &
window="$! $xvfb"
shows_window "Kestran V0.1" ||
    fail "no window \"Kestran V0.1\" from \"$exec_line\": $(cat "$work/window.out")"
echo "the desktop entry's \"$exec_line\" shows the window \"Kestran V0.1\""
workshop_line=$(exec_of /usr/share/applications/kestran-dial-workshop.desktop)
# shellcheck disable=SC2086
sh -c "exec $workshop_line" >"$work/workshop.out" 2>&1 &
window="$! $window"
shows_window "Kestran Dial Workshop" ||
    fail "no window \"Kestran Dial Workshop\" from \"$workshop_line\": $(cat "$work/workshop.out")"
echo "the desktop entry's \"$workshop_line\" shows the window \"Kestran Dial Workshop\""

# --- The manual ------------------------------------------------------------------------------
for program in "${programs[@]}"; do
    page=$(man -w "$program") || fail "man -w $program finds no page"
    echo "man -w $program: $page"
done

# --- Purge -----------------------------------------------------------------------------------
for pid in $window; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
done
window=""
files=$(dpkg-query -L kestran | wc -l)
purge || fail "apt-get purge failed"
if installed kestran; then
    fail "apt-get purge left kestran installed"
fi
snapshot "$work/after"
if ! diff -u "$work/before.packages" "$work/after.packages" >"$work/packages.diff"; then
    cat "$work/packages.diff"
    fail "the packages differ from before the install"
fi
if ! diff -u "$work/before.files" "$work/after.files" >"$work/files.diff"; then
    cat "$work/files.diff"
    fail "the files differ from before the install"
fi
echo "apt-get purge removed all $files paths of the package, and all it pulled in"
