#!/bin/sh
# Builds the C libraries the toolkit draws and decodes with (zlib, libpng, libjpeg-turbo,
# FreeType, HarfBuzz) for the browser, from Debian's source packages (with Debian's patches, so
# the glyphs come out as the desktop's libraries draw them).
#
# The libraries are built once per machine: into a cache outside the checkout,
# ${LUMCREST_WEB_DEPS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/lumcrest/web-deps}/KEY, where KEY
# sums the source packages' versions, Emscripten's version and this script, so a fresh clone
# finds them built and a new version of any of them builds them again. build-web/deps/prefix
# points at the cached prefix (or is the build itself where no cache folder can be made).
set -eu
cd "$(dirname "$0")/../.."
say() { echo "build-deps: $*"; }

packages="zlib libpng1.6 libjpeg-turbo freetype harfbuzz"
# The .dsc names give each source package's version, as apt-get source would fetch it.
versions="$(for p in $packages; do
    apt-get source --print-uris -qq "$p" 2>/dev/null | grep -o "[^ /']*\.dsc" | head -n 1
done)"
key="$( (echo "$versions"; emcc --version 2>/dev/null | head -n 1; cat "$0") | sha256sum | cut -c1-16)"
cache="${LUMCREST_WEB_DEPS_CACHE:-${XDG_CACHE_HOME:-${HOME:-/nonexistent}/.cache}/lumcrest/web-deps}"
link="$PWD/build-web/deps/prefix"
mkdir -p "$PWD/build-web/deps"

if [ -f "$cache/$key/prefix/.complete" ]; then
    [ "$(readlink "$link" 2>/dev/null)" = "$cache/$key/prefix" ] || { rm -rf "$link"; ln -s "$cache/$key/prefix" "$link"; }
    say "the libraries are built already ($cache/$key)"
    exit 0
fi
if mkdir -p "$cache" 2>/dev/null && [ -w "$cache" ]; then
    # Built beside the cache's entry and moved into place whole, so a build stopped halfway is
    # never taken for a finished one.
    deps="$cache/$key.part-$$"
    trap 'rm -rf "$deps"' EXIT
else
    say "no cache folder at $cache: building into build-web/deps"
    deps="$PWD/build-web/deps/local"
    cache=""
fi
prefix="$deps/prefix"
mkdir -p "$deps/src" "$prefix/include" "$prefix/lib"
jobs="$(nproc)"
CFLAGS="-O2"
export CFLAGS
say "building $(echo $packages | tr ' ' ',') for the browser (a few minutes; once per machine)"

# The unpacked source folder of Debian source package PKG, fetched (with apt-get source, which
# applies Debian's patches) when it is not there yet.
source_of() {
    dir="$(find "$deps/src" -maxdepth 1 -type d -name "$2-*" | head -n 1)"
    if [ -z "$dir" ]; then
        say "fetching the source package $1" >&2
        (cd "$deps/src" && apt-get source -qq "$1" >/dev/null 2>&1) ||
            { echo "build-deps: cannot fetch the source package $1 (is there a deb-src entry?)" >&2; exit 1; }
        dir="$(find "$deps/src" -maxdepth 1 -type d -name "$2-*" | head -n 1)"
    fi
    echo "$dir"
}

# Whether library NAME from SRC was built already (in this build's folder); says it is built next.
built() {
    if [ -f "$deps/$1.stamp" ] && [ "$(cat "$deps/$1.stamp")" = "$(basename "$2")" ]; then return 0; fi
    say "$(date +%H:%M:%S) building $1 from $(basename "$2")"
    return 1
}
mark() { basename "$2" >"$deps/$1.stamp"; }

# zlib: a handful of C files, compiled straight into an archive.
src="$(source_of zlib zlib)"
if ! built zlib "$src"; then
    out="$deps/obj/zlib"; rm -rf "$out"; mkdir -p "$out"
    for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
        inftrees trees uncompr zutil; do
        emcc $CFLAGS -DHAVE_UNISTD_H -c "$src/$f.c" -o "$out/$f.o"
    done
    rm -f "$prefix/lib/libz.a"; emar rcs "$prefix/lib/libz.a" "$out"/*.o
    cp "$src/zlib.h" "$src/zconf.h" "$prefix/include/"
    mark zlib "$src"
fi

# libpng: its sources with the configuration it ships prebuilt (no processor-specific code).
src="$(source_of libpng1.6 libpng1.6)"
if ! built png "$src"; then
    out="$deps/obj/png"; rm -rf "$out"; mkdir -p "$out"
    cp "$src/scripts/pnglibconf.h.prebuilt" "$out/pnglibconf.h"
    for f in png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans \
        pngwio pngwrite pngwtran pngwutil; do
        emcc $CFLAGS -DPNG_ARM_NEON_OPT=0 -I"$out" -I"$prefix/include" -c "$src/$f.c" -o "$out/$f.o"
    done
    rm -f "$prefix/lib/libpng.a"; emar rcs "$prefix/lib/libpng.a" "$out"/*.o
    cp "$src/png.h" "$src/pngconf.h" "$out/pnglibconf.h" "$prefix/include/"
    mark png "$src"
fi

# libjpeg-turbo: its own CMake build, without the SIMD code (written for other processors); its
# size checks misread WebAssembly's 32-bit words under Emscripten, so they are given.
src="$(source_of libjpeg-turbo libjpeg-turbo)"
if ! built jpeg "$src"; then
    out="$deps/obj/jpeg"; rm -rf "$out"
    emcmake cmake -S "$src" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release -DWITH_SIMD=0 \
        -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_TURBOJPEG=0 -DWITH_JAVA=0 \
        -DSIZE_T=4 -DUNSIGNED_LONG=4 \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib >/dev/null
    cmake --build "$out" -j"$jobs" --target jpeg-static >/dev/null
    cp "$out/libjpeg.a" "$prefix/lib/"
    cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$out/jconfig.h" "$prefix/include/"
    mark jpeg "$src"
fi

# FreeType: Debian's options (its patched ftoption.h: the same hinting as the desktop's), with the
# zlib above as Debian builds it (its own copy would clash with it) and the libpng above (the
# colour emoji face keeps its glyphs as PNG pictures), and none of the other optional libraries,
# which only matter for fonts the game does not use.
src="$(source_of freetype freetype)"
if ! built freetype "$src"; then
    out="$deps/obj/freetype"; rm -rf "$out"
    emcmake cmake -S "$src" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DFT_REQUIRE_ZLIB=ON -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
        -DFT_REQUIRE_PNG=ON -DPNG_LIBRARY="$prefix/lib/libpng.a" -DPNG_PNG_INCLUDE_DIR="$prefix/include" \
        -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_HARFBUZZ=ON \
        -DFT_DISABLE_BROTLI=ON -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR=lib >/dev/null
    cmake --build "$out" -j"$jobs" >/dev/null
    cmake --install "$out" >/dev/null
    mark freetype "$src"
fi

# HarfBuzz: its one-file build with FreeType's functions.
src="$(source_of harfbuzz harfbuzz)"
if ! built harfbuzz "$src"; then
    out="$deps/obj/harfbuzz"; rm -rf "$out"; mkdir -p "$out"
    em++ -O2 -std=c++11 -fno-exceptions -fno-rtti -DHAVE_FREETYPE=1 -DHB_NO_MT \
        -I"$prefix/include/freetype2" -c "$src/src/harfbuzz.cc" -o "$out/harfbuzz.o"
    rm -f "$prefix/lib/libharfbuzz.a"; emar rcs "$prefix/lib/libharfbuzz.a" "$out/harfbuzz.o"
    mkdir -p "$prefix/include/harfbuzz"
    cp "$src"/src/hb.h "$src"/src/hb-*.h "$prefix/include/harfbuzz/"
    mark harfbuzz "$src"
fi

touch "$prefix/.complete"
if [ -n "$cache" ]; then
    rm -rf "${deps:?}/src" "${deps:?}/obj"
    rm -rf "${cache:?}/$key"
    mv "$deps" "$cache/$key"
    trap - EXIT
    rm -rf "$link"
    ln -s "$cache/$key/prefix" "$link"
else
    rm -rf "$link"
    ln -s "$prefix" "$link"
fi
say "$(date +%H:%M:%S) the libraries are built"
