// SPDX-License-Identifier: MIT
#pragma once

// Makes one system call fail for real inside the test process, on one file
// only: FaultInjection.cpp defines write, fdatasync, fsync, fchmod and close
// in the test executable, which the dynamic linker then prefers to the C
// library's for the whole process, Qt included. Unarmed, each passes straight
// through; armed, the first call on a descriptor whose path starts with the
// given prefix fails with the given error, and the call after it works again.
#include <QByteArray>

namespace FaultInjection {

enum class Call {
    Write,      // fails with the error, nothing written
    ShortWrite, // writes half of what it is given (the error is unused)
    Fdatasync,
    Fsync,
    Fchmod,
    Close, // closes the descriptor, as Linux does, and then fails
};

// Arms one fault; the next matching call takes it.
void failNext(Call call, const QByteArray &pathPrefix, int error);
// Disarms, and returns how many faults were injected since failNext().
int disarm();

} // namespace FaultInjection
