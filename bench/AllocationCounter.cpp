// SPDX-License-Identifier: MIT
#include "bench/AllocationCounter.h"

#include <cstddef>

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *pointer, size_t size);
void __libc_free(void *pointer);
}

namespace {

thread_local bool t_counting = false;
thread_local uint64_t t_count = 0;

inline void note()
{
    if (t_counting)
        ++t_count;
}

} // namespace

extern "C" {

void *malloc(size_t size)
{
    note();
    return __libc_malloc(size);
}

void *calloc(size_t count, size_t size)
{
    note();
    return __libc_calloc(count, size);
}

void *realloc(void *pointer, size_t size)
{
    note();
    return __libc_realloc(pointer, size);
}

void free(void *pointer)
{
    __libc_free(pointer);
}

} // extern "C"

namespace AllocationCounter {

void start()
{
    t_count = 0;
    t_counting = true;
}

uint64_t stop()
{
    t_counting = false;
    return t_count;
}

} // namespace AllocationCounter
