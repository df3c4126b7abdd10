// SPDX-License-Identifier: MIT
#include "platform/FreedMemory.h"

#include <cstdlib> // tells the C library: __GLIBC__

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void releaseFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
