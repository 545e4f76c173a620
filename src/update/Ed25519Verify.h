#pragma once
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string_view>

namespace vedozer {

using Ed25519PublicKey = std::array<uint8_t, 32>;
using Ed25519Signature = std::array<uint8_t, 64>;

// Checks an Ed25519 signature (RFC 8032) of a message given in pieces, which are hashed in
// order as if joined. Like libsodium it refuses a scalar S that is not reduced, a key that is not
// a canonical point encoding, and keys or commitments of small order. Only public data is
// handled, so nothing here needs to run in constant time.
bool verifyEd25519(const Ed25519PublicKey& key, const Ed25519Signature& signature,
                   std::initializer_list<std::string_view> message);

}  // namespace vedozer
