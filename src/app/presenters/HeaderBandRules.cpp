#include "app/presenters/HeaderBandRules.h"

#include "app/presenters/PresenterText.h"

namespace vedozer {

HeaderBand makeHeaderBand(const HeaderFacts& f, const Languages& l) {
    HeaderBand h;
    const StatusSummary& s = f.status;
    h.definitions = s.definitionsMissing
                        ? s.definitionDate
                        : withDate(withCount(captionText(l, CaptionId::HeaderDefinitionsValue), s.definitions.total),
                                   s.definitionDate);
    if (f.protectionAvailable)
        h.shields = captionText(l, f.memoryShieldOn ? CaptionId::MemoryShieldOn : CaptionId::MemoryShieldOff) + ", " +
                    captionText(l, f.homePageShieldOn ? CaptionId::HomePageShieldOn : CaptionId::HomePageShieldOff);
    else
        h.shields = captionText(l, CaptionId::ShieldsNotHere);
    h.lastScan = s.lastScan;

    bool shieldOff = f.protectionAvailable && (!f.memoryShieldOn || !f.homePageShieldOn);
    if (s.definitionsMissing) {
        h.state = StateIcon::Threats;
        h.stateText = captionText(l, CaptionId::StateDefinitionsMissing);
    } else if (f.threatsListed > 0) {
        h.state = StateIcon::Threats;
        h.stateText = captionText(l, CaptionId::StateThreats);
    } else if (shieldOff || s.lastScan == "Never") {
        h.state = StateIcon::Attention;
        h.stateText = captionText(l, CaptionId::StateAttention);
    } else {
        h.state = StateIcon::Ok;
        h.stateText = captionText(l, CaptionId::StateOk);
    }
    return h;
}

}  // namespace vedozer
