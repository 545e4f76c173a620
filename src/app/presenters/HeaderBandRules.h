#pragma once
#include <cstddef>

#include "app/Session.h"
#include "app/presenters/MainWindowView.h"

namespace vedozer {

// What the header band is made from.
struct HeaderFacts {
    StatusSummary status;
    bool protectionAvailable = true;
    bool memoryShieldOn = true;
    bool homePageShieldOn = true;
    size_t threatsListed = 0;  // rows of the results list now
};

// Red when definitions are missing or threats are listed, amber when a shield is off or no scan
// ran yet, green otherwise; every state also in words.
HeaderBand makeHeaderBand(const HeaderFacts& facts, const Languages& languages);

}  // namespace vedozer
