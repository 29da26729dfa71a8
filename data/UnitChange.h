#pragma once
// One unit's record before and after a command changed it: what an undo step puts back.

#include "data/UnitRecord.h"

#include <vector>

struct UnitChange {
    int unitNumber = -1;
    UnitRecord before;
    UnitRecord after;
};

using UnitChanges = std::vector<UnitChange>;
