#include "FeedSigner.h"

#include <fcntl.h>
#include <sodium.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "update/FeedSignature.h"

namespace vedozer::server {

namespace {

void initialiseSodium() {
    if (sodium_init() < 0) throw SigningError("libsodium could not be initialised");
}

// Creates a file that must not exist yet, readable by its owner only when `secret`.
void writeNewFile(const std::filesystem::path& path, const std::string& content, bool secret) {
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, secret ? 0600 : 0644);
    if (fd < 0) throw SigningError("cannot create " + path.string() + ": " + std::strerror(errno));
    bool ok = ::write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size()) && ::fsync(fd) == 0;
    ::close(fd);
    if (!ok) {
        std::filesystem::remove(path);
        throw SigningError("cannot write " + path.string());
    }
}

}  // namespace

FeedSigner FeedSigner::load(const std::filesystem::path& secretKeyFile) {
    initialiseSodium();
    std::ifstream in(secretKeyFile, std::ios::binary);
    if (!in) throw SigningError("cannot read the key file " + secretKeyFile.string());
    std::ostringstream text;
    text << in.rdbuf();
    std::string hex = text.str();
    while (!hex.empty() && (hex.back() == '\n' || hex.back() == '\r' || hex.back() == ' ')) hex.pop_back();
    auto seed = fromHex<crypto_sign_SEEDBYTES>(hex);
    sodium_memzero(hex.data(), hex.size());
    if (!seed) throw SigningError(secretKeyFile.string() + " holds no secret key (64 hex digits)");
    FeedSigner signer;
    crypto_sign_seed_keypair(signer.m_public.data(), signer.m_secret, seed->data());
    sodium_memzero(seed->data(), seed->size());
    return signer;
}

Ed25519Signature FeedSigner::sign(std::string_view message) const {
    Ed25519Signature signature;
    crypto_sign_detached(signature.data(), nullptr, reinterpret_cast<const unsigned char*>(message.data()),
                         message.size(), m_secret);
    return signature;
}

std::string FeedSigner::dateReply(std::string_view date) const {
    return signedDateReply(date, sign(dateSigningMessage(date)));
}

std::string FeedSigner::feed(std::string_view records, const DateValue& installed, const DateValue& reached) const {
    const std::string reachedText = FormatGeneralDate(reached);
    return signedFeed(records, reachedText,
                      sign(feedSigningMessage(FormatGeneralDate(installed), reachedText, records)));
}

std::string generateKeyPair(const std::filesystem::path& prefix) {
    initialiseSodium();
    const std::filesystem::path secretFile = prefix.string() + ".key", publicFile = prefix.string() + ".pub";
    if (std::filesystem::exists(secretFile) || std::filesystem::exists(publicFile))
        throw SigningError(secretFile.string() + " or " + publicFile.string() + " exists already");
    unsigned char seed[crypto_sign_SEEDBYTES], secret[crypto_sign_SECRETKEYBYTES];
    Ed25519PublicKey publicKey;
    randombytes_buf(seed, sizeof seed);
    crypto_sign_seed_keypair(publicKey.data(), secret, seed);
    std::string seedHex = toHex(seed, sizeof seed) + "\n";
    sodium_memzero(seed, sizeof seed);
    sodium_memzero(secret, sizeof secret);
    const std::string publicHex = toHex(publicKey.data(), publicKey.size());
    writeNewFile(secretFile, seedHex, true);
    sodium_memzero(seedHex.data(), seedHex.size());
    try {
        writeNewFile(publicFile, publicHex + "\n", false);
    } catch (...) {
        std::filesystem::remove(secretFile);
        throw;
    }
    return publicHex;
}

}  // namespace vedozer::server
