// SPDX-License-Identifier: MIT
// A shared library that loads but holds none of GIO's functions.
extern "C" int qb_not_gio()
{
    return 0;
}
