#!/usr/bin/env bash
# Builds the wasm libraries the page links: zlib, libmpg123 and Assimp (its
# OBJ importer only), from Debian's source packages, with emscripten. The
# result goes to a cache folder outside the build trees and is reused while
# its stamp is there:
#   ${MORROWDOCK_WEB_DEPS:-$HOME/.cache/morrowdock-web}/{include,lib}
set -euo pipefail
cache=${MORROWDOCK_WEB_DEPS:-$HOME/.cache/morrowdock-web}
stamp=$cache/done-1
if [ -f "$stamp" ]; then exit 0; fi
started=$(date +%s)
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
jobs=$(nproc)
prefix=$cache
src=$cache/src
mkdir -p "$src" "$prefix/include" "$prefix/lib"

# A private apt configuration with a source list, so the machine's own apt
# set-up is left as it is. zlib is pinned to the bookworm release: the
# security suite's source is not served.
apt=$cache/apt
mkdir -p "$apt/lists/partial" "$apt/archives/partial" "$apt/etc"
cat >"$apt/etc/sources.list" <<'LIST'
deb-src http://deb.debian.org/debian bookworm main
LIST
aptopts=(-o "Dir::Etc::SourceList=$apt/etc/sources.list" -o "Dir::Etc::SourceParts=/nonexistent"
         -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache::Archives=$apt/archives"
         -o "Dir::Cache=$apt" -o "APT::Sandbox::User=root" -o "Debug::NoLocking=1")
if [ ! -f "$apt/updated" ]; then
  apt-get "${aptopts[@]}" update -qq
  touch "$apt/updated"
fi

# Downloads a source package's files and unpacks its upstream tarball; a
# missing signature (.asc) makes apt give up after the tarball is in, so the
# tarball is checked against the .dsc here instead.
fetch() {  # package, folder to unpack into
  local pkg=$1 into=$2
  [ -d "$src/$into" ] && return 0
  (cd "$src" && apt-get "${aptopts[@]}" source --download-only -qq "$pkg" >/dev/null 2>&1) || true
  local dsc
  dsc=$(ls "$src"/"${pkg%%=*}"_*.dsc | head -1)
  local tarball
  tarball=$(ls "$src"/"${pkg%%=*}"_*.orig.tar.* | grep -v '\.asc$' | head -1)
  local want
  want=$(awk '/^Checksums-Sha256:/{f=1;next} /^[^ ]/{f=0} f{print $1, $3}' "$dsc" |
         awk -v n="$(basename "$tarball")" '$2==n{print $1}')
  echo "$want  $tarball" | sha256sum -c --quiet -
  # Unpacked with Debian's patches (Assimp's use the system's stb and utf8cpp).
  dpkg-source --no-check -x "$dsc" "$src/$into" >/dev/null
}

fetch zlib=1:1.2.13.dfsg-1 zlib
fetch mpg123 mpg123
fetch assimp assimp
# Debian's Assimp links its own draco build; the page needs no glTF.
if [ ! -f "$src/assimp/.no-draco" ]; then
  (cd "$src/assimp" && patch -R -p1 -s <debian/patches/use-system-libdraco.patch && touch .no-draco)
fi

# Each library has a stamp of its own, so a failed run goes on where it stopped.
echo "== zlib"
if [ ! -f "$cache/zlib.done" ]; then
# Debian's repack has no Windows resource file, which zlib's CMake list
# names: the library is its top-level C files, compiled directly.
( cd "$src/zlib" && rm -rf out && mkdir out && cp zconf.h.in zconf.h &&
  for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
           inftrees trees uncompr zutil; do
    emcc -O2 -DZ_HAVE_UNISTD_H -c "$f.c" -o "out/$f.o" || exit 1
  done &&
  emcc -O2 -DZ_HAVE_UNISTD_H -I. -c contrib/minizip/unzip.c -o out/unzip.o &&
  emcc -O2 -DZ_HAVE_UNISTD_H -I. -c contrib/minizip/ioapi.c -o out/ioapi.o &&
  emar rcs "$prefix/lib/libz.a" out/*.o && cp zlib.h zconf.h "$prefix/include/" &&
  mkdir -p "$prefix/include/minizip" &&
  cp contrib/minizip/unzip.h contrib/minizip/ioapi.h "$prefix/include/minizip/" )
touch "$cache/zlib.done"
fi

echo "== mpg123"
if [ ! -f "$cache/mpg123.done" ]; then
( cd "$src/mpg123" &&
  emconfigure ./configure --host=wasm32-unknown-linux --prefix="$prefix" \
    --disable-shared --enable-static --with-cpu=generic_fpu --disable-modules \
    --with-default-audio=dummy --with-audio=dummy --disable-components \
    --enable-libmpg123 >/dev/null &&
  emmake make -j"$jobs" >/dev/null && emmake make install >/dev/null )
touch "$cache/mpg123.done"
fi

echo "== assimp (OBJ importer)"
( cd "$src/assimp" && rm -rf out && mkdir out && cd out &&
  emcmake cmake .. -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DBUILD_SHARED_LIBS=OFF -DASSIMP_BUILD_TESTS=OFF -DASSIMP_BUILD_ASSIMP_TOOLS=OFF \
    -DASSIMP_BUILD_ALL_IMPORTERS_BY_DEFAULT=OFF -DASSIMP_BUILD_OBJ_IMPORTER=ON \
    -DASSIMP_BUILD_ALL_EXPORTERS_BY_DEFAULT=OFF -DASSIMP_NO_EXPORT=ON \
    -DASSIMP_BUILD_ZLIB=OFF -DZLIB_LIBRARY="$prefix/lib/libz.a" \
    -DZLIB_INCLUDE_DIR="$prefix/include" -DASSIMP_WARNINGS_AS_ERRORS=OFF \
    -DASSIMP_INSTALL_PDB=OFF -DASSIMP_BUILD_DRACO=OFF -DASSIMP_HUNTER_ENABLED=OFF \
    -DCMAKE_CXX_FLAGS="-I/usr/include/utf8cpp -I/usr/include/stb -I$prefix/include" >/dev/null &&
  emmake make -j"$jobs" assimp >/dev/null && emmake make install >/dev/null )

touch "$stamp"
echo "wasm libraries built in $(( $(date +%s) - started )) s into $cache"
