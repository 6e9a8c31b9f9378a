#!/bin/sh
# Builds the Debian package build/lumcrest_VERSION-REVISION_ARCH.deb: the game in /usr/games, its data in
# /usr/share/games/lumcrest, the desktop entry, AppStream metadata, icons and man pages, with
# Depends worked out from the binary's libraries. Checks it with lintian.
# Installs the Debian packages it needs first (as root or through sudo).
set -eu
cd "$(dirname "$0")/.."
root="$(pwd)"

scripts/install-deps.sh
need=""
for p in dpkg-dev lintian desktop-file-utils appstream file; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || need="$need $p"
done
if [ -n "$need" ]; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq -o DPkg::Lock::Timeout=300 --no-install-recommends $need
fi

# A tree of its own, without the tests, laid out as a distribution's games are, and built with
# Debian's hardening flags.
tree=build/package
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMCREST_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_C_FLAGS="$cflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
    -DCMAKE_INSTALL_PREFIX=/usr -DCMAKE_INSTALL_BINDIR=games \
    -DLUMCREST_INSTALL_DATADIR=share/games/lumcrest >/dev/null
cmake --build "$tree" --target lumcrest -j"${LUMCREST_JOBS:-2}"

version=$(sed -n 's/^project(lumcrest VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || { echo "package: no version in CMakeLists.txt" >&2; exit 1; }
# The Debian revision: the package's own changes between two versions of the game.
revision=1
debversion="$version-$revision"
arch=$(dpkg --print-architecture)
stage="$tree/stage"
rm -rf "$stage"
DESTDIR="$root/$stage" cmake --install "$tree" >/dev/null

# Stripped, as Debian ships binaries; the man pages (English and every translation) compressed.
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$stage/usr/games/lumcrest"
find "$stage/usr/share/man" -type f -name lumcrest.6 -exec gzip -9n {} +
[ -f "$stage/usr/share/man/man6/lumcrest.6.gz" ] || { echo "package: no man page" >&2; exit 1; }

# Documentation: the copyright file and the Debian changelog.
doc="$stage/usr/share/doc/lumcrest"
mkdir -p "$doc"
install -m 644 packaging/copyright "$doc/copyright"
sed "s/@VERSION@/$debversion/g" packaging/changelog.Debian >"$tree/changelog.Debian"
gzip -9nc "$tree/changelog.Debian" >"$doc/changelog.Debian.gz"

# Every file 644, every folder 755, the binary 755.
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f -exec chmod 644 {} +
chmod 755 "$stage/usr/games/lumcrest"

# The control file: Depends from the libraries the binary links.
mkdir -p "$stage/DEBIAN" "$tree/debian"
sed -e "s/@VERSION@/$debversion/" -e "s/@ARCH@/$arch/" packaging/control.in >"$tree/debian/control"
depends=$(cd "$tree" && dpkg-shlibdeps -O -e"stage/usr/games/lumcrest" 2>/dev/null |
    sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "package: dpkg-shlibdeps found no dependencies" >&2; exit 1; }
size=$(du -k -s --apparent-size "$stage/usr" | cut -f1)
{
    sed -e "s/@VERSION@/$debversion/" -e "s/@ARCH@/$arch/" -e '/^Description:/,$d' packaging/control.in
    echo "Installed-Size: $size"
    # Beside the libraries: the fonts the game looks up through fontconfig (TeX Gyre Schola,
    # else DejaVu Serif), which no library dependency brings.
    echo "Depends: $depends, fonts-texgyre | fonts-dejavu-core"
    sed -n '/^Description:/,$p' packaging/control.in
} | grep -v '^Source:' >"$stage/DEBIAN/control"
(cd "$stage" && find usr -type f -exec md5sum {} + | sort -k2) >"$stage/DEBIAN/md5sums"
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

rm -f build/lumcrest_*.deb
deb="build/lumcrest_${debversion}_${arch}.deb"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "package: $deb"

# No lintian error; the warnings that stay are explained in packaging/README.md (and listed in
# packaging/lintian-explained).
lintian --fail-on error --suppress-tags-from-file packaging/lintian-explained "$deb"
