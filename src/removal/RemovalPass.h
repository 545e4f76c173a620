#pragma once
#include <vector>

#include "core/Outcome.h"
#include "removal/Removal.h"

namespace vedozer {

// The checked rows of one removal run and what each came to so far.
struct Removal::Pass {
    std::vector<size_t> files, registry, cookies;  // indices of the checked rows
    std::vector<Outcome> fileOutcomes, registryOutcomes, cookieOutcomes;
    bool retry = false;  // the second pass only retries what is not done yet
};

}  // namespace vedozer
