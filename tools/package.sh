#!/usr/bin/env bash
# Builds the Debian package of Sondrel from a build folder:
#   tools/package.sh [BUILD_DIR]
# BUILD_DIR defaults to build/ (tools/start.sh's); an existing build folder is
# reused as it is configured. Writes BUILD_DIR/sondrel_<version>_<arch>.deb and
# prints its path.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build_dir=$(realpath -m "${1:-$root/build}")
options=()
[ -f "$build_dir/CMakeCache.txt" ] || options=(-DSONDREL_BUILD_TESTS=OFF -DSONDREL_BUILD_BENCH=OFF)
"$root/tools/build.sh" "$build_dir" "${options[@]}" >&2

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
if ! head -n 1 "$root/packaging/changelog" | grep -qF "($version)"; then
    echo "package.sh: packaging/changelog does not start with version $version" >&2
    exit 1
fi
work=$build_dir/package
stage=$work/root
rm -rf "$work"
DESTDIR=$stage cmake --install "$build_dir" --prefix /usr --strip >/dev/null

# What Debian asks of every package: its copyright and changelog, compressed
# manual pages, shared objects that are not executable, and md5 sums.
doc=$stage/usr/share/doc/sondrel
install -D -m 644 "$root/packaging/copyright" "$doc/copyright"
gzip -9n <"$root/packaging/changelog" >"$doc/changelog.gz"
find "$stage/usr/share/man" -type f -name '*.[1-9]' -exec gzip -9n {} +
find "$stage/usr/share/man" -type l -name '*.[1-9]' | while read -r link; do
    ln -s "$(readlink "$link").gz" "$link.gz" && rm "$link"
done
find "$stage" -type d -exec chmod 755 {} +
find "$stage" -type f ! -path "$stage/usr/bin/*" -exec chmod 644 {} +

# The runtime libraries the executables and shared objects link, plus the Qt
# platform plugins the window loads.
mkdir -p "$work/debian" "$stage/DEBIAN"
printf 'Source: sondrel\n\nPackage: sondrel\nArchitecture: any\n' >"$work/debian/control"
objects=("$stage"/usr/bin/Sondrel "$stage"/usr/bin/sondrel-cli "$stage"/usr/lib/sondrel/*.so)
depends=$(cd "$work" && dpkg-shlibdeps -O "${objects[@]}" | sed -n "s/^shlibs:Depends=//p")
sed -e "s/@VERSION@/$version/" -e "s/@ARCHITECTURE@/$(dpkg --print-architecture)/" \
    -e "s/@INSTALLED_SIZE@/$(du -sk --exclude=DEBIAN "$stage" | cut -f1)/" \
    -e "s/@DEPENDS@/$depends, qt6-qpa-plugins/" "$root/packaging/control.in" >"$stage/DEBIAN/control"
(cd "$stage" && find usr -type f -exec md5sum {} + | sort -k 2 >DEBIAN/md5sums)
chmod 644 "$stage/DEBIAN/control" "$stage/DEBIAN/md5sums"

deb=$build_dir/sondrel_${version}_$(dpkg --print-architecture).deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"
