#!/bin/sh
# Builds the game for the browser with Emscripten into build-web/site/ (index.html, the script,
# the WebAssembly module and the game's data in one download), and the script driver for Node as
# build-web/lumcrest-drive. The pictures, sounds and catalogues come from the desktop build's
# asset forge (build/); the C libraries from Debian's source packages (scripts/web/build-deps.sh).
set -eu
cd "$(dirname "$0")/.."
root="$PWD"
# Debian's Emscripten finds its JavaScript optimiser's parser among Debian's Node modules.
export NODE_PATH="${NODE_PATH:-/usr/share/nodejs}"
scripts/install-deps.sh
# What it is doing, as it goes (the first run on a machine takes many minutes).
say() { echo "build-web: $(date +%H:%M:%S) $*"; }

# The desktop build's data: only the forge and the catalogues are needed here.
# A build folder already configured is left as it is (the web tests run this from the suite).
say "the desktop build's pictures, sounds and catalogues"
[ -f build/build.ninja ] ||
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMCREST_WERROR=ON >/dev/null
cmake --build build --target lumcrest_assets lumcrest_locale >/dev/null

say "the C libraries for the browser"
scripts/web/build-deps.sh

# The font files of the game's two families, as Debian installs them (the desktop finds the same
# files through fontconfig), and the faces that stand in for the letters they lack, cut down
# from Debian's (the page downloads each part only when a text needs it; the driver for Node
# reads them all here).
fonts="build-web/fonts"
say "the fonts"
/usr/bin/python3 scripts/web/fallback-fonts.py "$fonts"
# The music for the download: the forge's two tracks encoded again at 64 kbit/s (3.1 MiB less to
# download; the desktop keeps its own). Same length, so the game's timing of each track's end holds.
mkdir -p build-web/music
for track in music menumusic; do
    if [ ! -f "build-web/music/$track.mp3" ] || [ "build/data/$track.mp3" -nt "build-web/music/$track.mp3" ]; then
        ffmpeg -v error -y -i "build/data/$track.mp3" -codec:a libmp3lame -b:a 64k "build-web/music/$track.mp3"
    fi
done

say "the game and the driver for Node, with Emscripten"
emcmake cmake -S web -B build-web/game -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DLUMCREST_NATIVE_BUILD="$root/build" -DLUMCREST_DEPS="$root/build-web/deps/prefix" \
    -DLUMCREST_FONT_DIR="$root/$fonts" >/dev/null 2>&1
cmake --build build-web/game -j"$(nproc)"

say "the site's files and data packs"
site="build-web/site"
mkdir -p "$site/data"
cp web/site/index.html build-web/game/lumcrest.js build-web/game/lumcrest.wasm "$site/"
scripts/web/pack.py build/data build/locale "$fonts" "$site" build-web/music
cp build/forge/icons/lumcrest-64.png "$site/icon.png"
# The game's web page, in every language, opens from the game in a new tab.
(cd build/data && find . -name lumcrest.html | while read -r page; do
    mkdir -p "$root/$site/data/$(dirname "$page")"
    cp "$page" "$root/$site/data/$page"
done)

# The driver for Node, as the desktop's driver is run.
cat >build-web/lumcrest-drive <<EOT
#!/bin/sh
# lumcrest-drive compiled for the web, run by Node (Node 20's fetch would take the module's own
# loading for a browser's).
exec node --no-experimental-fetch "$root/build-web/game/lumcrest-drive.js" "\$@"
EOT
chmod +x build-web/lumcrest-drive
echo "build-web/site is ready: scripts/serve-web.sh serves it"
