#!/bin/sh
# Installs the game into a temporary prefix and starts the installed binary from another working
# directory: it must find its data there, show its window and save the game when told to stop.
set -eu
build="$1"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "install: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/prefix" >/dev/null || fail "cmake --install failed"
for f in bin/lumcrest share/lumcrest/help.jpg share/lumcrest/music.mp3 share/lumcrest/lumcrest.html \
    share/applications/lumcrest.desktop share/metainfo/io.github.lumcrest.Lumcrest.metainfo.xml \
    share/icons/hicolor/64x64/apps/lumcrest.png; do
    [ -e "$work/prefix/$f" ] || fail "$f was not installed"
done
grep -q '^Exec=lumcrest$' "$work/prefix/share/applications/lumcrest.desktop" || fail "desktop entry"

mkdir -p "$work/home"
cd /
HOME="$work/home" XDG_CONFIG_HOME="$work/home" SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    "$work/prefix/bin/lumcrest" >"$work/game.log" 2>&1 &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$work/game.log" >&2; fail "the installed game did not keep running"; }
kill -TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || { cat "$work/game.log" >&2; fail "the installed game ended with status $status"; }
[ -s "$work/home/lumcrest/lumcrest.ini" ] || fail "the installed game saved nothing"
echo "install: passed"
