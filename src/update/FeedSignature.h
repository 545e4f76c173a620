#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "update/Ed25519Verify.h"
#include "update/ServerDate.h"

namespace vedozer {

// Signed replies of the definition server. The signature travels inside the reply, in a form a
// client without a key passes over unchanged:
//   date reply   the date, CR LF, "Ed25519 " and 128 hex digits. The date normaliser cuts a reply
//                just after its "AM" or "PM", and hex digits never spell either.
//   feed         the records, then one more: type code "ED25519" (encoded), action "SIG", the
//                date the feed reaches as a third header field, "[DEF]", 128 hex digits. No
//                definition file takes that type code, and no merge applies that action.
// What is signed says what it is and which request it answers, so that a signed reply cannot
// stand in for another one (the feed for a later date, say, which would skip changes):
//   "vedozer date\n" + date text
//   "vedozer feed\n" + installed date + "\n" + date reached + "\n" + records
// The installed date is written as the client sends it (FormatGeneralDate).

// The server's public key, in the data folder: 64 hex digits (blanks and line ends around them
// are ignored). Without this file replies are taken unsigned, as ever.
inline constexpr char kDefinitionKeyFile[] = "DefinitionServerKey.txt";

inline constexpr char kDateSignatureMark[] = "\r\nEd25519 ";
inline constexpr char kFeedSignatureType[] = "ED25519";
inline constexpr char kFeedSignatureAction[] = "SIG";

std::string dateSigningMessage(std::string_view date);
std::string feedSigningMessage(std::string_view installed, std::string_view reached, std::string_view records);

// The signed forms the server sends.
std::string signedDateReply(std::string_view date, const Ed25519Signature& signature);
std::string signedFeed(std::string_view records, std::string_view reached, const Ed25519Signature& signature);

std::string toHex(const uint8_t* bytes, size_t n);
// Exactly 2 * n hex digits (either case) into n bytes.
bool hexToBytes(std::string_view hex, uint8_t* out, size_t n);
template <size_t N>
std::optional<std::array<uint8_t, N>> fromHex(std::string_view hex) {
    std::array<uint8_t, N> bytes;
    if (!hexToBytes(hex, bytes.data(), N)) return std::nullopt;
    return bytes;
}

// A public key file's text: 64 hex digits with blanks, tabs and line ends around them.
std::optional<Ed25519PublicKey> parsePublicKey(std::string_view text);

// Checks the server's replies against the key in the data folder, or passes them through when
// there is none. Every refusal says why; nothing is changed by a check.
class SignedReplies {
public:
    // Reads the key file of the data folder. A file that is there but holds no key is an error
    // (error() says so): updates are refused rather than taken unsigned.
    static SignedReplies load(FileSystem& files, const std::string& dataFolder);

    bool active() const { return m_key.has_value(); }
    const std::string& error() const { return m_error; }

    // The date text of a date reply (the reply itself without a key).
    bool date(std::string_view reply, std::string& date, std::string& error) const;

    // The records of a feed fetched for the installed date (as sent), and the date the feed
    // reaches (nothing without a key).
    bool feed(std::string_view reply, std::string_view installed, std::string_view& records,
              std::optional<DateValue>& reached, std::string& error) const;

private:
    std::optional<Ed25519PublicKey> m_key;
    std::string m_error;
};

}  // namespace vedozer
