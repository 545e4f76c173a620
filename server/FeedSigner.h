#pragma once
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "update/Ed25519Verify.h"
#include "update/ServerDate.h"

namespace vedozer::server {

struct SigningError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Signs the date replies and feeds with the server's Ed25519 key (libsodium), in the forms the
// client checks (update/FeedSignature.h).
class FeedSigner {
public:
    // Reads a secret key file written by generateKeyPair; throws SigningError.
    static FeedSigner load(const std::filesystem::path& secretKeyFile);

    Ed25519Signature sign(std::string_view message) const;
    const Ed25519PublicKey& publicKey() const { return m_public; }

    std::string dateReply(std::string_view date) const;
    // The feed for clients whose definitions date from `installed`; it reaches `reached`.
    std::string feed(std::string_view records, const DateValue& installed, const DateValue& reached) const;

private:
    FeedSigner() = default;
    unsigned char m_secret[64] = {};
    Ed25519PublicKey m_public{};
};

// Writes a new key pair: PREFIX.key (the secret seed as 64 hex digits, readable by its owner
// only) and PREFIX.pub (the public key as 64 hex digits: the client's DefinitionServerKey.txt).
// Refuses to replace existing files. Returns the public key's hex digits; throws SigningError.
std::string generateKeyPair(const std::filesystem::path& prefix);

}  // namespace vedozer::server
