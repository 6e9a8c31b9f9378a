#!/bin/sh
# Installs the Debian packages that building, running and testing the game need. Runs as root or
# through sudo; does nothing when everything is already there. xfonts-base gives the X server
# under test the core fonts that the system message box (shown when no font of ours exists) needs.
# Noto Color Emoji and WenQuanYi Micro Hei draw players' names in emoji and CJK (the tests look
# for them); FriBidi orders right-to-left names. fonttools cuts those faces down into the parts the
# browser build downloads when a name needs them. git lists the sources for the style tests (a
# checkout made elsewhere, or a release tarball, may come without it; they then walk the folder).
# The web build (scripts/build-web.sh) needs Emscripten with the parser its optimiser uses
# (node-acorn), npm for the browser tests' driver, Chromium for those tests, and Debian's source
# packages of the libraries it compiles for the browser: a deb-src entry is added for them.
set -eu

PACKAGES="build-essential cmake ninja-build pkg-config
libsdl2-dev libsdl2-mixer-dev libfreetype-dev libharfbuzz-dev libfribidi-dev libjpeg62-turbo-dev libpng-dev
libcairo2-dev libfontconfig-dev libfluidsynth-dev fluid-soundfont-gm libmp3lame-dev
fonts-texgyre fonts-dejavu-core fonts-dejavu-extra fonts-noto-color-emoji fonts-wqy-microhei fonttools
libgtest-dev libgmock-dev libbenchmark-dev
xvfb xauth xdotool strace imagemagick x11-utils xfonts-base mpg123 sox ffmpeg clang libclang-rt-14-dev clang-format universal-ctags python3
sway grim wtype gettext time git
dpkg-dev lintian desktop-file-utils appstream file man-db po4a
emscripten node-acorn chromium"

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

sources=/etc/apt/sources.list.d/lumcrest-sources.sources
update=""
if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: bookworm" \
        "Components: main" "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" |
        $SUDO tee "$sources" >/dev/null
    update=1
fi

missing=""
for p in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
# Node from elsewhere than Debian may bring its own npm.
command -v npm >/dev/null || missing="$missing npm"
if [ -z "$missing" ]; then
    [ -z "$update" ] || $SUDO apt-get update -qq
    exit 0
fi

echo "Installing:$missing"
$SUDO apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
