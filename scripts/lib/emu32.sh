# shellcheck shell=bash
# Running the 32-bit programs (the shipped quillmere.exe and .cpl, the i686
# test driver, Wine's own 32-bit programs) on a machine whose kernel runs no
# 32-bit x86 code. Sourced by common.sh; qm_wine_arch decides when.
#
# How. The script re-executes itself in a user and mount namespace of its
# own (`unshare -Urm`). There it mounts a private binfmt_misc instance and
# registers Debian's qemu-i386 (package qemu-user, installed without its
# recommended qemu-user-binfmt, which would register machine-wide) for i386
# ELF files, with flag F so the kernel opens qemu at registration. Every
# 32-bit program the run starts, down to Wine's 32-bit loader, then runs
# under qemu; the native 64-bit wineserver serves them. The registration
# lives and dies with the namespace: the machine's binfmt_misc, its
# packages' state and its other processes see nothing of it. A 32-bit
# prefix, as on machines that run 32-bit code: only the server is native.
#
# What Debian 12's qemu 7.2 lacks for Wine 8 is mended by two preloaded
# shims, built into $QM_BUILD_DIR/emu32 (reasons in their sources):
# - emu32/guest_shim.c, i386, into every emulated process (QEMU_SET_ENV):
#   MAP_FIXED_NOREPLACE (else some 50 s per process start), per-thread
#   segment registers (else a crash at the first SEH exception of a process
#   with two threads), trap numbers (else access violations become illegal
#   instructions).
# - emu32/server_shim.c, x86-64, into the wineserver (through a bind mount
#   over Debian's wineserver script, inside the namespace): qemu keeps guest
#   memory at an offset (its guest base, at least the kernel's
#   mmap_min_addr, so never 0), which the server's Read/WriteProcessMemory
#   must add. The base is fixed for every qemu process (QEMU_GUEST_BASE) so
#   the server knows it. And the server SIGKILLs a process still there one
#   second after its last thread ended: qemu's exit can take longer on a
#   busy machine (exit status 137 for a program that ended well), so for
#   qemu processes the kill waits up to ten seconds.
# Not needed: a statically linked qemu fetched by hand (the plain qemu-user
# package serves, its preload kept out of qemu itself by the bind mount); a
# 64-bit (WoW64) prefix, in which the leak test could not count GDI objects.

QM_EMU32=  # 1 inside the namespace, where i386 programs go to qemu
QM_QEMU_I386=/usr/bin/qemu-i386
QM_EMU32_ENTRY=qm-i386  # the registration's name in the private instance
# qemu's guest base: far from where Linux puts the 64-bit process's own mappings.
QM_EMU32_GUEST_BASE=0x1000000000

# Whether this kernel runs i386 code itself (through Wine's 32-bit loader). A
# machine-wide qemu registration does not count: it runs without the shims.
qm_native32() {
  grep -qsx enabled /proc/sys/fs/binfmt_misc/qemu-i386 && return 1
  /usr/lib/wine/wine --version >/dev/null 2>&1
}

# The commands that set up the private instance, for sh -c; "$@" follows.
qm_emu32_register_cmd() {
  local magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
  local mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
  printf '%s' "mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc &&
printf '%s' ':$QM_EMU32_ENTRY:M::$magic:$mask:$QM_QEMU_I386:F' >/proc/sys/fs/binfmt_misc/register || exit 125
exec \"\$@\""
}

# Whether the emulated route works here: qemu installed, namespaces allowed
# (binfmt_misc in a user namespace needs Linux 6.7), Wine's loader starts.
qm_emu32_usable() {
  [ -x "$QM_QEMU_I386" ] || return 1
  timeout 60 unshare -Urm -- /bin/sh -c "$(qm_emu32_register_cmd)" sh \
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

qm_emu32_inside() { [ -e "/proc/sys/fs/binfmt_misc/$QM_EMU32_ENTRY" ]; }

# qm_emu32_enter <script> <args...>: runs the script anew in the namespace,
# in this same process (no fork: signals and the exit status stay the
# script's).
qm_emu32_enter() {
  echo "this machine runs no 32-bit code: running ${1#"$QM_ROOT"/} again where qemu-i386 runs it"
  exec unshare -Urm -- /bin/sh -c "$(qm_emu32_register_cmd)" sh bash "$@"
}

# Inside the namespace: builds the shims and sets the environment every
# Wine command of the run inherits.
qm_emu32_setup() {
  local dir=$QM_ROOT/$QM_BUILD_DIR/emu32 src=$QM_ROOT/scripts/lib/emu32
  mkdir -p "$dir"
  # The i386 one freestanding: Debian's gcc has no 32-bit C library headers.
  gcc -m32 -O2 -fPIC -shared -nostdlib -ffreestanding -fno-stack-protector \
    -o "$dir/guest_shim.so" "$src/guest_shim.c" &&
    gcc -O2 -fPIC -shared -o "$dir/server_shim.so" "$src/server_shim.c" -ldl ||
    { echo "the qemu shims did not build" >&2; return 1; }
  QM_EMU32=1
  export QEMU_GUEST_BASE=$QM_EMU32_GUEST_BASE
  export QEMU_SET_ENV=LD_PRELOAD=$dir/guest_shim.so
  # Whoever starts the wineserver (a Wine program, or wineserver -k by
  # hand) starts it through this path: in this namespace only, it is Debian's
  # script again with the shim added.
  printf '#!/bin/sh\nLD_PRELOAD=%s exec /usr/lib/wine/wineserver64 -p0 "$@"\n' "$dir/server_shim.so" >"$dir/wineserver"
  chmod +x "$dir/wineserver"
  mount --bind "$dir/wineserver" /usr/lib/wine/wineserver ||
    { echo "cannot put the wineserver's shim in place" >&2; return 1; }
  # Every wait in the end-to-end tests is an upper bound; emulated, the
  # program takes some three times as long.
  export QM_E2E_TIMEOUT_SCALE=${QM_E2E_TIMEOUT_SCALE:-3}
}
