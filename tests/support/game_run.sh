# Shared by the bash scripts that run the real game (sourced, not run). The sourcing script sets
# run_name (the word in its failure messages) first, and $driver before composing frames.
# Gives:
#   $work          a fresh folder, removed at exit
#   $pid           the game's process, if any: killed at exit if it still runs
#   extra_pids     more processes (a compositor, a typist) killed at exit
#   extra_files    more files outside $work (an X server's socket and lock) removed at exit
#   run_logs       the logs in $work that a failure shows (game.log unless changed)
#   fail MESSAGE   says what failed, shows the logs, ends the script with status 1
#   composed CMDS PNG [HOME]   the frame the toolkit composes after the driver commands CMDS
#                  (one per line), from the settings folder HOME (by default a fresh one)
#   differing A B  the number of pixels that differ between two pictures
#   mark_settings FILE      notes which copy of the settings file FILE is there now
#   settings_rewritten FILE true when FILE was written again since mark_settings
#   recording_run  a home of the game's own in $work, the real window on X without sound, the
#                  web page opened at close dropped; sets $settings and $recording

work=$(mktemp -d)
pid=""
extra_pids=()
extra_files=()
run_logs=(game.log)

end_the_run() {
    local p
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -KILL "$pid"; fi
    for p in "${extra_pids[@]}"; do kill -KILL "$p" 2>/dev/null; done
    rm -f "${extra_files[@]}"
    rm -rf "$work"
}
trap end_the_run EXIT

fail() {
    local log
    echo "FAIL ($run_name): $*" >&2
    for log in "${run_logs[@]}"; do
        [ -s "$work/$log" ] || continue
        echo "--- $log" >&2
        grep -v '^ALSA lib' "$work/$log" | tail -40 >&2
    done
    exit 1
}

composed() {
    local home="${3:-$(mktemp -d -p "$work")}"
    printf 'start\n%s\nshot %s\n' "$1" "$2" |
        "$driver" --home "$home" --seed 1 >"$work/drive.log" 2>&1
    [ -s "$2" ] || fail "the driver composed no frame: $(cat "$work/drive.log")"
}

differing() {
    local n
    n=$(compare -metric AE "$1" "$2" null: 2>&1)
    [[ "$n" =~ ^[0-9]+$ ]] || fail "cannot compare $1 with $2: $n"
    echo "$n"
}

# Every write of the settings file puts a new file in place by a rename, so a write shows as
# a new inode; timestamps cannot show it, as a quick write can fall in the clock tick of the mark.
mark_settings() {
    settings_mark=$(stat -c %i "$1" 2>/dev/null || echo none)
}

settings_rewritten() {
    local now
    now=$(stat -c %i "$1" 2>/dev/null) || return 1
    [ "$now" != "$settings_mark" ]
}

recording_run() {
    export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"
    export SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
    mkdir -p "$HOME" "$work/bin" "$XDG_CONFIG_HOME/lumcrest"
    printf '#!/bin/sh\nexit 0\n' >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    export PATH="$work/bin:$PATH"
    settings="$XDG_CONFIG_HOME/lumcrest/lumcrest.ini"
    recording="$work/session.txt"
}
