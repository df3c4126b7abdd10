// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

// Counts the heap allocations the calling thread makes while counting is on.
// Linked into a program, it stands in for malloc() and its kin for every
// library the program uses, and hands the work on to the C library's own.
namespace AllocationCounter {

void start();
// Allocations since start().
uint64_t stop();

} // namespace AllocationCounter
