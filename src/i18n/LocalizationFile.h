#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "i18n/Languages.h"

namespace vedozer {

// Localization.txt: UTF-8 text holding language groups, each with a name, a description and
// one translation item per line. These functions work on the file's text; reading and
// writing the file, and downloading it, belong to the caller.

inline constexpr char kLocalizationFileName[] = "Localization.txt";
inline constexpr int kLocalizationProductNumber = 21;

// Path of the file on the localization server: "Languages/21/Localization.txt".
std::string localizationServerPath();

// The names of all language groups, in file order (Windows-1252).
std::vector<std::string> listLanguageNames(std::string_view utf8FileText);

// The item lines of the group whose name equals languageName (ignoring case), converted to
// Windows-1252; nullopt when no such group holds a translation-items block. Lines may end
// in CR LF or LF.
std::optional<std::vector<std::string>> findLanguageItems(std::string_view utf8FileText,
                                                          std::string_view languageName);

// The language loader: records the name as current and, when the file has that group, takes
// its lines; otherwise the previously loaded lines stay. True when the group was found.
bool loadLanguage(Languages& catalogue, std::string_view utf8FileText, std::string_view languageName);

// Loads the language (falling back to "English" when no lines are loaded afterwards) and
// updates the message table. Translating window captions is the front end's part, through
// Languages::translationLookup with the keys below.
void changeLanguage(Languages& catalogue, std::string_view utf8FileText, std::string_view languageName);

// The text to store as the new file when a server reply is a localization file: the reply
// from its first "<" on. nullopt when the reply has no translation-items block, in which
// case the existing file must stay as it is.
std::optional<std::string> localizationFromReply(std::string_view reply);

// Item keys as the generator writes them (lookups ignore case).
std::string captionItemKey(std::string_view window, std::string_view control);
std::string tabItemKey(std::string_view window, std::string_view control, int tab);        // 1-based
std::string columnItemKey(std::string_view window, std::string_view control, int column);  // 1-based
std::string indexedItemKey(std::string_view window, std::string_view control, int index);  // option, menu

using LocalizationItem = std::pair<std::string, std::string>;  // key, text (Windows-1252)

// The used slots of the message table as items, in slot order, with their current texts.
std::vector<LocalizationItem> messageItems(const Languages& catalogue);

// A new file with one "English" group holding the items, as UTF-8 with CR LF line ends.
// Line breaks inside an item's text become spaces, since an item is one line.
std::string makeLocalizationFile(const std::vector<LocalizationItem>& items);

}  // namespace vedozer
