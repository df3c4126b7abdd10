// SPDX-License-Identifier: MIT
// A shim of our own rather than libfiu: libfiu fails a call by name for the
// whole process, so a failing close or write would also hit Qt's and the
// test framework's own descriptors; here a fault is aimed at one file.
#include "FaultInjection.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::mutex g_mutex; // guards the two below while arming
FaultInjection::Call g_call = FaultInjection::Call::Write;
QByteArray g_prefix;
int g_error = 0;
std::atomic<bool> g_armed{false};
std::atomic<int> g_injected{0};

template<typename Function>
Function real(const char *name)
{
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

// Whether this call on `fd` takes the armed fault; it is taken only once.
bool takes(FaultInjection::Call call, int fd)
{
    if (!g_armed.load(std::memory_order_acquire))
        return false;
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char path[4096];
    const ssize_t n = ::readlink(link, path, sizeof path);
    if (n <= 0)
        return false;
    const std::lock_guard<std::mutex> lock(g_mutex);
    if (!g_armed.load() || call != g_call || !QByteArray(path, n).startsWith(g_prefix))
        return false;
    g_armed = false;
    ++g_injected;
    return true;
}

int fail()
{
    errno = g_error;
    return -1;
}

} // namespace

namespace FaultInjection {

void failNext(Call call, const QByteArray &pathPrefix, int error)
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_call = call;
    g_prefix = pathPrefix;
    g_error = error;
    g_injected = 0;
    g_armed = true;
}

int disarm()
{
    const std::lock_guard<std::mutex> lock(g_mutex);
    g_armed = false;
    return g_injected;
}

} // namespace FaultInjection

using FaultInjection::Call;

extern "C" {

ssize_t write(int fd, const void *buffer, size_t count)
{
    static const auto next = real<ssize_t (*)(int, const void *, size_t)>("write");
    if (takes(Call::Write, fd))
        return fail();
    if (count > 1 && takes(Call::ShortWrite, fd))
        return next(fd, buffer, count / 2);
    return next(fd, buffer, count);
}

int fdatasync(int fd)
{
    static const auto next = real<int (*)(int)>("fdatasync");
    return takes(Call::Fdatasync, fd) ? fail() : next(fd);
}

int fsync(int fd)
{
    static const auto next = real<int (*)(int)>("fsync");
    return takes(Call::Fsync, fd) ? fail() : next(fd);
}

int fchmod(int fd, mode_t mode)
{
    static const auto next = real<int (*)(int, mode_t)>("fchmod");
    return takes(Call::Fchmod, fd) ? fail() : next(fd, mode);
}

int close(int fd)
{
    static const auto next = real<int (*)(int)>("close");
    if (takes(Call::Close, fd)) {
        next(fd);
        return fail();
    }
    return next(fd);
}

} // extern "C"
