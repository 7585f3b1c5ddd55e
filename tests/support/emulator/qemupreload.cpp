// Preloaded into every test program of a cross build that runs under qemu-user.
//
// Qt starts processes through forkfd, which uses clone(CLONE_PIDFD) when waitid(P_PIDFD) looks
// supported. qemu-user passes that waitid probe to the host kernel (which knows P_PIDFD) but does not
// fill in the pidfd of an emulated clone, so QProcess gets a garbage descriptor and every process start
// fails. Refusing the probe makes forkfd take its classic SIGCHLD path, which qemu emulates fully.
#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <sys/syscall.h>

namespace {
const long kPidfdIdType = 3; // P_PIDFD
using SyscallFunction = long (*)(long, ...);
}

extern "C" __attribute__((visibility("default"))) long syscall(long number, ...)
{
    va_list args;
    va_start(args, number);
    long a[6];
    for (long &arg : a)
        arg = va_arg(args, long);
    va_end(args);
    if (number == SYS_waitid && a[0] == kPidfdIdType) {
        errno = EINVAL;
        return -1;
    }
    static const auto next = reinterpret_cast<SyscallFunction>(dlsym(RTLD_NEXT, "syscall"));
    return next(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}
