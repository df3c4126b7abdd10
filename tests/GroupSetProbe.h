// SPDX-License-Identifier: MIT
#pragma once

#include "core/groups/GroupSet.h"

// A group changed and not saved, as a save that failed leaves it: the one
// state the set's operations, which always save, cannot make on their own.
struct GroupSetProbe {
    static GroupModel &unsavedModel(GroupSet &groups, int group) { return *groups.m_models.at(group); }
};
