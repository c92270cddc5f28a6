# shellcheck shell=bash
# Shared by scripts/test and scripts/demo: packages, builds, Xvfb and a
# throwaway Wine prefix. Source it; it defines functions and their settings.

QM_ROOT=${QM_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
QM_JOBS=${QM_JOBS:-2}
# Where the builds go (relative to the repository).
QM_BUILD_DIR=${QM_BUILD_DIR:-build}

. "$QM_ROOT/scripts/lib/emu32.sh"

qm_say() { printf '\n== %s\n' "$*"; }
qm_warn() { printf 'warning: %s\n' "$*" >&2; }

# Installs the Debian packages that are missing; apt-get only runs when
# something is. Package names may carry an architecture (wine32:i386).
qm_need_packages() {
  local missing=() p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${missing[*]} (run as root to install them)" >&2
    return 1
  fi
  for p in "${missing[@]}"; do
    case $p in
      *:i386)
        if ! dpkg --print-foreign-architectures | grep -qx i386; then
          dpkg --add-architecture i386
        fi ;;
    esac
  done
  qm_say "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q </dev/null &&
    apt-get install -y -q --no-install-recommends "${missing[@]}" </dev/null
}

# Every package the builds, checks and Wine runs need.
qm_packages() {
  echo cmake g++ make googletest libgtest-dev python3 \
    g++-mingw-w64-i686-win32 g++-mingw-w64-i686-posix binutils-mingw-w64-i686 \
    g++-mingw-w64-x86-64-win32 g++-mingw-w64-x86-64-posix \
    wine wine32:i386 wine64 fonts-wine qemu-user xvfb xauth imagemagick libxml2-utils clang libclang-rt-14-dev gcc-12-source xz-utils
}

# qm_configure <dir> <cmake args...>: reconfigures from the defaults, so a
# developer's cached narrowing (QM_LOGIC_DIRS, QM_TEST_GLOB) is not used.
qm_configure() {
  local dir=$1
  shift
  mkdir -p "$QM_ROOT/$dir"
  cmake -S "$QM_ROOT" -B "$QM_ROOT/$dir" -UQM_LOGIC_DIRS -UQM_TEST_GLOB "$@" >"$QM_ROOT/$dir/configure.log" 2>&1 ||
    { cat "$QM_ROOT/$dir/configure.log" >&2; return 1; }
}

qm_build() {
  local dir=$1
  shift
  cmake --build "$QM_ROOT/$dir" -j"$QM_JOBS" "$@"
}

qm_build_native() {
  qm_configure "$QM_BUILD_DIR/native" -DQM_BUILD=native && qm_build "$QM_BUILD_DIR/native"
}

qm_build_product() {
  qm_configure "$QM_BUILD_DIR/product" -DQM_BUILD=product \
    -DCMAKE_TOOLCHAIN_FILE="$QM_ROOT/cmake/toolchain-mingw.cmake" -DQM_CPU=i686 -DQM_THREADS=win32 &&
    qm_build "$QM_BUILD_DIR/product"
}

# The most bytes each shipped file may take (the XP load check and
# scripts/release print the figures).
qm_size_limit() {
  case ${1##*/} in
    quillmere.exe) echo 262144 ;;
    quillmere.cpl) echo 278528 ;;
  esac
}

# Where the end-to-end runs take their programs from: the XP exe, its
# Control Panel item and the 32-bit driver; the 64-bit stand-ins and driver
# only where no 32-bit code can run at all (qm_wine_arch decides).
QM_E2E_DIR=$QM_BUILD_DIR/e2e
QM_E2E_EXE=$QM_BUILD_DIR/product/quillmere.exe
QM_E2E_CPL=$QM_BUILD_DIR/product/quillmere.cpl
QM_STANDIN=

qm_build_e2e() {
  local cpu=i686
  [ -n "$QM_STANDIN" ] && cpu=x86_64
  qm_configure "$QM_E2E_DIR" -DQM_BUILD=e2e \
    -DCMAKE_TOOLCHAIN_FILE="$QM_ROOT/cmake/toolchain-mingw.cmake" -DQM_CPU=$cpu -DQM_THREADS=posix &&
    qm_build "$QM_E2E_DIR" "$@"
}

# The same program built for x86_64, for the end-to-end runs only.
qm_build_standin() {
  qm_configure "$QM_BUILD_DIR/standin" -DQM_BUILD=product \
    -DCMAKE_TOOLCHAIN_FILE="$QM_ROOT/cmake/toolchain-mingw.cmake" -DQM_CPU=x86_64 -DQM_THREADS=win32 &&
    qm_build "$QM_BUILD_DIR/standin" --target quillmere quillmere_cpl
}

# How this run gets 32-bit code run. Call it after the packages, with the
# calling script and its arguments:  qm_wine_arch "$QM_ROOT/scripts/x" "$@"
# - natively, where the kernel runs it;
# - else under qemu-i386 (emu32.sh): the script is started again inside its
#   own namespace, and this call returns there;
# - else, where neither works (no qemu, no user namespaces), on the 64-bit
#   stand-in under 64-bit Wine.
# QM_E2E_ARCH=i686 (the real programs, however they run) or x86_64 (the
# stand-in) chooses by hand.
qm_wine_arch() {
  local arch=${QM_E2E_ARCH:-}
  if qm_emu32_inside; then
    qm_emu32_setup
    return
  fi
  if [ "$arch" != x86_64 ] && ! qm_native32; then
    if qm_emu32_usable; then
      qm_emu32_enter "$@"
    elif [ -z "$arch" ]; then
      arch=x86_64
    fi
  fi
  if [ "$arch" = x86_64 ]; then
    QM_STANDIN=1
    QM_E2E_DIR=$QM_BUILD_DIR/e2e64
    QM_E2E_EXE=$QM_BUILD_DIR/standin/quillmere.exe
    QM_E2E_CPL=$QM_BUILD_DIR/standin/quillmere.cpl
    QM_WINEARCH=win64
    # Debian's wine and wine-stable start the 32-bit loader whenever it is
    # installed; these start the 64-bit one, for the tools too (wineboot,
    # winepath and reg go through wine-stable).
    local bin=$QM_ROOT/$QM_BUILD_DIR/wine64-bin n
    mkdir -p "$bin"
    for n in wine wine-stable; do
      printf '#!/bin/sh\nexport WINELOADER=/usr/lib/wine/wine64\nexec /usr/lib/wine/wine64 "$@"\n' >"$bin/$n"
      chmod +x "$bin/$n"
    done
    case ":$PATH:" in *":$bin:"*) ;; *) PATH=$bin:$PATH ;; esac
    export PATH
  fi
}

# What the end-to-end runs ran, for the summary.
qm_e2e_what() {
  if [ -n "$QM_STANDIN" ]; then
    echo "$QM_E2E_EXE and .cpl, the 64-bit stand-in, not the shipped files"
  elif [ -n "$QM_EMU32" ]; then
    echo "$QM_E2E_EXE and .cpl under qemu-i386"
  else
    echo "$QM_E2E_EXE and .cpl"
  fi
}

# Starts Xvfb on a free display and exports DISPLAY. Numbers from 140 up,
# clear of the ones people pick by hand; a display taken between the look
# and the start makes Xvfb exit, and the next number is tried.
QM_XVFB_PID=
qm_start_xvfb() {
  local n log=${1:-/dev/null}
  for n in $(seq 140 239); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >"$log" 2>&1 &
    QM_XVFB_PID=$!
    for _ in $(seq 1 100); do
      if ! kill -0 "$QM_XVFB_PID" 2>/dev/null; then break; fi
      if [ -S "/tmp/.X11-unix/X$n" ]; then
        export DISPLAY=":$n"
        return 0
      fi
      sleep 0.1
    done
    kill "$QM_XVFB_PID" 2>/dev/null
    wait "$QM_XVFB_PID" 2>/dev/null
    QM_XVFB_PID=
  done
  echo "no free X display found" >&2
  return 1
}

qm_stop_xvfb() {
  if [ -n "$QM_XVFB_PID" ]; then
    kill "$QM_XVFB_PID" 2>/dev/null
    wait "$QM_XVFB_PID" 2>/dev/null
    QM_XVFB_PID=
  fi
}

# Is $DISPLAY a display we can draw on? Without X tools: its socket, or
# its TCP port for a forwarded one.
qm_display_usable() {
  [ -n "${DISPLAY:-}" ] || return 1
  if command -v xdpyinfo >/dev/null 2>&1; then
    timeout 5 xdpyinfo >/dev/null 2>&1
    return
  fi
  local host=${DISPLAY%%:*} num=${DISPLAY#*:}
  num=${num%%.*}
  case $host in
    "" | unix) [ -S "/tmp/.X11-unix/X$num" ] ;;
    *) timeout 3 bash -c "exec 3<>/dev/tcp/$host/$((6000 + num))" 2>/dev/null ;;
  esac
}

# qm_make_prefix <dir>: a new Wine prefix (32-bit, or as qm_wine_arch chose) without the Mono and Gecko
# installers and without the crash dialog (which would wait for a click).
qm_make_prefix() {
  export WINEPREFIX=$1 WINEARCH=${QM_WINEARCH:-win32} WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
  rm -rf "$WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  timeout -k 10 300 wineboot -i >/dev/null 2>&1 || { echo "wineboot failed" >&2; return 1; }
  timeout -k 10 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 ||
    { echo "cannot configure the prefix" >&2; return 1; }
  # Xvfb has no window manager: unmanaged windows get Wine's own frames and
  # spare a two-second wait for one on every hide.
  timeout -k 10 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 ||
    { echo "cannot configure the prefix" >&2; return 1; }
  # Wine's own Tahoma (Debian's fonts-wine), which its prefixes do not find:
  # XP's dialog font, so that captions take the room they take on XP. The
  # server and desktop are ended so the next program starts with the fonts.
  local f
  for f in /usr/share/wine/fonts/*.ttf; do
    [ -f "$f" ] && cp -n "$f" "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  done
  qm_stop_wine
}

# Lets every Wine process of the prefix end, then ends the server.
qm_stop_wine() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  timeout 30 wineserver -w 2>/dev/null || true
  wineserver -k 2>/dev/null || true
}

# A Unix path as the Windows programs see it.
qm_winpath() { timeout -k 5 60 winepath -w "$1" 2>/dev/null | tr -d '\r'; }
