#!/usr/bin/env bash
# Builds the libraries the Windows programs link statically from Debian's
# own source packages, with the mingw-w64 toolchain, into one prefix
# (build-win64-libs/prefix, or $WIN_LIBS_DIR/prefix). Each package is
# built once: a stamp records the recipe it was built with (package,
# suite, options, compiler, toolchain file), and a rebuild is skipped while
# the recipe is unchanged. Delete the folder to take newer sources.
#
# The sources come through apt-get source with deb-src lines of its own
# (in the folder, not in /etc/apt), so the machine's apt setup is left as
# it is and nothing here needs root.
#
# To add a library, add one build_debian_source line at the end: the
# Debian source package, the suite to take it from, and its CMake options.
# Packages build in the order listed, so a later one finds the earlier
# ones in the prefix. A package whose source needs a step before CMake
# (files Debian's own build generates) gets a function prepare_PACKAGE,
# run in the unpacked source; it is part of the recipe.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
libs="$(mkdir -p "${WIN_LIBS_DIR:-build-win64-libs}" && cd "${WIN_LIBS_DIR:-build-win64-libs}" && pwd)"
prefix="$libs/prefix"
toolchain="$root/cmake/mingw-w64-x86_64.cmake"
apt_dir="$libs/apt"
apt_options=(-o Dir::Etc::sourcelist=/dev/null -o Dir::Etc::sourceparts="$apt_dir/sources"
             -o Dir::State::Lists="$apt_dir/lists" -o Dir::Cache="$apt_dir/cache"
             -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
apt_updated=0

# The source lists of Debian 12 and 13, read once per build of a package.
update_source_lists() {
  [ "$apt_updated" = 1 ] && return
  mkdir -p "$apt_dir/sources" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  cat >"$apt_dir/sources/debian-src.sources" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates trixie
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: bookworm-security trixie-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  apt-get "${apt_options[@]}" update >"$apt_dir/update.log" 2>&1 || { cat "$apt_dir/update.log"; exit 1; }
  apt_updated=1
}

# build_debian_source PACKAGE SUITE [CMAKE OPTION]...
build_debian_source() {
  local package="$1" suite="$2"
  shift 2
  local prepare="prepare_${package//[^A-Za-z0-9]/_}" steps=()
  declare -F "$prepare" >/dev/null && steps=("$(declare -f "$prepare")")
  local recipe
  recipe="$(printf '%s\n' "$package/$suite" "$@" "$(x86_64-w64-mingw32-gcc-posix -dumpversion)" "${steps[@]}" |
    cat - "$toolchain" | sha256sum | cut -c1-16)"
  local stamp="$libs/$package.stamp"
  if [ -f "$stamp" ] && [ "$(head -n1 "$stamp")" = "$recipe" ]; then
    return
  fi
  update_source_lists
  local work="$libs/src/$package"
  rm -rf "$work" "$stamp"
  mkdir -p "$work"
  (cd "$work" && apt-get "${apt_options[@]}" source --only-source "$package/$suite" >"$work/source.log" 2>&1) ||
    { cat "$work/source.log"; exit 1; }
  local source version
  source="$(find "$work" -mindepth 1 -maxdepth 1 -type d | head -n1)"
  version="$(basename "$(ls "$work"/*.dsc)" .dsc)"
  echo "building $version for Windows (once; kept in $libs)"
  if declare -F "$prepare" >/dev/null; then
    (cd "$source" && "$prepare") >"$work/prepare.log" 2>&1 || { cat "$work/prepare.log"; exit 1; }
  fi
  cmake -S "$source" -B "$work/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DJUNMARU_WIN_LIBS="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_TESTING=OFF "$@" >"$work/configure.log" 2>&1 ||
    { cat "$work/configure.log"; exit 1; }
  cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 || { tail -n 50 "$work/build.log"; exit 1; }
  cmake --install "$work/build" >/dev/null
  rm -rf "$work"
  printf '%s\n%s\n' "$recipe" "$version" >"$stamp"
}

# libssh2 (SFTP for libcurl) with Windows' own cryptography (WinCNG).
# Debian 13's 1.11 is the first whose WinCNG build signs with rsa-sha2 and
# speaks ECDSA, which today's OpenSSH servers require (Debian 12's 1.10
# offers only ssh-rsa with SHA-1, which they refuse). ECDSA over WinCNG
# needs Windows 10, which the programs require anyway.
build_debian_source libssh2 trixie -DCRYPTO_BACKEND=WinCNG -DENABLE_ZLIB_COMPRESSION=OFF -DBUILD_EXAMPLES=OFF \
  -DCMAKE_C_FLAGS=-DLIBSSH2_ECDSA_WINCNG

# libcurl for FTP, FTPS, SFTP and HTTPS, with Windows' own TLS (Schannel)
# and certificate store; every other protocol and optional library off.
build_debian_source curl bookworm -DBUILD_CURL_EXE=OFF -DENABLE_MANUAL=OFF -DCURL_USE_SCHANNEL=ON \
  -DCURL_USE_OPENSSL=OFF -DCURL_USE_LIBSSH2=ON -DCURL_USE_LIBSSH=OFF -DCURL_ZLIB=OFF -DCURL_BROTLI=OFF \
  -DCURL_ZSTD=OFF -DUSE_NGHTTP2=OFF -DUSE_LIBIDN2=OFF -DUSE_WIN32_IDN=OFF -DCURL_DISABLE_LDAP=ON \
  -DCURL_DISABLE_LDAPS=ON -DCURL_DISABLE_DICT=ON -DCURL_DISABLE_GOPHER=ON -DCURL_DISABLE_IMAP=ON \
  -DCURL_DISABLE_MQTT=ON -DCURL_DISABLE_POP3=ON -DCURL_DISABLE_RTSP=ON -DCURL_DISABLE_SMB=ON \
  -DCURL_DISABLE_SMTP=ON -DCURL_DISABLE_TELNET=ON -DCURL_DISABLE_TFTP=ON -DCURL_DISABLE_FILE=ON \
  -DCURL_CA_BUNDLE=none -DCURL_CA_PATH=none -DENABLE_UNIX_SOCKETS=OFF

# RE2, the multi-pattern matcher of the Bots rule's crawler list (Debian
# 12's release needs no Abseil). Debian's source leaves out RE2's
# generated tables; its build makes them from the Unicode data of the
# package unicode-data, as here.
prepare_re2() {
  perl re2/make_perl_groups.pl >re2/perl_groups.cc
  python3 re2/make_unicode_casefold.py >re2/unicode_casefold.cc
  python3 re2/make_unicode_groups.py >re2/unicode_groups.cc
}
build_debian_source re2 bookworm -DRE2_BUILD_TESTING=OFF
