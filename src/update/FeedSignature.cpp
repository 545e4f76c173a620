#include "update/FeedSignature.h"

#include "definitions/DefinitionFiles.h"
#include "definitions/LineCodec.h"

namespace vedozer {
namespace {

constexpr std::string_view kDatePrefix = "vedozer date\n";
constexpr std::string_view kFeedPrefix = "vedozer feed\n";

std::string_view trimSpace(std::string_view s) {
    const char* blanks = " \t\r\n";
    size_t b = s.find_first_not_of(blanks);
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(blanks) - b + 1);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string feedSignaturePrefix() {
    return EncodeDefinitionLine(kFeedSignatureType) + "|" + kFeedSignatureAction + "|";
}

}  // namespace

std::string toHex(const uint8_t* bytes, size_t n) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(2 * n);
    for (size_t i = 0; i < n; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

bool hexToBytes(std::string_view hex, uint8_t* out, size_t n) {
    if (hex.size() != 2 * n) return false;
    for (size_t i = 0; i < n; ++i) {
        int hi = hexDigit(hex[2 * i]), lo = hexDigit(hex[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        out[i] = static_cast<uint8_t>(hi << 4 | lo);
    }
    return true;
}

std::optional<Ed25519PublicKey> parsePublicKey(std::string_view text) { return fromHex<32>(trimSpace(text)); }

std::string dateSigningMessage(std::string_view date) { return std::string(kDatePrefix).append(date); }

std::string feedSigningMessage(std::string_view installed, std::string_view reached, std::string_view records) {
    std::string m(kFeedPrefix);
    m.reserve(m.size() + installed.size() + reached.size() + records.size() + 2);
    return m.append(installed).append("\n").append(reached).append("\n").append(records);
}

std::string signedDateReply(std::string_view date, const Ed25519Signature& signature) {
    return std::string(date) + kDateSignatureMark + toHex(signature.data(), signature.size());
}

std::string signedFeed(std::string_view records, std::string_view reached, const Ed25519Signature& signature) {
    std::string feed(records);
    if (!feed.empty()) feed += "[BR]";
    return feed.append(feedSignaturePrefix())
        .append(reached)
        .append("[DEF]")
        .append(toHex(signature.data(), signature.size()));
}

SignedReplies SignedReplies::load(FileSystem& files, const std::string& dataFolder) {
    SignedReplies replies;
    const std::string path = dataFilePath(dataFolder, kDefinitionKeyFile);
    if (!files.lookup(path)) return replies;
    auto text = files.readAll(path, 4096);
    if (!text) {
        replies.m_error = files.displayPath(path) + " cannot be read";
    } else if (auto key = parsePublicKey(*text)) {
        replies.m_key = key;
    } else {
        replies.m_error = files.displayPath(path) + " holds no public key (64 hex digits)";
    }
    return replies;
}

bool SignedReplies::date(std::string_view reply, std::string& date, std::string& error) const {
    if (!m_key) {
        date = reply;
        return true;
    }
    size_t mark = reply.find(kDateSignatureMark);
    if (mark == std::string_view::npos) {
        error = "the server's date is not signed";
        return false;
    }
    auto signature = fromHex<64>(trimSpace(reply.substr(mark + std::string_view(kDateSignatureMark).size())));
    std::string_view text = reply.substr(0, mark);
    if (!signature || !verifyEd25519(*m_key, *signature, {kDatePrefix, text})) {
        error = "the server's date does not match its signature";
        return false;
    }
    date = text;
    return true;
}

bool SignedReplies::feed(std::string_view reply, std::string_view installed, std::string_view& records,
                         std::optional<DateValue>& reached, std::string& error) const {
    reached.reset();
    if (!m_key) {
        records = reply;
        return true;
    }
    size_t separator = reply.rfind("[BR]");
    std::string_view trailer = separator == std::string_view::npos ? reply : reply.substr(separator + 4);
    const std::string prefix = feedSignaturePrefix();
    size_t def = trailer.find("[DEF]");
    if (trailer.substr(0, prefix.size()) != prefix || def == std::string_view::npos) {
        error = "the update feed is not signed";
        return false;
    }
    std::string_view reachedText = trailer.substr(prefix.size(), def - prefix.size());
    auto signature = fromHex<64>(trimSpace(trailer.substr(def + 5)));
    std::string_view signedRecords = separator == std::string_view::npos ? std::string_view() : reply.substr(0, separator);
    if (!signature || !verifyEd25519(*m_key, *signature,
                                     {kFeedPrefix, installed, "\n", reachedText, "\n", signedRecords})) {
        error = "the update feed does not match its signature (or was made for another installed date)";
        return false;
    }
    reached = ParseGeneralDate(reachedText);
    if (!reached) {
        error = "the signed update feed names no date it reaches";
        return false;
    }
    records = signedRecords;
    return true;
}

}  // namespace vedozer
