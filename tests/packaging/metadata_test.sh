#!/bin/sh
# The desktop entry, the AppStream file, the man page and the icons as they are installed.
# Usage: metadata_test.sh SOURCE_DIR BUILD_DIR VERSION
set -u
src=$1 build=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL (metadata): $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/usr" >/dev/null || fail "cmake --install failed"
share="$work/usr/share"
desktop-file-validate "$share/applications/lumcrest.desktop" || fail "desktop-file-validate"
meta="$share/metainfo/io.github.lumcrest.Lumcrest.metainfo.xml"
appstreamcli validate --no-net --pedantic "$meta" >"$work/as.txt" 2>&1 ||
    fail "appstreamcli: $(cat "$work/as.txt")"
# Every version has its release entry; the controls and the launchable are declared.
grep -q "<release version=\"$version\"" "$meta" || fail "no release entry for $version"
for c in keyboard pointing gamepad; do grep -q "<control>$c</control>" "$meta" || fail "no $c control"; done
grep -q '<launchable type="desktop-id">lumcrest.desktop</launchable>' "$meta" || fail "launchable"
grep -q '<content_rating type="oars-1.1"' "$meta" || fail "content rating"

# The icons, each of its size, and the scalable one as SVG.
for s in 32 48 64 128 256; do
    png="$share/icons/hicolor/${s}x${s}/apps/lumcrest.png"
    [ -s "$png" ] || fail "no ${s}px icon"
    size=$(python3 -c "import struct,sys; d=open(sys.argv[1],'rb').read(24); print(*struct.unpack('>II', d[16:24]), sep='x') if d[:8]==b'\x89PNG\r\n\x1a\n' else print('not-png')" "$png")
    [ "$size" = "${s}x${s}" ] || fail "the ${s}px icon is $size"
done
svg="$share/icons/hicolor/scalable/apps/lumcrest.svg"
python3 -c "import sys, xml.etree.ElementTree as E; r=E.parse(sys.argv[1]).getroot(); sys.exit(0 if r.tag.endswith('svg') else 1)" "$svg" ||
    fail "the scalable icon is not an SVG"

# The man page: the sections a player looks for, free of troff warnings.
man="$work/usr/share/man/man6/lumcrest.6"
[ -s "$man" ] || fail "no man page"
grep -q "lumcrest $version" "$man" || fail "the man page does not carry the version"
for section in NAME SYNOPSIS DESCRIPTION KEYS OPTIONS FILES ENVIRONMENT; do
    grep -q "^\.SH $section" "$man" || fail "the man page has no $section"
done
for word in XDG_CONFIG_HOME SDL_VIDEODRIVER SDL_AUDIODRIVER '\-\-record' '\-\-seed' '\-\-help' '\-\-version'; do
    grep -qF -- "$word" "$man" || fail "the man page does not mention $word"
done
warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$man" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man page warnings: $warnings"
# And in every language the build translated it to, under that language's folder.
for page in "$build"/man/*/lumcrest.6; do
    lang=$(basename "$(dirname "$page")")
    [ -s "$share/man/$lang/man6/lumcrest.6" ] || fail "no $lang man page installed"
done
echo "metadata: passed"
