#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "i18n/Languages.h"

namespace vedozer {

// Localization.txt: UTF-8 text holding language groups, each with a name, a description and one
// translation item per line. Reading it is LocalizationParser's; this is its name, its place on
// the localization server and the generator of a new file.

inline constexpr char kLocalizationFileName[] = "Localization.txt";
inline constexpr int kLocalizationProductNumber = 21;

// Path of the file on the localization server: "Languages/21/Localization.txt".
std::string localizationServerPath();

// The text to store as the new file when a server reply is a localization file: the reply
// from its first "<" on. nullopt when the reply has no translation-items block, in which
// case the existing file must stay as it is.
std::optional<std::string> localizationFromReply(std::string_view reply);

using LocalizationItem = std::pair<std::string, std::string>;  // key, text (Windows-1252)

// The used slots of the message table as items, in slot order, with their current texts.
std::vector<LocalizationItem> messageItems(const Languages& catalogue);

// A key as the generator writes it: upper case, with a list column's suffix as "_Col" + i.
std::string generatorKey(std::string_view key);

// A new file with one "English" group holding the items, as UTF-8 with CR LF line ends.
// Line breaks inside an item's text become spaces, since an item is one line.
std::string makeLocalizationFile(const std::vector<LocalizationItem>& items);

}  // namespace vedozer
