// SPDX-License-Identifier: MIT
// A stand-in program for the launching tests: records the working directory
// it was started in and its arguments, then exits.
//
// The record goes to a file of its own in the folder named by
// QB_RECORDER_OUT (next to the program when that is unset): the working
// directory, then each argument, every one ended by a NUL byte. It is
// written under a hidden name and renamed, so a reader never sees half of it.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <unistd.h>

int main(int argc, char **argv)
{
    std::string folder;
    if (const char *out = std::getenv("QB_RECORDER_OUT"); out && *out) {
        folder = out;
    } else {
        char self[PATH_MAX] = {};
        const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
        if (n <= 0)
            return 2;
        folder.assign(self, size_t(n));
        folder.erase(folder.rfind('/'));
    }

    std::string record;
    char cwd[PATH_MAX] = {};
    if (getcwd(cwd, sizeof cwd))
        record += cwd;
    record += '\0';
    for (int i = 0; i < argc; ++i) {
        record += argv[i];
        record += '\0';
    }

    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const std::string name = "record-" + std::to_string(getpid()) + '-' + std::to_string(now.tv_sec) + '-'
                             + std::to_string(now.tv_nsec);
    const std::string hidden = folder + "/." + name;
    FILE *file = std::fopen(hidden.c_str(), "wb");
    if (!file)
        return 3;
    const bool written = std::fwrite(record.data(), 1, record.size(), file) == record.size();
    if (std::fclose(file) != 0 || !written)
        return 4;
    return std::rename(hidden.c_str(), (folder + '/' + name).c_str()) == 0 ? 0 : 5;
}
