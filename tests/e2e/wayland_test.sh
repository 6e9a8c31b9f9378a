#!/bin/bash
# The real game on a Wayland compositor (sway, headless), with SDL's own Wayland driver: it shows
# what the toolkit composes, takes typed keys, plays a launch, fills the screen on F11 with the
# frame centred, and saves when it is told to end or its compositor goes away.
# Usage: wayland_test.sh GAME DRIVER
# sway refuses to run as root: as root, the compositor and the game run as user nobody.
set -u
game=$1 driver=$2
# Under the sanitizers: SDL's Wayland driver and libwayland keep allocations at exit in modules
# the leak checker cannot name, so leaks are not judged here (address and undefined-behaviour
# faults still are); the X11 runs judge the game's own leaks.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0"

run_name=wayland
# shellcheck source=../support/game_run.sh
source "$(dirname "$0")/../support/game_run.sh"
chmod 755 "$work"
run_logs=(game.log sway.log)
# As root the game runs as nobody, who may not reach the build (a checkout in root's home, mode
# 0700 on Debian): it runs from a copy in the work folder, with its data and catalogues beside it.
if [ "$(id -u)" -eq 0 ]; then
    mkdir -p "$work/game"
    cp "$game" "$work/game/lumcrest"
    cp -r "$(dirname "$game")/data" "$(dirname "$game")/locale" "$work/game/"
    game="$work/game/lumcrest"
    . "$(dirname "$0")/../support/lsan_beside.sh"
    lsan_beside "$work/game"
fi

home="$work/home" run="$work/run"
mkdir -p "$home/.config/lumcrest" "$run" "$work/drive"
chmod 700 "$run"
settings="$home/.config/lumcrest/lumcrest.ini"
# A floating window without borders, as a stacking desktop shows a fixed-size window.
printf 'output HEADLESS-1 resolution 1280x1024\ndefault_border none\ndefault_floating_border none\nfor_window [app_id="lumcrest"] floating enable\n' >"$home/sway.conf"
if [ "$(id -u)" -eq 0 ]; then
    chown -R 65534:65534 "$home" "$run"
    as_player=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
    as_player=()
fi
# Everything the player runs sees only its own session. The command replaces the shell that
# runs it, so a background one's process is the program itself.
session() {
    local sock
    sock=$(ls "$run"/sway-ipc.*.sock 2>/dev/null | head -1)
    exec "${as_player[@]}" env -i PATH=/usr/bin:/bin HOME="$home" XDG_RUNTIME_DIR="$run" \
        XDG_CONFIG_HOME="$home/.config" WAYLAND_DISPLAY=wayland-1 SDL_VIDEODRIVER=wayland \
        SDL_AUDIODRIVER=dummy ${sock:+SWAYSOCK="$sock"} \
        ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} \
        ${LSAN_OPTIONS:+LSAN_OPTIONS="$LSAN_OPTIONS"} "$@"
}

(session env WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$home/sway.conf" >"$work/sway.log" 2>&1) &
sway_pid=$!
extra_pids+=($sway_pid)
for i in $(seq 100); do [ -S "$run/wayland-1" ] && break; sleep 0.1; done
[ -S "$run/wayland-1" ] || fail "sway did not start"

# Keys are typed by one wtype run that starts before the game: SDL 2.26 does not survive a
# keyboard that appears on the seat while it runs. $1..: wtype's arguments.
type_later() {
    (session wtype "$@") &
    extra_pids+=($!)
    sleep 0.3
}

start_game() {
    (session "$game" >"$work/game.log" 2>&1) &
    game_pid=$!
    extra_pids+=($game_pid)
}

# Sets win_x win_y win_w win_h to the game window's place on the output, once it is mapped.
find_window() {
    local i
    for i in $(seq 100); do
        read -r win_x win_y win_w win_h < <( (session swaymsg -t get_tree 2>/dev/null | python3 -c '
import json, sys
def walk(n):
    if n.get("app_id") == "lumcrest" and n.get("visible", True):
        r = n["rect"]
        print(r["x"], r["y"], r["width"], r["height"])
        sys.exit(0)
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))') ) && [ -n "${win_h:-}" ] && return
        sleep 0.1
    done
    fail "no game window appeared"
}

shot() { (session grim "$run/shot.png") && cp "$run/shot.png" "$1" || fail "grim failed"; }

# Waits up to $4 s until the output shows picture $1 at $2 (WxH+X+Y) but for at most $3 pixels
# (each within $5 of it when given, else exactly).
expect_showing() {
    local i n=?
    for i in $(seq $(($4 * 5))); do
        shot "$work/screen.png"
        convert "$work/screen.png" -crop "$2" +repage "$work/part.png"
        if [ -n "${5:-}" ]; then
            # A smoothly scaled frame: each pixel within $5 of ImageMagick's own scaling.
            n=$(compare -metric AE -fuzz "$5" "$work/part.png" "$1" null: 2>&1)
        else
            n=$(differing "$work/part.png" "$1")
        fi
        [ "$n" -le "$3" ] && { echo "the output shows $(basename "$1") ($n pixels differ)"; return; }
        sleep 0.2
    done
    cp "$work/screen.png" /tmp/lumcrest-wayland-screen.png
    fail "$(basename "$1") is not on the output: $n pixels differ (screen kept in /tmp)"
}

expect_exit() {
    local i
    for i in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$game_pid" 2>/dev/null && fail "the game did not end"
    wait "$game_pid"
    local rc=$?
    [ "$rc" -eq 0 ] || fail "the game ended with status $rc"
}

# 0. A start that fails (no data folder) shows the error box, which a typed Enter closes.
mkdir -p "$work/bare"
cp "$game" "$work/bare/lumcrest"
chmod 755 "$work/bare" "$work/bare/lumcrest"
type_later -s 5000 -k Return
(cd "$work/bare" && session "$work/bare/lumcrest" >"$work/game.log" 2>&1) &
game_pid=$!
extra_pids+=($game_pid)
# The empty window put up at once goes, and the box comes.
for i in $(seq 50); do
    find_window
    [ "$win_w" = 380 ] && break
    sleep 0.1
done
[ "$win_w" = 380 ] || fail "no error box: a window of ${win_w}x${win_h}"
# The box maps before its first frame is drawn: give that a few seconds.
for i in $(seq 50); do
    shot "$work/error.png"
    colours=$(convert "$work/error.png" -crop "${win_w}x${win_h}+$win_x+$win_y" -format '%k' info:)
    [ "$colours" -gt 2 ] && break
    sleep 0.1
done
[ "$colours" -gt 2 ] || fail "the error box shows nothing"
for i in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "Enter did not close the error box"
wait "$game_pid"
[ $? -eq 1 ] || fail "a failed start did not end with status 1"
grep -q 'help.jpg' "$work/game.log" || fail "the message does not name the missing file"

# 1. The first start: the menu with the name panel; a typed Enter confirms the name.
type_later -s 9000 -k Return
start_game
find_window
[ "$win_w" = 849 ] && [ "$win_h" = 588 ] || fail "the window is ${win_w}x${win_h}, not 849x588"
composed "" "$work/first.png" "$(mktemp -d -p "$work")"
expect_showing "$work/first.png" "849x588+$win_x+$win_y" 2000 8
composed "key 13" "$work/named.png" "$(mktemp -d -p "$work")"
expect_showing "$work/named.png" "849x588+$win_x+$win_y" 2000 10
# Told to end, it saves.
kill -TERM "$game_pid"
expect_exit
grep -q '^Name=Player' "$settings" || fail "the name was not saved"
grep -q '^Gem100=' "$settings" || fail "the game was not saved"
cp "$settings" "$work/drive/lumcrest.ini"

# 2. The next start shows the saved game; Up launches the bar, F11 fills the screen.
type_later -s 5000 -k Up -s 2500 -k F11
start_game
find_window
sleep 6.5
composed $'key 38\nwait 2000' "$work/landed.png" "$work/drive"
for i in $(seq 50); do
    find_window
    [ "$win_w" = 1280 ] && break
    sleep 0.1
done
[ "$win_w" = 1280 ] && [ "$win_h" = 1024 ] || fail "F11 left the window at ${win_w}x${win_h}"
# Scale 1 would fill only 57 % of the screen's height: the frame is scaled smoothly to the
# screen's width (1280 x 887, in the middle, on black). The well shows what the driver shows
# (the next bar is drawn from another seed; the sparkle may be on a few cells).
convert "$work/landed.png" -filter Triangle -resize '1280x887!' -crop 720x720+165+62 +repage \
    "$work/well.png"
expect_showing "$work/well.png" "720x720+165+$((68 + 62))" 7000 5 2%
shot "$work/full.png"
for p in 5,5 1270,1000 640,60 640,960; do
    c=$(convert "$work/full.png" -format "%[hex:p{$p}]" info:)
    [ "${c:0:6}" = "000000" ] || fail "the border at $p is not black ($c)"
done
kill -TERM "$game_pid"
expect_exit
grep -q '^Fullscreen=1' "$settings" || fail "fullscreen was not remembered"
# The launch landed where the driver lands it: the saved boards agree.
printf 'start\nkey 38\nwait 2000\nclose\n' | "$driver" --home "$work/drive" --seed 1 >/dev/null
diff <(sed -n '/^\[Gembox\]/,/^\[/p' "$settings") \
    <(sed -n '/^\[Gembox\]/,/^\[/p' "$work/drive/lumcrest.ini") >/dev/null ||
    fail "the saved board differs from the driver's after the same launch"
# 3. The next start is fullscreen at once; Alt+Enter gives the window back.
type_later -s 5000 -P Alt_L -k Return -p Alt_L
start_game
for i in $(seq 40); do
    find_window
    [ "$win_w" = 1280 ] && break
    sleep 0.1
done
[ "$win_w" = 1280 ] && [ "$win_h" = 1024 ] || fail "the start is not fullscreen (${win_w}x${win_h})"
for i in $(seq 80); do
    find_window
    [ "$win_w" = 849 ] && break
    sleep 0.1
done
[ "$win_w" = 849 ] && [ "$win_h" = 588 ] || fail "Alt+Enter left the window at ${win_w}x${win_h}"
kill -TERM "$game_pid"
expect_exit
grep -q '^Fullscreen=0' "$settings" || fail "leaving fullscreen was not remembered"

# 4. The compositor goes away under the game: it saves, says so and ends with status 1.
start_game
find_window
mark_settings "$settings"
sleep 0.5
{ kill -KILL "$sway_pid" && wait "$sway_pid"; } 2>/dev/null
for i in $(seq 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$game_pid" 2>/dev/null && fail "the game runs on without its compositor"
wait "$game_pid"
rc=$?
[ "$rc" -eq 1 ] || fail "the game ended with status $rc when its compositor went away"
grep -q '^lumcrest: the display went away; the game was saved$' "$work/game.log" ||
    fail "the game did not say that the display went away and the game was saved"
settings_rewritten "$settings" || fail "the game did not save"
grep -q '^Gem100=' "$settings" || fail "no saved game in the file"
echo "PASS (wayland)"
