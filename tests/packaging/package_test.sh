#!/bin/bash
# The Debian package end to end: built and checked by lintian (scripts/package.sh), installed
# with apt-get, started from / under Xvfb (the window maps, SIGTERM closes it and it saves to the
# XDG path), then removed. Needs root. The CMake test runs this under xvfb-run.
# Usage: package_test.sh SOURCE_DIR
set -u
src=$1
run_name=package
# shellcheck source=../support/game_run.sh
source "$(dirname "$0")/../support/game_run.sh"
[ "$(id -u)" -eq 0 ] || { echo "package test: needs root, skipped"; exit 0; }
# Every temporary folder of the run (lintian's among them) goes where the run's end removes it.
export TMPDIR="$work"
if dpkg-query -W -f='${Status}' lumcrest 2>/dev/null | grep -q "install ok installed"; then
    fail "a lumcrest package is installed already; this test would remove it"
fi

# What it is doing, as it goes (ctest -V shows it; the whole run takes minutes).
say() { echo "package test: $(date +%H:%M:%S) $*"; }
say "building the package in a tree of its own (scripts/package.sh)"
"$src/scripts/package.sh" >"$work/package.log" 2>&1 || fail "scripts/package.sh: $(tail -20 "$work/package.log")"
version=$(sed -n 's/^project(lumcrest VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
deb=$(ls "$src"/build/lumcrest_"$version"-*_"$(dpkg --print-architecture)".deb 2>/dev/null | head -1)
[ -n "$deb" ] && [ -s "$deb" ] || fail "no build/lumcrest_${version}-REVISION_ARCH.deb"

# What the package says of itself.
info=$(dpkg-deb --info "$deb")
for field in "Section: games" "Installed-Size: " "Depends: .*libsdl2" "Version: $version-"; do
    grep -q "^ $field" <<<"$info" || fail "the control file lacks '$field'"
done
contents=$(dpkg-deb --contents "$deb")
for f in ./usr/games/lumcrest ./usr/share/games/lumcrest/help.jpg ./usr/share/man/man6/lumcrest.6.gz \
    ./usr/share/man/de/man6/lumcrest.6.gz ./usr/share/man/ru/man6/lumcrest.6.gz \
    ./usr/share/doc/lumcrest/copyright ./usr/share/doc/lumcrest/changelog.Debian.gz \
    ./usr/share/applications/lumcrest.desktop ./usr/share/icons/hicolor/scalable/apps/lumcrest.svg \
    ./usr/share/icons/hicolor/256x256/apps/lumcrest.png; do
    grep -q " $f\$" <<<"$contents" || fail "the package lacks $f"
done
say "checking it with lintian"
lintian --fail-on error --suppress-tags-from-file "$src/packaging/lintian-explained" "$deb" \
    >"$work/lintian.txt" 2>&1 || fail "lintian: $(cat "$work/lintian.txt")"

# The machine is left as the test found it: the package goes in without its recommendations, and
# whatever it pulled in goes out with it.
installed() { dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' | awk '$1 == "ii" { print $2 }' | sort; }
installed >"$work/before.txt"
apt_quiet() { DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=300 "$@"; }
remove_what_came() {
    local added
    added=$(installed | comm -13 "$work/before.txt" -)
    [ -z "$added" ] || apt_quiet purge $added >>"$work/apt.log" 2>&1
}
say "installing it with apt-get"
apt_quiet install --no-install-recommends "$deb" >"$work/apt.log" 2>&1 ||
    fail "apt-get install: $(tail -5 "$work/apt.log")"
trap 'remove_what_came; end_the_run' EXIT
[ -x /usr/games/lumcrest ] || fail "/usr/games/lumcrest is not there"
file /usr/games/lumcrest | grep -q "stripped" && ! file /usr/games/lumcrest | grep -q "not stripped" ||
    fail "the installed binary is not stripped"
[ "$(/usr/games/lumcrest --version)" = "lumcrest $version" ] || fail "--version of the installed game"

say "starting the installed game"
# Started from /, as a player: the data comes from /usr/share/games/lumcrest.
export HOME="$work/home" XDG_CONFIG_HOME="$work/xdg" SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
mkdir -p "$HOME"
printf '#!/bin/sh\nexit 0\n' >"$work/xdg-open" && chmod +x "$work/xdg-open"
(cd / && PATH="$work:$PATH" exec /usr/games/lumcrest) >"$work/game.log" 2>&1 &
pid=$!
wid=$(timeout 20 xdotool search --sync --onlyvisible --pid "$pid" 2>/dev/null | head -1)
[ -n "$wid" ] || fail "no window appeared"
sleep 1
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" -eq 0 ] || fail "the game ended with status $status"
grep -q '^\[Gembox\]' "$XDG_CONFIG_HOME/lumcrest/lumcrest.ini" 2>/dev/null ||
    fail "the game did not save to $XDG_CONFIG_HOME/lumcrest/lumcrest.ini"

say "removing it"
apt_quiet remove lumcrest >"$work/apt.log" 2>&1 || fail "apt-get remove: $(tail -5 "$work/apt.log")"
remove_what_came
trap end_the_run EXIT
left=$(installed | comm -13 "$work/before.txt" -)
[ -z "$left" ] || fail "packages the install brought stay installed: $left"
[ ! -e /usr/games/lumcrest ] || fail "the binary is still there after removal"
[ ! -e /usr/share/games/lumcrest ] || fail "the data is still there after removal"
echo "package: passed"
