#include "i18n/ProductIdentity.h"

#include <array>
#include <utility>

#include "BuildIdentity.h"
#include "text/Text.h"

namespace vedozer {

ProductIdentity ProductIdentity::fromBuild() {
    return ProductIdentity{VEDOZER_BUILD_PRODUCT_NAME, VEDOZER_BUILD_COMPANY_NAME, VEDOZER_BUILD_WEBSITE};
}

std::string substitutePlaceholders(std::string_view text, const ProductIdentity& identity) {
    const std::array<std::pair<std::string_view, const std::string*>, 4> tokens{{
        {"[ProgramName]", &identity.programName},
        {"[CompanyName]", &identity.companyName},
        {"[Company]", &identity.companyName},
        {"[Website]", &identity.website},
    }};
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        bool replaced = false;
        if (text[i] == '[') {
            for (const auto& [token, value] : tokens) {
                if (text::istartsWith(text.substr(i), token)) {
                    out += *value;
                    i += token.size();
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

}  // namespace vedozer
