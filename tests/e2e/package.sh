#!/usr/bin/env bash
# The dock as a Debian package, from build to removal: scripts/package.sh
# builds it, lintian finds no error in it, it holds the files of the install
# rules and nothing else, apt installs it, its desktop entry and AppStream
# metainfo pass their validators and its icons are drawn at their sizes.
# Then an ordinary user, on an X server of the user's own, runs the installed
# /usr/bin/pondwillow: --version and --help answer without a display, the dock
# shows, a file dropped on its empty group lands in
# ~/.config/pondwillow/PondwillowPath0.txt, Ctrl+X writes
# ~/.config/pondwillow/Pondwillow.ini, and nothing is written next to the
# executable. Removing and purging the package leaves nothing of it in /usr.
# The test installs into the system: it runs as root only, and skips (77) where
# it cannot or where the package is installed already.
# Usage: package.sh PACKAGE_BUILD_DIR PATH_TO_DRAG_SOURCE
skip() {
  echo "SKIPPED: $*"
  exit 77
}
(($(id -u) == 0)) || skip "installing a package needs root"
command -v apt-get >/dev/null && command -v dpkg-query >/dev/null ||
  skip "no apt-get and dpkg on this system"
if dpkg-query -W -f='${Status}' pondwillow 2>/dev/null | grep -q 'ok installed'; then
  skip "pondwillow is installed on this machine; the test would replace and remove it"
fi

source "$(dirname "$0")/lib.sh"
source "$(dirname "$0")/drag.sh"
root=$(cd "$(dirname "$0")/../.." && pwd)
pkg_build=$1
E2E_DRAG_SOURCE=$2
app_id=org.pondwillow.Pondwillow
user=pwtest
sizes=(16 24 32 48 64 128 256)

# The package and the user are taken away again whatever happens.
installed=
made_user=
package_cleanup() {
  if [[ -n $installed ]]; then
    DEBIAN_FRONTEND=noninteractive apt-get purge -y -qq pondwillow >/dev/null 2>&1 || true
  fi
  if [[ -n $made_user ]]; then userdel "$user" 2>/dev/null || true; fi
}
trap 'e2e_cleanup; package_cleanup' EXIT

# ---- the package ------------------------------------------------------------------
t0=$(now_ms)
bash "$root/scripts/package.sh" "$pkg_build" >"$E2E_DIR/package.log" 2>&1 ||
  { tail -n 40 "$E2E_DIR/package.log" >&2; fail "scripts/package.sh failed"; }
echo "measured: scripts/package.sh took $((($(now_ms) - t0) / 1000)) s"
deb=$(tail -n 1 "$E2E_DIR/package.log")
[[ $deb == /*/pondwillow_*.deb && -f $deb ]] || fail "scripts/package.sh named no package: '$deb'"
version=$(dpkg-deb -f "$deb" Version)
echo "package: $deb, $(stat -c %s "$deb") bytes"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"

lintian --fail-on error "$deb" >"$E2E_DIR/lintian.log" 2>&1 ||
  { cat "$E2E_DIR/lintian.log" >&2; fail "lintian found errors"; }
grep -E '^[EWIP]:' "$E2E_DIR/lintian.log" || true
pass "lintian finds no error in $(basename "$deb")"

# Exactly the files of the install rules: no test, benchmark or library.
expected=(
  usr/bin/pondwillow
  "usr/share/applications/$app_id.desktop"
  usr/share/doc/pondwillow/changelog.gz
  usr/share/doc/pondwillow/copyright
  "usr/share/icons/hicolor/scalable/apps/$app_id.svg"
  usr/share/man/man1/pondwillow.1.gz
  "usr/share/metainfo/$app_id.metainfo.xml"
)
# The Wayland module, in a build with layer surfaces.
grep -q '^PW_LAYER_SHELL_BUILT:INTERNAL=ON' "$pkg_build/CMakeCache.txt" &&
  expected+=("usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/pondwillow/pondwillow-wayland.so")
for n in "${sizes[@]}"; do expected+=("usr/share/icons/hicolor/${n}x$n/apps/$app_id.png"); done
want=$(printf '%s\n' "${expected[@]}" | sort)
got=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./||' | sort)
[[ $got == "$want" ]] || fail "the package's files differ from the install rules':
$(diff <(echo "$want") <(echo "$got"))"
pass "the package holds the ${#expected[@]} files of the install rules and nothing else"

# Everything named pondwillow in /usr before the package: after its purge, the
# same must be left.
in_usr() { find /usr -iname '*pondwillow*' 2>/dev/null | sort; }
usr_before=$(in_usr)

installed=1
DEBIAN_FRONTEND=noninteractive apt-get install -y "$deb" >"$E2E_DIR/apt.log" 2>&1 ||
  { tail -n 30 "$E2E_DIR/apt.log" >&2; fail "apt-get could not install $deb"; }
dpkg-query -W -f='${Status}' pondwillow | grep -q 'ok installed' ||
  fail "after apt-get install the package is '$(dpkg-query -W -f='${Status}' pondwillow)'"
mapfile -t files < <(dpkg -L pondwillow | while read -r f; do [[ -f $f ]] && echo "$f"; done)
((${#files[@]} == ${#expected[@]})) || fail "dpkg lists ${#files[@]} files: ${files[*]}"
[[ -x /usr/bin/pondwillow ]] || fail "/usr/bin/pondwillow is no executable"
pass "apt-get installs the package: ${#files[@]} files, /usr/bin/pondwillow among them"
# Anything newer than this was written after the installation.
touch "$E2E_DIR/installed"
sleep 1

desktop-file-validate "/usr/share/applications/$app_id.desktop" ||
  fail "desktop-file-validate refuses the desktop entry"
out=$(appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml" 2>&1) ||
  fail "appstreamcli refuses the metainfo: $out"
grep -q "<release version=\"$version\"" "/usr/share/metainfo/$app_id.metainfo.xml" ||
  fail "the metainfo has no release $version"
pass "the desktop entry and the metainfo (release $version) pass their validators"

for n in "${sizes[@]}"; do
  png="/usr/share/icons/hicolor/${n}x$n/apps/$app_id.png"
  read -r w h < <(identify -format '%w %h\n' "$png")
  [[ "$w $h" == "$n $n" ]] || fail "$png is ${w}x$h"
  # The drawing covers about 40 % of its square; a blank or filled square is
  # no rendering of it.
  cover=$(convert "$png" -alpha extract -format '%[fx:mean]' info:)
  awk -v c="$cover" 'BEGIN { exit !(c > 0.3 && c < 0.5) }' ||
    fail "$png covers $cover of its square"
done
pass "the icon is drawn at ${sizes[*]} pixels"

# ---- an ordinary user runs the installed dock ------------------------------------
id -u "$user" >/dev/null 2>&1 || {
  useradd --user-group --no-create-home --home-dir /nonexistent --shell /bin/sh "$user"
  made_user=1
}
# A fresh home, with a runtime folder of the user's own.
chmod 0711 "$E2E_DIR"
home="$E2E_DIR/home"
mkdir -p "$home/runtime" "$home/documents"
echo "quarterly figures" >"$home/documents/report.txt"
chown -R "$user:" "$home"
chmod 0700 "$home" "$home/runtime"
E2E_RUN_AS="setpriv --reuid=$user --regid=$(id -g "$user") --clear-groups
  env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME -u XDG_STATE_HOME
  -u XDG_CONFIG_DIRS -u XDG_DATA_DIRS -u XAUTHORITY -u DBUS_SESSION_BUS_ADDRESS
  -u SESSION_MANAGER -u QT_QPA_PLATFORM
  HOME=$home USER=$user LOGNAME=$user XDG_RUNTIME_DIR=$home/runtime"
config="$home/.config/pondwillow"

# As the user's own shell would run it, without any display.
as_user() { (cd "$home" && exec env -u DISPLAY -u WAYLAND_DISPLAY $E2E_RUN_AS "$@"); }
rc=0
out=$(as_user /usr/bin/pondwillow --version 2>&1) || rc=$?
((rc == 0)) && [[ $out == *"$version"* ]] ||
  fail "pondwillow --version: status $rc, '$out' (no version $version)"
rc=0
out=$(as_user /usr/bin/pondwillow --help 2>&1) || rc=$?
((rc == 0)) && [[ $out == *--home* ]] || fail "pondwillow --help: status $rc, '$out'"
rc=0
as_user /usr/bin/pondwillow --no-such-option >/dev/null 2>&1 || rc=$?
((rc == 2)) || fail "an unknown option: status $rc, expected 2"
[[ ! -e $config ]] || fail "--help or --version made $config"
pass "--version and --help answer without a display, an unknown option exits 2"

# In a Wayland session the installed dock loads its Wayland module to ask the
# compositor about layer surfaces (here there is none to ask).
if grep -q '^PW_LAYER_SHELL_BUILT:INTERNAL=ON' "$pkg_build/CMakeCache.txt"; then
  out=$(WAYLAND_DISPLAY=pondwillow-no-compositor timeout 20 \
    env -u DISPLAY $E2E_RUN_AS WAYLAND_DISPLAY=pondwillow-no-compositor /usr/bin/pondwillow 2>&1) || true
  [[ $out != *pondwillow-wayland* && $out != *"Wayland module"* ]] ||
    fail "the installed dock does not load its Wayland module: $out"
  pass "the installed dock finds its Wayland module"
fi

# The user's own X server: its socket folder made as root makes, if missing.
[[ -d /tmp/.X11-unix ]] || { mkdir -p /tmp/.X11-unix && chmod 1777 /tmp/.X11-unix; }
start_x
owner=$(ps -o user= -p "${E2E_PIDS[0]}")
[[ $owner == "$user" ]] || fail "the X server runs as '$owner'"

(cd "$home" && exec $E2E_RUN_AS /usr/bin/pondwillow) >"$E2E_DIR/dock.log" 2>&1 &
DOCK_PID=$!
E2E_PIDS+=("$DOCK_PID")
WID=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pondwillow$' | head -n1) ||
  fail "the installed dock's window did not appear"
sleep 0.5
[[ $(ps -o user= -p "$DOCK_PID") == "$user" ]] || fail "the dock does not run as $user"
pass "$user's /usr/bin/pondwillow shows its window"

# A file dragged in from another program onto the middle of the empty group,
# which takes files without Ctrl+N.
report="$home/documents/report.txt"
read -r -a g < <(geometry "$WID")
drag_in "$report" $((g[2] / 2)) $((g[3] / 2))
[[ $DRAG_RESULT == copied ]] || fail "the dock refused the dropped file: '$DRAG_RESULT'"
group_holds() { [[ $(tr -d '\r' <"$config/PondwillowPath0.txt" 2>/dev/null) == "$report,,report" ]]; }
wait_until 5 group_holds ||
  fail "after the drop $config/PondwillowPath0.txt holds: '$(cat "$config/PondwillowPath0.txt" 2>&1)'"
end_drag
pass "a file dropped on the dock lands in ~/.config/pondwillow/PondwillowPath0.txt"

activate "$WID"
xdotool key --clearmodifiers ctrl+x
wait_dock_exit
((DOCK_RC == 0)) || fail "after Ctrl+X the dock exited with status $DOCK_RC"
[[ -s $config/Pondwillow.ini ]] || fail "Ctrl+X wrote no $config/Pondwillow.ini: $(ls -A "$config")"
[[ $(stat -c %U "$config/Pondwillow.ini") == "$user" ]] || fail "Pondwillow.ini is not $user's"
pass "Ctrl+X ends the dock and writes ~/.config/pondwillow/Pondwillow.ini ($(ls -A "$config" | tr '\n' ' '))"

written=$(find /usr/bin -newer "$E2E_DIR/installed" 2>/dev/null)
[[ -z $written ]] || fail "written in /usr/bin while the dock ran: $written"
[[ $(find /usr/bin -maxdepth 1 -iname '*pondwillow*') == /usr/bin/pondwillow ]] ||
  fail "/usr/bin holds: $(find /usr/bin -maxdepth 1 -iname '*pondwillow*' | tr '\n' ' ')"
pass "nothing is written next to the installed executable"

# ---- removal ----------------------------------------------------------------------
DEBIAN_FRONTEND=noninteractive apt-get remove -y pondwillow >"$E2E_DIR/apt.log" 2>&1 ||
  { tail -n 30 "$E2E_DIR/apt.log" >&2; fail "apt-get could not remove pondwillow"; }
for f in "${files[@]}"; do [[ ! -e $f ]] || fail "$f is left after apt-get remove"; done
# The package has no configuration files, so a removal already forgets it;
# a purge is left something to do only if dpkg still knows it.
if [[ $(dpkg-query -W -f='${Status}' pondwillow 2>/dev/null) == *config-files ]]; then
  DEBIAN_FRONTEND=noninteractive apt-get purge -y pondwillow >"$E2E_DIR/apt.log" 2>&1 ||
    { tail -n 30 "$E2E_DIR/apt.log" >&2; fail "apt-get could not purge pondwillow"; }
fi
installed=
status=$(dpkg-query -W -f='${Status}' pondwillow 2>/dev/null || true)
[[ -z $status || $status == *not-installed ]] || fail "after the purge dpkg has pondwillow as '$status'"
[[ $(in_usr) == "$usr_before" ]] || fail "left in /usr after the purge:
$(diff <(echo "$usr_before") <(in_usr))"
pass "apt-get remove and purge leave nothing of the package in /usr"
summary
