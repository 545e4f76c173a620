#include "scan/FilterStatusText.h"

#include "text/Text.h"

namespace vedozer {

// Longer words come first so a compound goes as a whole; "porn" is listed twice so a
// word that the later removals join together goes as well.
const std::array<const char*, 42> kFilteredWords = {
    "motherfucker", "cocksucker", "blowjob", "handjob", "rimjob",  "asshole", "arsehole",
    "dickhead",     "shithead",   "bollocks", "bastard", "fuck",    "shit",    "bitch",
    "cunt",         "pussy",      "whore",   "slut",    "twat",    "wank",    "jizz",
    "boobs",        "titties",    "penis",   "vagina",  "dildo",   "orgasm",  "masturbate",
    "hentai",       "fetish",     "erotic",  "milf",    "horny",   "nipple",  "smegma",
    "porn",         "sex",        "anal",    "cum",     "butt",    "jackass", "porn",
};

std::string FilterStatusText(std::string_view text) {
    std::string out(text);
    for (const char* word : kFilteredWords) out = text::ireplaceAll(out, word, "");
    return out;
}

}  // namespace vedozer
