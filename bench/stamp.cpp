// SPDX-License-Identifier: MIT
// A program for the launch benchmarks: notes the time it started running
// (CLOCK_REALTIME, nanoseconds) before anything else, then exits.
//
// The time goes to "stamp-<pid>" in the folder named by QB_STAMP_OUT
// (the working directory when that is unset), written under a hidden name
// and renamed, so a reader never sees half of it.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <unistd.h>

int main()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);

    const char *folder = std::getenv("QB_STAMP_OUT");
    if (!folder || !*folder)
        folder = ".";
    char hidden[4096], name[4096], text[32];
    std::snprintf(hidden, sizeof hidden, "%s/.stamp-%d", folder, int(getpid()));
    std::snprintf(name, sizeof name, "%s/stamp-%d", folder, int(getpid()));
    const int length = std::snprintf(text, sizeof text, "%lld\n",
                                     static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    const int fd = open(hidden, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return 3;
    const bool written = write(fd, text, size_t(length)) == length;
    if (close(fd) != 0 || !written)
        return 4;
    return rename(hidden, name) == 0 ? 0 : 5;
}
