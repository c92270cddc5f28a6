/* Preloaded into the native wineserver (see scripts/lib/emu32.sh). The
 * server serves ReadProcessMemory and WriteProcessMemory by pread and
 * pwrite on /proc/<pid>/mem at the Windows address; a 32-bit process under
 * qemu-i386 keeps its memory at that address plus qemu's guest base. For
 * those processes (whose /proc/<pid>/exe is qemu-i386) the base, which the
 * test run fixes for every qemu process in QEMU_GUEST_BASE, is added;
 * native processes are left alone. The test driver's list-view and tab
 * messages, and the leak test's counts, go that way. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/ptrace.h>
#include <sys/types.h>
#include <unistd.h>

#define MAXFD 4096
static long long offsets[MAXFD];

static long long guest_base_of(pid_t pid) {
    char exe[64], target[512];
    snprintf(exe, sizeof exe, "/proc/%d/exe", (int)pid);
    ssize_t n = readlink(exe, target, sizeof target - 1);
    if (n <= 0) return 0;
    target[n] = 0;
    if (!strstr(target, "qemu-i386")) return 0;
    const char *b = getenv("QEMU_GUEST_BASE");
    return b ? strtoll(b, NULL, 0) : 0;
}

static long long offset_of(const char *path) {
    int pid;
    char tail[8];
    if (strncmp(path, "/proc/", 6) || sscanf(path, "/proc/%d/%7s", &pid, tail) != 2 || strcmp(tail, "mem")) return 0;
    return guest_base_of(pid);
}

int open(const char *path, int flags, ...) {
    static int (*real)(const char *, int, ...);
    if (!real) real = dlsym(RTLD_NEXT, "open");
    mode_t mode = 0;
    if (flags & O_CREAT) {
        va_list ap;
        va_start(ap, flags);
        mode = va_arg(ap, mode_t);
        va_end(ap);
    }
    int fd = real(path, flags, mode);
    if (fd >= 0 && fd < MAXFD) offsets[fd] = offset_of(path);
    return fd;
}

int close(int fd) {
    static int (*real)(int);
    if (!real) real = dlsym(RTLD_NEXT, "close");
    if (fd >= 0 && fd < MAXFD) offsets[fd] = 0;
    return real(fd);
}

ssize_t pread(int fd, void *buf, size_t n, off_t off) {
    static ssize_t (*real)(int, void *, size_t, off_t);
    if (!real) real = dlsym(RTLD_NEXT, "pread");
    return real(fd, buf, n, off + (fd >= 0 && fd < MAXFD ? offsets[fd] : 0));
}

ssize_t pwrite(int fd, const void *buf, size_t n, off_t off) {
    static ssize_t (*real)(int, const void *, size_t, off_t);
    if (!real) real = dlsym(RTLD_NEXT, "pwrite");
    return real(fd, buf, n, off + (fd >= 0 && fd < MAXFD ? offsets[fd] : 0));
}

/* The server's way when /proc/<pid>/mem cannot be opened: word by word. */
long ptrace(enum __ptrace_request req, ...) {
    static long (*real)(enum __ptrace_request, pid_t, void *, void *);
    if (!real) real = dlsym(RTLD_NEXT, "ptrace");
    va_list ap;
    va_start(ap, req);
    pid_t pid = va_arg(ap, pid_t);
    char *addr = va_arg(ap, char *);
    void *data = va_arg(ap, void *);
    va_end(ap);
    if (req == PTRACE_PEEKDATA || req == PTRACE_POKEDATA || req == PTRACE_PEEKTEXT || req == PTRACE_POKETEXT)
        addr += guest_base_of(pid);
    return real(req, pid, addr, data);
}
