// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

// The reason a failed system call gives (`code`, an errno value), in the
// interface's language: the failures a user meets when saving or opening a
// file (no permission, a read-only or full disk, a quota, a file that is not
// there, a failing device) have texts of our own, each a sentence ending in
// its full stop. Any other keeps the system's own, English text.
QString systemReason(int code);
