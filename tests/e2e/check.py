# SPDX-License-Identifier: MIT
"""Checks for the end-to-end suite that hold under any Python flags.

A bare Python assertion vanishes under `python3 -O` (or PYTHONOPTIMIZE),
and the suite would then pass without looking. These raise whatever the flags, and
the message says what was expected and what was seen.
"""


class CheckFailed(Exception):
    pass


def check(condition, expected, seen):
    """Fails unless condition holds; expected says in words what should be, seen what was."""
    if not condition:
        raise CheckFailed(f"expected {expected}; saw {seen!r}")


def check_equal(expected, seen, what):
    if seen != expected:
        raise CheckFailed(f"{what}: expected {expected!r}; saw {seen!r}")
