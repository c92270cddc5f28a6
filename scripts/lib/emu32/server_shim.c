/* Preloaded into the native wineserver (see scripts/lib/emu32.sh). Two
 * mends, for processes under qemu-i386 only (whose /proc/<pid>/exe is
 * qemu); native processes are left alone.
 *
 * 1. Guest memory. The server serves ReadProcessMemory and
 *    WriteProcessMemory by pread and pwrite on /proc/<pid>/mem at the
 *    Windows address; qemu keeps the memory at that address plus its guest
 *    base, which the test run fixes for every qemu process in
 *    QEMU_GUEST_BASE. The test driver's list-view and tab messages, and the
 *    leak test's counts, go that way.
 *
 * 2. The end of a process. Once a process's last thread has ended, the
 *    server gives it one second to be gone and then sends SIGKILL. Under
 *    qemu on a busy machine the exit itself can take longer, and a program
 *    that ended well (wineboot, the test driver) then reports 137. For
 *    qemu processes the kill waits up to ten seconds for the process to
 *    end by itself. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#define MAXFD 4096
static long long offsets[MAXFD];

static int is_qemu(pid_t pid) {
    char exe[64], target[512];
    snprintf(exe, sizeof exe, "/proc/%d/exe", (int)pid);
    ssize_t n = readlink(exe, target, sizeof target - 1);  /* fails once it has ended */
    if (n <= 0) return 0;
    target[n] = 0;
    return strstr(target, "qemu-i386") != NULL;
}

static long long guest_base_of(pid_t pid) {
    if (!is_qemu(pid)) return 0;
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

int kill(pid_t pid, int sig) {
    static int (*real)(pid_t, int);
    if (!real) real = dlsym(RTLD_NEXT, "kill");
    if (sig != SIGKILL || pid <= 0 || !is_qemu(pid)) return real(pid, sig);
    /* A grandchild waits, so the server goes on at once and nothing is
     * left to reap; it holds none of the server's files. */
    pid_t child = fork();
    if (child < 0) return real(pid, sig);
    if (child == 0) {
        if (fork() == 0) {
            syscall(SYS_close_range, 0U, ~0U, 0);
            const struct timespec tick = {0, 100 * 1000 * 1000};
            for (int i = 0; i < 100 && is_qemu(pid); ++i) nanosleep(&tick, NULL);
            if (is_qemu(pid)) real(pid, SIGKILL);
        }
        _exit(0);
    }
    waitpid(child, NULL, 0);
    return 0;
}
