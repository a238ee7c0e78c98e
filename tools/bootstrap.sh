#!/usr/bin/env bash
# Prepares a Debian 12 machine (as root) to build and test both programs:
# packages and the MinGW builds of libpng and wxWidgets in a machine-wide cache.
# Idempotent: a few seconds when all is present. Each build folder makes its own Wine prefix
# (tools/wine-prefix.sh).
set -euo pipefail

DEPS_ROOT=${QZ_DEPS_ROOT:-/opt/quillam-deps}
JOBS=$(nproc)

log() { printf 'bootstrap: %s\n' "$*"; }

# Runs a build step quietly; on failure shows the end of its output.
quiet() {
  local out; out=$(mktemp)
  if ! "$@" >"$out" 2>&1; then
    tail -n 40 "$out"; rm -f "$out"; log "failed: $*"; exit 1
  fi
  rm -f "$out"
}

packages=(cmake make g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 xvfb xauth libboost-dev
          libz-mingw-w64-dev googletest fonts-liberation pulseaudio pulseaudio-utils dpkg-dev
          xdotool x11-apps fonts-wine python3)

install_packages() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  log "installing ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

# Source packages need a deb-src entry: derive it from the machine's own apt sources.
ensure_deb_src() {
  local src=/etc/apt/sources.list.d/debian.sources dst=/etc/apt/sources.list.d/quillam-src.sources
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    if [ -f "$src" ]; then
      sed 's/^Types: deb$/Types: deb-src/' "$src" > "$dst"
    else
      sed -n 's/^deb /deb-src /p' /etc/apt/sources.list > /etc/apt/sources.list.d/quillam-src.list
    fi
    apt-get update -qq
  fi
}

# The newest finished build of a library in the cache, if any.
cached() { ls -d "$DEPS_ROOT/$1"-*/.done 2>/dev/null | sort -V | tail -n 1 | xargs -r dirname | grep .; }

# A mirror may list a source version that it no longer serves: take the newest one it serves.
fetch_source() {  # package workdir; sets SOURCE_VERSION
  local v
  mkdir -p "$2"
  for v in $(apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -Vr | uniq); do
    if (cd "$2" && apt-get source -qq --download-only "$1=$v" >/dev/null 2>&1); then
      (cd "$2" && dpkg-source -x --no-check ./*.dsc src >/dev/null)
      SOURCE_VERSION=$v
      return
    fi
    rm -f "$2"/*
  done
  log "no source of $1 could be fetched"; exit 1
}

build_libpng() {
  PNG_PREFIX=$(cached libpng) && return
  ensure_deb_src
  local work; work=$(mktemp -d)
  fetch_source libpng1.6 "$work"
  log "building libpng $SOURCE_VERSION"
  PNG_PREFIX="$DEPS_ROOT/libpng-$SOURCE_VERSION-mingw64"
  cd "$work/src"
  quiet ./configure --host=x86_64-w64-mingw32 --disable-shared --prefix="$PNG_PREFIX" \
      CC=x86_64-w64-mingw32-gcc-posix CPPFLAGS=-I/usr/x86_64-w64-mingw32/include \
      LDFLAGS=-L/usr/x86_64-w64-mingw32/lib
  quiet make -j"$JOBS"
  quiet make install
  cd /
  touch "$PNG_PREFIX/.done"
  rm -rf "$work"
}

build_wx() {
  WX_PREFIX=$(cached wxwidgets) && return
  ensure_deb_src
  local work; work=$(mktemp -d)
  fetch_source wxwidgets3.2 "$work"
  log "building wxWidgets $SOURCE_VERSION (once; 15 to 20 minutes on two cores)"
  WX_PREFIX="$DEPS_ROOT/wxwidgets-$SOURCE_VERSION-msw-static"
  cd "$work/src"
  quiet ./configure --host=x86_64-w64-mingw32 --prefix="$WX_PREFIX" --disable-shared \
      CC=x86_64-w64-mingw32-gcc-posix CXX=x86_64-w64-mingw32-g++-posix \
      CPPFLAGS="-I$PNG_PREFIX/include -I/usr/x86_64-w64-mingw32/include" \
      LDFLAGS="-L$PNG_PREFIX/lib -L/usr/x86_64-w64-mingw32/lib" \
      --enable-compat28 --with-msw --with-libpng=sys --with-zlib=sys --without-libjpeg --without-libtiff \
      --without-expat --without-regex --without-liblzma --disable-xrc --disable-html --disable-webview \
      --disable-stc --disable-richtext --disable-ribbon --disable-propgrid --disable-aui \
      --disable-mediactrl --without-opengl --disable-sound --disable-webrequest
  quiet make -j"$JOBS"
  quiet make install
  cd /
  touch "$WX_PREFIX/.done"
  rm -rf "$work"
}

# One bootstrap at a time on the machine: runs of two trees that start together build the cache once.
mkdir -p "$DEPS_ROOT"
exec 9>"$DEPS_ROOT.lock"
flock 9

install_packages 9>&-  # nothing that the installation may leave running holds the lock
build_libpng
build_wx

# Replaced in one step, and only when it changes: another tree's build may be reading it.
env_file=$(mktemp "$DEPS_ROOT/env.cmake.XXXXXX")
cat > "$env_file" <<CMAKE
set(QZ_PNG_PREFIX "$PNG_PREFIX")
set(QZ_WX_PREFIX "$WX_PREFIX")
CMAKE
if cmp -s "$env_file" "$DEPS_ROOT/env.cmake"; then
  rm -f "$env_file"
else
  chmod 644 "$env_file"
  mv -f "$env_file" "$DEPS_ROOT/env.cmake"
fi
log "ready"
