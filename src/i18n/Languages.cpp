#include "i18n/Languages.h"

#include "i18n/DefaultMessages.h"
#include "text/Text.h"

namespace vedozer {

std::string upperFirst(std::string_view text) {
    std::string out(text);
    if (!out.empty()) out[0] = text::upperChar(out[0]);
    return out;
}

Languages::Languages(ProductIdentity identity) : m_identity(std::move(identity)) {}

void Languages::setMessage(std::string_view key, std::string_view text) {
    for (Slot& slot : m_slots) {
        if (!slot.inUse) {
            slot.inUse = true;
            slot.key = std::string(key);
            slot.text = std::string(text);
            slot.defaultText = slot.text;
            return;
        }
    }
}

std::string Languages::present(std::string_view text) const {
    return upperFirst(substitutePlaceholders(text, m_identity));
}

std::string Languages::getMessages(std::string_view key) const {
    for (const Slot& slot : m_slots) {
        if (!slot.inUse) break;  // slots fill from the front, so the rest are free too
        if (text::iequals(slot.key, key)) return present(slot.text);
    }
    return "";
}

Question Languages::question(QuestionKind kind, std::string_view textKey, Buttons buttons, QuestionIcon icon,
                             std::string_view titleKey) const {
    return questionWithText(kind, getMessages(textKey), buttons, icon, titleKey);
}

Question Languages::questionWithText(QuestionKind kind, std::string text, Buttons buttons, QuestionIcon icon,
                                     std::string_view titleKey) const {
    std::string title = titleKey.empty() ? m_identity.programName : getMessages(titleKey);
    return Question{kind, std::move(title), std::move(text), buttons, icon};
}

void Languages::loadDefaultMessages() {
    for (const DefaultMessage& m : defaultMessages()) setMessage(m.key, m.text);
}

std::string Languages::rawTranslation(std::string_view key) const {
    if (key.empty()) return "";
    for (const std::string& line : m_translationLines) {
        if (line.empty()) continue;
        std::string_view itemKey = std::string_view(line).substr(0, line.find('>'));
        if (itemKey.size() > 2) {
            size_t lt = itemKey.find('<');
            if (lt != std::string_view::npos) itemKey.remove_prefix(lt + 1);
        }
        if (!text::iequals(itemKey, key)) continue;

        // Tags compare without regard to case, so "_Col1" items answer "_COL1" lookups.
        const std::string open = "<" + std::string(key) + ">";
        const std::string close = "</" + std::string(key) + ">";
        size_t start = text::ifind(line, open);
        if (start == std::string::npos) return "";
        start += open.size();
        size_t end = text::ifind(line, close, start);
        if (end == std::string::npos) return "";  // an unterminated item is not used
        return line.substr(start, end - start);
    }
    return "";
}

std::string Languages::translationLookup(std::string_view key) const {
    return present(rawTranslation(key));
}

void Languages::applyTranslations() {
    for (Slot& slot : m_slots) {
        if (!slot.inUse) continue;
        std::string raw = rawTranslation(slot.key);
        // The slot keeps the placeholders as written, so a regenerated localization file
        // still carries them; getMessages substitutes on the way out.
        slot.text = present(raw).empty() ? slot.defaultText : std::move(raw);
    }
}

void Languages::useBuiltInTexts() {
    m_translationLines.clear();
    m_currentLanguage = "English";
    for (Slot& slot : m_slots)
        if (slot.inUse) slot.text = slot.defaultText;
}

std::size_t Languages::usedSlotCount() const {
    std::size_t n = 0;
    for (const Slot& slot : m_slots)
        if (slot.inUse) ++n;
    return n;
}

}  // namespace vedozer
