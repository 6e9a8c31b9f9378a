#!/bin/bash
# Lumcrest side by side with two packaged puzzle games, Gweled and Frozen Bubble, under one Xvfb:
# three interleaved rounds (Lumcrest, Gweled, Frozen Bubble, then again), medians, and each
# figure's ratio of Lumcrest to the best of the three. Not part of CI; installs the two games
# from Debian when they are missing (needs root or sudo).
#
# Usage: scripts/measure-peers.sh [--rounds N] [--game build/lumcrest] [--display :95]
#
# Figures, each from a fresh start with a home folder of its own:
#   mapped    launch to the game's window on screen (the X server's map notice, for the
#             game's _NET_WM_PID)
#   drawn     launch to the start screen drawn: the first capture of the window (XGetImage) that is
#             not a single colour, taken at each drawing the X server reports (DAMAGE); Lumcrest's
#             own tick log gives the same mark exactly
#   idle      CPU over 20 s at the start screen, after 5 s, with the games' default sound
#   quiet     the same with music and sound off (Lumcrest only: the peers keep their defaults)
#   play      CPU over 10 s with one key (Left, Right in turn) every 300 ms
#   peak      largest VmHWM of the process in any of its runs
set -euo pipefail
cd "$(dirname "$0")/.."

missing=()
command -v /usr/games/gweled >/dev/null || missing+=(gweled)
command -v /usr/games/frozen-bubble >/dev/null || missing+=(frozen-bubble)
# The measurement watches the screen through the X server's DAMAGE extension.
ldconfig -p | grep -q libXdamage.so.1 || missing+=(libxdamage1)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" = 0 ] || sudo=sudo
    $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "measure-peers: $tool is needed" >&2; exit 1; }
done

exec python3 scripts/measure_peers.py "$@"
