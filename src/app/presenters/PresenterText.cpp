#include "app/presenters/PresenterText.h"

#include "scan/ScanResults.h"
#include "text/Text.h"

namespace vedozer {

std::string oneLine(std::string_view text) {
    std::string out;
    std::string normalized = text::replaceAll(text::replaceAll(text, "\r\n", "\n"), "\r", "\n");
    for (const std::string& line : text::split(normalized, "\n")) {
        std::string t = text::trimWhitespace(line);
        if (t.empty()) continue;
        if (!out.empty()) out += ' ';
        out += t;
    }
    return out;
}

std::string withCount(std::string_view caption, int64_t count) {
    return text::ireplaceAll(caption, "[Count]", text::groupDigits(count));
}

std::string withDate(std::string_view caption, std::string_view date) { return text::ireplaceAll(caption, "[Date]", date); }

KindIcon kindIcon(int threatIcon) {
    switch (threatIcon) {
        case kIconCookie: return KindIcon::Cookie;
        case kIconRegistry: return KindIcon::Registry;
        case kIconFile: return KindIcon::File;
        case kIconFolder: return KindIcon::Folder;
        case kIconExcluded: return KindIcon::Excluded;
        default: return KindIcon::None;
    }
}

}  // namespace vedozer
