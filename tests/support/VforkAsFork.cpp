// Linked into the ThreadSanitizer build's test programs only.
//
// Qt starts programs (QProcess) with clone(CLONE_VM | CLONE_VFORK): the child runs on the
// parent's memory until it execs. ThreadSanitizer's clone interceptor then runs its after-fork
// bookkeeping in the child, on the parent's own race-detector state, and afterwards every thread
// that lived through the start (the threads of Qt's pool above all) has lost what it knew of the
// others' locks: later accesses ordered by perfectly good locks are reported as races.
// ThreadSanitizer itself turns vfork() into fork() for that reason; this does the same for
// clone's vfork form, which this executable's definition of clone() takes over from the C
// library's for every library the program loads. The child does nothing before exec that needs
// the parent's memory: QProcess reports a failed start through a pipe.

#include <dlfcn.h>
#include <sched.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdarg>

extern "C" int clone(int (*fn)(void *), void *stack, int flags, void *arg, ...)
{
    va_list extra;
    va_start(extra, arg);
    pid_t *parentTid = va_arg(extra, pid_t *);
    void *tls = va_arg(extra, void *);
    pid_t *childTid = va_arg(extra, pid_t *);
    va_end(extra);

    constexpr int kVforkLike = CLONE_VM | CLONE_VFORK;
    constexpr int kHandled = kVforkLike | CLONE_PIDFD | CSIGNAL;
    if ((flags & kVforkLike) == kVforkLike && (flags & ~kHandled) == 0) {
        const pid_t pid = fork();
        if (pid == 0)
            _exit(fn(arg));
        if (pid > 0 && (flags & CLONE_PIDFD) && parentTid)
            *reinterpret_cast<int *>(parentTid) = int(syscall(SYS_pidfd_open, pid, 0));
        return pid;
    }
    using Clone = int (*)(int (*)(void *), void *, int, void *, ...);
    static const auto next = reinterpret_cast<Clone>(dlsym(RTLD_NEXT, "clone"));
    return next(fn, stack, flags, arg, parentTid, tls, childTid);
}
