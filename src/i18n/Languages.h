#pragma once
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/Question.h"
#include "i18n/ProductIdentity.h"

namespace vedozer {

// The message catalogue: every text shown in a message box or status line, looked up by
// its "MSG_" key. Starts with the English defaults; a language's translation lines may
// replace them. Lives for the whole run.
class Languages {
public:
    static constexpr std::size_t kSlotCount = 201;

    struct Slot {
        std::string key;
        std::string text;
        std::string defaultText;  // as registered: what the slot shows again when a language lacks it
        bool inUse = false;
    };

    explicit Languages(ProductIdentity identity = {});

    const ProductIdentity& identity() const { return m_identity; }
    void setIdentity(ProductIdentity identity) { m_identity = std::move(identity); }

    // Registers a text in the first free slot; does nothing when the table is full. A key
    // registered twice takes two slots and lookups find the first.
    void setMessage(std::string_view key, std::string_view text);

    // The current text for a key (case-insensitive), placeholders substituted and the first
    // letter upper-cased; "" for a key that was never registered.
    std::string getMessages(std::string_view key) const;

    // A question whose text and (unless given) title come from the catalogue: the text of
    // textKey, titled with titleKey's text or else the program name.
    Question question(QuestionKind kind, std::string_view textKey, Buttons buttons, QuestionIcon icon,
                      std::string_view titleKey = {}) const;
    // The same with a text already put together from catalogue texts.
    Question questionWithText(QuestionKind kind, std::string text, Buttons buttons, QuestionIcon icon,
                              std::string_view titleKey = {}) const;

    // Registers the English defaults in their fixed order.
    void loadDefaultMessages();

    // The translation of a key from the loaded translation lines, placeholders substituted
    // and the first letter upper-cased; "" when no line carries the key or its text is empty.
    std::string translationLookup(std::string_view key) const;

    // The item lines of the current language group, one item per line.
    void setTranslationLines(std::vector<std::string> lines) { m_translationLines = std::move(lines); }
    const std::vector<std::string>& translationLines() const { return m_translationLines; }

    // The language whose lines are loaded ("English" until another one is chosen).
    const std::string& currentLanguage() const { return m_currentLanguage; }
    void setCurrentLanguage(std::string name) { m_currentLanguage = std::move(name); }

    // Gives every used slot its translation, or its registered text when the loaded lines have
    // none (so a key the new language lacks does not keep the previous language's text). Never
    // adds slots: a key outside the table cannot acquire a text this way.
    void applyTranslations();
    // Back to the registered English texts: no translation lines, "English" as the language.
    void useBuiltInTexts();

    const std::array<Slot, kSlotCount>& slots() const { return m_slots; }
    std::size_t usedSlotCount() const;

private:
    // Text between the item's tags on the first line carrying the key, as written in the file.
    std::string rawTranslation(std::string_view key) const;
    std::string present(std::string_view text) const;

    ProductIdentity m_identity;
    std::array<Slot, kSlotCount> m_slots{};
    std::vector<std::string> m_translationLines;
    std::string m_currentLanguage = "English";
};

// Upper-cases the first character, Windows-1252 letters included.
std::string upperFirst(std::string_view text);

}  // namespace vedozer
