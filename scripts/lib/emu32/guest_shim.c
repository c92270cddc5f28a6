/* Preloaded into every 32-bit process that runs under qemu-i386 (see
 * scripts/lib/emu32.sh): mends three things where Debian 12's qemu 7.2 is
 * not the kernel Wine 8 expects. Built freestanding (gcc -m32 -nostdlib), so
 * no 32-bit C headers are needed; libc's functions are found at run time.
 *
 * 1. MAP_FIXED_NOREPLACE. qemu 7.2 takes it as a mere hint. Wine's address
 *    space reservation then gets mappings elsewhere, gives them back and
 *    retries in ever smaller pieces: some 66,000 mmap/munmap calls, each a
 *    slow page scan in qemu, about 50 s per process. Here it behaves as the
 *    kernel's: the exact address or EEXIST (under a second).
 *
 * 2. Per-thread segments. qemu keeps one GDT per process, so the TLS entries
 *    set_thread_area() makes are shared by all threads, where Linux switches
 *    them per thread. Wine reloads %fs (its TEB) and %gs (glibc's TLS) from
 *    their selectors in every signal handler and context restore, so a
 *    thread got the TEB of whichever thread set its entry last: a process
 *    with two threads crashed on its first SEH exception. So:
 *    - Wine's own set_thread_area (syscall 243) is refused, and Wine falls
 *      back to an LDT entry per thread for %fs;
 *    - each thread's %gs is moved to an LDT entry of its own (32..511; Wine
 *      takes its entries from 512 up) before Wine records it: the main
 *      thread's in the constructor, the others' in a pthread_create wrapper,
 *      which puts the parent back on the GDT entry for the clone, because
 *      glibc's clone(CLONE_SETTLS) takes a GDT selector only.
 *
 * 3. Trap numbers. qemu delivers SIGSEGV & co. with trap number -1, and Wine
 *    then raises an illegal instruction where the program made an access
 *    violation (IsBadReadPtr, guard pages). Wine's handlers are wrapped to
 *    see the trap number the kernel would give.
 *
 * It leans on glibc's and Wine's internals (the syscall number, the signal
 * context's layout): recheck it whenever Debian's qemu or Wine changes. */
typedef unsigned int size_t;
typedef long long off64_t;
#define MAP_FIXED_NOREPLACE 0x100000
#define MAP_FAILED ((void *)-1)
#define RTLD_NEXT ((void *)-1)
#define EEXIST 17
#define ENOSYS 38
extern void *dlsym(void *, const char *);
extern int *__errno_location(void);
extern int unsetenv(const char *);
extern char *getenv(const char *);
extern void *malloc(size_t);
extern void free(void *);

/* ------------------------------------------------------------ 1. mmap */
typedef void *(*mmap64_fn)(void *, size_t, int, int, int, off64_t);
typedef int (*munmap_fn)(void *, size_t);
static mmap64_fn real_mmap64;
static munmap_fn real_munmap;

static void *map(void *addr, size_t len, int prot, int flags, int fd, off64_t off) {
    if (!real_mmap64) {
        real_mmap64 = (mmap64_fn)dlsym(RTLD_NEXT, "mmap64");
        real_munmap = (munmap_fn)dlsym(RTLD_NEXT, "munmap");
    }
    if (!(flags & MAP_FIXED_NOREPLACE)) return real_mmap64(addr, len, prot, flags, fd, off);
    void *p = real_mmap64(addr, len, prot, flags & ~MAP_FIXED_NOREPLACE, fd, off);
    if (p == MAP_FAILED || p == addr) return p;
    real_munmap(p, len);
    *__errno_location() = EEXIST;
    return MAP_FAILED;
}
__attribute__((visibility("default"))) void *mmap64(void *a, size_t l, int p, int f, int fd, off64_t o) {
    return map(a, l, p, f, fd, o);
}
__attribute__((visibility("default"))) void *mmap(void *a, size_t l, int p, int f, int fd, long o) {
    return map(a, l, p, f, fd, (off64_t)(unsigned long)o);
}

/* ------------------------------------------------------------ 2. segments */
struct user_desc { unsigned int entry_number, base_addr, limit, flags; };
#define TLS_FLAGS 0x51 /* 32-bit, limit in pages, usable: as glibc's */
#define GS_FIRST 32
#define GS_LAST 511

static int raw3(int nr, int a, int b, int c) {
    int ret;
    __asm__ volatile("push %%ebx\n\tmov %%esi, %%ebx\n\tint $0x80\n\tpop %%ebx"
                     : "=a"(ret) : "0"(nr), "S"(a), "c"(b), "d"(c) : "memory");
    return ret;
}
static unsigned short get_gs(void) { unsigned short s; __asm__ volatile("movw %%gs, %0" : "=r"(s)); return s; }
static void set_gs(unsigned short s) { __asm__ volatile("movw %0, %%gs" :: "r"(s)); }
static unsigned int tls_base(void) { unsigned int b; __asm__ volatile("movl %%gs:0, %0" : "=r"(b)); return b; }

static unsigned short gdt_gs;            /* glibc's own selector */
static volatile unsigned char used[GS_LAST + 1];
static volatile int next_idx = GS_FIRST;
static volatile int gdt_lock;
static unsigned int key;                 /* frees a thread's entry at its end */
static int key_ok;

static int gs_to_ldt(void) {
    unsigned int base = tls_base();
    for (int tries = 0; tries <= GS_LAST - GS_FIRST; ++tries) {
        int i = __sync_fetch_and_add(&next_idx, 1);
        i = GS_FIRST + (i - GS_FIRST) % (GS_LAST - GS_FIRST + 1);
        if (__sync_lock_test_and_set(&used[i], 1)) continue;
        struct user_desc d = {i, base, 0xfffff, TLS_FLAGS};
        if (raw3(123 /* modify_ldt */, 0x11, (int)&d, sizeof d) != 0) { used[i] = 0; return 0; }
        set_gs((unsigned short)((i << 3) | 7));
        return i;
    }
    return 0;
}

typedef int (*setspecific_fn)(unsigned int, const void *);
static setspecific_fn real_setspecific;
static void release(void *v) { int i = (int)v; if (i >= GS_FIRST && i <= GS_LAST) used[i] = 0; }

struct start { void *(*fn)(void *); void *arg; };
static void *start_wrap(void *p) {
    struct start s = *(struct start *)p;
    free(p);
    int i = gs_to_ldt();
    if (i && key_ok) real_setspecific(key, (void *)i);
    return s.fn(s.arg);
}

typedef int (*pc_fn)(void *, const void *, void *(*)(void *), void *);
__attribute__((visibility("default"))) int pthread_create(void *th, const void *attr, void *(*fn)(void *), void *arg) {
    static pc_fn real;
    if (!real) real = (pc_fn)dlsym(RTLD_NEXT, "pthread_create");
    struct start *s = malloc(sizeof *s);
    if (!s) return 11 /* EAGAIN */;
    s->fn = fn;
    s->arg = arg;
    unsigned short cur = get_gs();
    int r;
    if (gdt_gs && (cur & 4)) {
        /* The GDT entry, pointed at this thread's TLS, for the clone only. */
        unsigned int base = tls_base();
        while (__sync_lock_test_and_set(&gdt_lock, 1)) __asm__ volatile("pause");
        struct user_desc d = {gdt_gs >> 3, base, 0xfffff, TLS_FLAGS};
        raw3(243 /* set_thread_area */, (int)&d, 0, 0);
        set_gs(gdt_gs);
        r = real(th, attr, start_wrap, s);
        set_gs(cur);
        __sync_lock_release(&gdt_lock);
    } else {
        r = real(th, attr, start_wrap, s);
    }
    if (r) free(s);
    return r;
}

/* Wine's set_thread_area for %fs: refused, so it takes an LDT entry per thread. */
typedef long (*syscall_fn)(long, long, long, long, long, long, long);
__attribute__((visibility("default"))) long syscall(long nr, ...) {
    static syscall_fn real;
    if (!real) real = (syscall_fn)dlsym(RTLD_NEXT, "syscall");
    if (nr == 243) { *__errno_location() = ENOSYS; return -1; }
    __builtin_va_list ap;
    __builtin_va_start(ap, nr);
    long a = __builtin_va_arg(ap, long), b = __builtin_va_arg(ap, long), c = __builtin_va_arg(ap, long);
    long d = __builtin_va_arg(ap, long), e = __builtin_va_arg(ap, long), f = __builtin_va_arg(ap, long);
    __builtin_va_end(ap);
    return real(nr, a, b, c, d, e, f);
}

/* ------------------------------------------------------------ 3. traps */
typedef void (*sa_fn)(int, void *, void *);
static sa_fn wine_handler[32];
struct siginfo_head { int si_signo, si_errno, si_code; };
/* uc_flags, uc_link, uc_stack (3 words), then gregs[REG_TRAPNO = 12] */
#define UC_TRAPNO(uc) (((int *)(uc))[5 + 12])

static void fix_trapno(int sig, void *info, void *uc) {
    if (uc && UC_TRAPNO(uc) == -1) {
        int code = info ? ((struct siginfo_head *)info)->si_code : 0;
        switch (sig) {
        case 11: UC_TRAPNO(uc) = code == 0x80 ? 13 : 14; break;         /* SIGSEGV: GP fault (SI_KERNEL) or page fault */
        case 7: UC_TRAPNO(uc) = 14; break;                              /* SIGBUS */
        case 4: UC_TRAPNO(uc) = 6; break;                               /* SIGILL: invalid opcode */
        case 8: UC_TRAPNO(uc) = code == 1 || code == 2 ? 0 : 16; break; /* SIGFPE: divide or x87 */
        case 5: UC_TRAPNO(uc) = code == 2 ? 1 : 3; break;               /* SIGTRAP: single step or int3 */
        }
    }
    wine_handler[sig](sig, info, uc);
}

struct k_sigaction_glibc { sa_fn handler; unsigned int mask[32]; int flags; void (*restorer)(void); };
typedef int (*sigaction_fn)(int, const struct k_sigaction_glibc *, struct k_sigaction_glibc *);
__attribute__((visibility("default"))) int sigaction(int sig, const struct k_sigaction_glibc *act, struct k_sigaction_glibc *old) {
    static sigaction_fn real;
    if (!real) real = (sigaction_fn)dlsym(RTLD_NEXT, "sigaction");
    int wrap = act && (sig == 4 || sig == 5 || sig == 7 || sig == 8 || sig == 11) && (act->flags & 4 /* SA_SIGINFO */) &&
               (unsigned long)act->handler > 1;
    sa_fn prev = (sig > 0 && sig < 32) ? wine_handler[sig] : 0;
    int r;
    if (wrap) {
        struct k_sigaction_glibc copy = *act;
        wine_handler[sig] = act->handler;
        copy.handler = fix_trapno;
        r = real(sig, &copy, old);
    } else {
        r = real(sig, act, old);
    }
    if (r == 0 && old && old->handler == fix_trapno && prev) old->handler = prev;
    return r;
}

__attribute__((constructor)) static void init(void) {
    /* qemu sets LD_PRELOAD to this file for every 32-bit process it starts
     * (QEMU_SET_ENV); 64-bit children (the wineserver) must not get it. */
    unsetenv("LD_PRELOAD");

    typedef int (*keycreate_fn)(unsigned int *, void (*)(void *));
    keycreate_fn kc = (keycreate_fn)dlsym(RTLD_NEXT, "pthread_key_create");
    real_setspecific = (setspecific_fn)dlsym(RTLD_NEXT, "pthread_setspecific");
    key_ok = kc && real_setspecific && kc(&key, release) == 0;
    unsigned short gs = get_gs();
    if (gs && !(gs & 4)) {
        gdt_gs = gs;
        gs_to_ldt();
    }
}
