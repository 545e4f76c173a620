// Signed date replies and feeds: our Ed25519 check against libsodium's, the reply forms, and Live
// Update against a signing vedozer-defserver and servers that tamper with its replies.
#include <gtest/gtest.h>
#include <httplib.h>
#include <sodium.h>

#include <filesystem>
#include <random>
#include <thread>

#include "DefTestFiles.h"
#include "definitions/LineCodec.h"
#include "platform/image/HttpClient.h"
#include "platform/image/ImageFileSystem.h"
#include "support/DefServerProcess.h"
#include "support/MemoryFileSystem.h"
#include "support/ScriptedHost.h"
#include "support/TempDir.h"
#include "update/Ed25519Verify.h"
#include "update/FeedSignature.h"
#include "update/LiveUpdate.h"
#include "update/Sha512.h"
#include "update/UpdateFeed.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;

const char* const kServerBinary = VEDOZER_BINARY_DIR "/vedozer-defserver";

std::string_view view(const std::vector<unsigned char>& b) {
    return {reinterpret_cast<const char*>(b.data()), b.size()};
}

TEST(Ed25519, AgreesWithLibsodiumOnGoodAndDamagedSignatures) {
    ASSERT_GE(sodium_init(), 0);
    const unsigned seed = std::random_device{}();
    std::mt19937 rng(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    for (int round = 0; round < 60; ++round) {
        Ed25519PublicKey key;
        unsigned char secret[crypto_sign_SECRETKEYBYTES];
        crypto_sign_keypair(key.data(), secret);
        std::vector<unsigned char> message(rng() % 300);
        for (auto& b : message) b = static_cast<unsigned char>(rng());
        Ed25519Signature sig;
        crypto_sign_detached(sig.data(), nullptr, message.data(), message.size(), secret);
        // Split anywhere: the pieces are hashed as one message.
        size_t cut = message.empty() ? 0 : rng() % message.size();
        ASSERT_TRUE(verifyEd25519(key, sig, {view(message).substr(0, cut), view(message).substr(cut)})) << round;

        auto libsodium = [&](const Ed25519PublicKey& k, const Ed25519Signature& s, const std::vector<unsigned char>& m) {
            return crypto_sign_verify_detached(s.data(), m.data(), m.size(), k.data()) == 0;
        };
        Ed25519Signature badSig = sig;
        badSig[rng() % 64] ^= static_cast<uint8_t>(1u << (rng() % 8));
        EXPECT_EQ(verifyEd25519(key, badSig, {view(message)}), libsodium(key, badSig, message)) << round;
        Ed25519PublicKey badKey = key;
        badKey[rng() % 32] ^= static_cast<uint8_t>(1u << (rng() % 8));
        EXPECT_EQ(verifyEd25519(badKey, sig, {view(message)}), libsodium(badKey, sig, message)) << round;
        if (!message.empty()) {
            auto badMessage = message;
            badMessage[rng() % badMessage.size()] ^= 1;
            EXPECT_FALSE(verifyEd25519(key, sig, {view(badMessage)})) << round;
        }
    }
}

TEST(Ed25519, RefusesMalleatedScalarsAndSmallOrderKeys) {
    ASSERT_GE(sodium_init(), 0);
    Ed25519PublicKey key;
    unsigned char secret[crypto_sign_SECRETKEYBYTES];
    crypto_sign_keypair(key.data(), secret);
    const std::string message = "vedozer date\n5/15/2006 9:30:00 AM";
    Ed25519Signature sig;
    crypto_sign_detached(sig.data(), nullptr, reinterpret_cast<const unsigned char*>(message.data()), message.size(),
                         secret);
    // S + L is the same scalar unreduced: refused by both.
    const uint8_t order[32] = {0xed, 0xd3, 0xf5, 0x5c, 0x1a, 0x63, 0x12, 0x58, 0xd6, 0x9c, 0xf7, 0xa2, 0xde, 0xf9, 0xde, 0x14,
                               0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0x10};
    Ed25519Signature malleated = sig;
    unsigned carry = 0;
    for (int i = 0; i < 32; ++i) {
        unsigned sum = malleated[32 + i] + order[i] + carry;
        malleated[32 + i] = static_cast<uint8_t>(sum);
        carry = sum >> 8;
    }
    EXPECT_TRUE(verifyEd25519(key, sig, {message}));
    EXPECT_FALSE(verifyEd25519(key, malleated, {message}));
    // The neutral point as a key (y = 1) signs anything with S = 0 and R = neutral.
    Ed25519PublicKey neutral{};
    neutral[0] = 1;
    Ed25519Signature trivial{};
    trivial[0] = 1;
    EXPECT_FALSE(verifyEd25519(neutral, trivial, {message}));
    EXPECT_NE(crypto_sign_verify_detached(trivial.data(), reinterpret_cast<const unsigned char*>(message.data()),
                                          message.size(), neutral.data()),
              0);
}

TEST(Sha512, AgreesWithLibsodiumForEveryLengthAroundTheBlock) {
    ASSERT_GE(sodium_init(), 0);
    std::string data;
    for (int i = 0; i < 400; ++i) data.push_back(static_cast<char>(i * 7 + 3));
    for (size_t n = 0; n <= data.size(); ++n) {
        unsigned char expected[64];
        crypto_hash_sha512(expected, reinterpret_cast<const unsigned char*>(data.data()), n);
        Sha512 h;
        h.update(std::string_view(data).substr(0, n / 3));
        h.update(std::string_view(data).substr(n / 3, n - n / 3));
        auto got = h.finish();
        ASSERT_EQ(0, std::memcmp(got.data(), expected, 64)) << n;
    }
}

// A key pair from libsodium and the replies a signing server sends.
struct TestKey {
    Ed25519PublicKey key;
    unsigned char secret[crypto_sign_SECRETKEYBYTES];
    TestKey() {
        if (sodium_init() < 0) std::abort();
        crypto_sign_keypair(key.data(), secret);
    }
    Ed25519Signature sign(const std::string& m) const {
        Ed25519Signature s;
        crypto_sign_detached(s.data(), nullptr, reinterpret_cast<const unsigned char*>(m.data()), m.size(), secret);
        return s;
    }
    std::string date(const std::string& d) const { return signedDateReply(d, sign(dateSigningMessage(d))); }
    std::string feed(const std::string& records, const std::string& installed, const std::string& reached) const {
        return signedFeed(records, reached, sign(feedSigningMessage(installed, reached, records)));
    }
    std::string hex() const { return toHex(key.data(), key.size()); }
};

SignedReplies repliesWithKey(const std::string& keyFileText) {
    test::MemoryFileSystem files;
    files.addDrive("C:\\");
    files.addFolder("C:\\Data");
    files.addFile("C:\\Data\\DefinitionServerKey.txt", keyFileText);
    return SignedReplies::load(files, "C:\\Data");
}

TEST(SignedReplies, DatesAndFeedsAreCheckedAgainstTheKeyInTheDataFolder) {
    TestKey k;
    const SignedReplies replies = repliesWithKey("  " + k.hex() + "\r\n");
    ASSERT_TRUE(replies.active()) << replies.error();
    std::string date, error;
    EXPECT_TRUE(replies.date(k.date("5/15/2006 9:30:00 AM"), date, error)) << error;
    EXPECT_EQ(date, "5/15/2006 9:30:00 AM");
    for (const std::string& bad : {std::string("5/15/2006 9:30:00 AM"), k.date("5/15/2006 9:30:00 AM") + "0",
                                   "5/16" + k.date("5/15/2006 9:30:00 AM").substr(4)}) {
        EXPECT_FALSE(replies.date(bad, date, error)) << bad;
        EXPECT_NE(error.find("the server's date"), std::string::npos) << error;
    }

    const std::string records = test::joinFeed({test::feedRecord("COOK", "ADD", "a.example")});
    const std::string feed = k.feed(records, "3/16/2006", "5/15/2006 9:30:00 AM");
    std::string_view got;
    std::optional<DateValue> reached;
    ASSERT_TRUE(replies.feed(feed, "3/16/2006", got, reached, error)) << error;
    EXPECT_EQ(got, records);
    ASSERT_TRUE(reached);
    EXPECT_EQ(FormatGeneralDate(*reached), "5/15/2006 9:30:00 AM");
    ASSERT_TRUE(replies.feed(k.feed("", "5/15/2006", "5/15/2006"), "5/15/2006", got, reached, error)) << error;
    EXPECT_EQ(got, "");
    // Tampered, cut, unsigned, or made for clients of another date.
    std::string tampered = feed;
    tampered[tampered.find("[DEF]") + 5] ^= 1;
    for (const std::string& bad : {tampered, feed.substr(feed.find("[BR]") + 4), records})
        EXPECT_FALSE(replies.feed(bad, "3/16/2006", got, reached, error)) << bad;
    EXPECT_FALSE(replies.feed(feed, "4/1/2006", got, reached, error));
    EXPECT_NE(error.find("another installed date"), std::string::npos) << error;

    // No key file: everything passes unchanged. A key file without a key stops updates.
    test::MemoryFileSystem none;
    none.addDrive("C:\\");
    SignedReplies open = SignedReplies::load(none, "C:\\");
    EXPECT_FALSE(open.active());
    EXPECT_TRUE(open.date("anything", date, error));
    EXPECT_EQ(date, "anything");
    EXPECT_NE(repliesWithKey("not a key").error().find("holds no public key"), std::string::npos);
    EXPECT_NE(repliesWithKey(k.hex() + "00").error().find("holds no public key"), std::string::npos);
}

TEST(SignedReplies, ClientsWithoutAKeyReadSignedRepliesAsBefore) {
    TestKey k;
    for (const std::string d : {"5/15/2006 9:30:00 AM", "5/15/2006 3:00:00 PM", "3/16/2006 12:00:00 AM"})
        EXPECT_EQ(NormaliseServerDate(k.date(d)), d);
    const std::string records = test::joinFeed({test::feedRecord("SFILE", "ADD", "n|c:\\n")});
    auto parsed = parseUpdateFeed(k.feed(records, "3/16/2006", "5/15/2006 9:30:00 AM"));
    ASSERT_EQ(parsed.size(), 2u);
    EXPECT_EQ(parsed[1].action, "SIG");
    for (const auto& kind : definitionKinds()) EXPECT_FALSE(kind.accepts(parsed[1].typeCode)) << kind.fileName;
}

// Live Update against vedozer-defserver with a key, directly and through a server in between.
class SignedServer : public ::testing::Test {
protected:
    test::TempDir repo, data, keys;
    HostFileSystem files;
    HttpClient http;
    test::ScriptedHost host;
    std::string publicKey;

    void SetUp() override {
        fs::create_directories(repo.path() / "changes");
        repo.write("changes/2006-04-01.txt", "ADD FILE tbhelper.dll=Toolbar Helper|[windir]\\system32|Adware\n");
        repo.write("changes/2006-05-15_093000.txt", "ADD COOK ads.example.org\nDEL FILE tbhelper.dll\n");
        auto run = test::runProcess({kServerBinary, "keygen", "--out", (keys.path() / "defs").string()});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        publicKey = test::readHost(keys.path() / "defs.pub");
        EXPECT_EQ(fs::status(keys.path() / "defs.key").permissions() & fs::perms::group_read, fs::perms::none);
        EXPECT_NE(test::runProcess({kServerBinary, "keygen", "--out", (keys.path() / "defs").string()}).exitCode, 0)
            << "an existing key is never replaced";
    }
    void trustKey() { test::writeHost(data.path() / kDefinitionKeyFile, publicKey); }
    UpdateCheckResult check(const std::string& server) {
        HttpOptions options;
        options.connectTimeoutSeconds = 2;
        options.readTimeoutSeconds = 5;
        LiveUpdateContext c{http, files, data.str(), host, ProductIdentity{"P", "C", "W"}, server, options};
        return checkForUpdates(c);
    }
    std::map<std::string, std::string> snapshot() {
        std::map<std::string, std::string> m;
        for (const auto& e : fs::directory_iterator(data.path())) m[e.path().filename().string()] = test::readHost(e.path());
        return m;
    }
};

// Relays requests to a server, changing its replies on the way.
class Relay {
public:
    Relay(const std::string& upstream, std::function<std::string(const std::string& target, std::string body)> change)
        : m_upstream(upstream), m_change(std::move(change)) {
        m_server.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
            HttpResult r = HttpClient().get(m_upstream + req.target, HttpOptions());
            res.set_content(m_change(req.target, r.body), "text/plain");
        });
        m_port = m_server.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_server.listen_after_bind(); });
        while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~Relay() {
        m_server.stop();
        m_thread.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port); }

private:
    std::string m_upstream;
    std::function<std::string(const std::string&, std::string)> m_change;
    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
};

TEST_F(SignedServer, ATrustedKeyTakesSignedRepliesAndRefusesAnythingElse) {
    test::DefServerProcess signing(kServerBinary, {"--repo", repo.str(), "--key", (keys.path() / "defs.key").string()});
    test::DefServerProcess plain(kServerBinary, repo.str());
    ASSERT_TRUE(signing.running() && plain.running());
    trustKey();
    const auto before = snapshot();

    // A feed changed on the way, or the feed for a later date in its place: nothing changes.
    Relay tamper(signing.url(), [](const std::string& target, std::string body) {
        size_t at = body.find(EncodeDefinitionLine("ads.example.org"));
        if (target.find("getDefs") != std::string::npos && at != std::string::npos) body[at] = 'b';
        return body;
    });
    Relay replay(signing.url(), [&](const std::string& target, std::string body) {
        if (target.find("getDefs") == std::string::npos) return body;
        return HttpClient().get(signing.url() + "/asp/getDefsNEW.asp?date=4/1/2006", HttpOptions()).body;
    });
    for (const std::string& server : {tamper.url(), replay.url(), plain.url()}) {
        UpdateCheckResult r = check(server);
        EXPECT_EQ(r.state, UpdateCheckState::Failed) << server;
        EXPECT_NE(r.error.find("sign"), std::string::npos) << r.error;
        EXPECT_EQ(snapshot(), before) << server;
    }

    UpdateCheckResult r = check(signing.url());
    ASSERT_EQ(r.state, UpdateCheckState::Updated) << r.error;
    EXPECT_EQ(test::readHost(data.path() / "date.dat"), "5/15/2006 9:30:00 AM\r\n");
    EXPECT_EQ(test::readDefinitions(data.path() / "BlockedCookies.dat"), (std::vector<std::string>{"ads.example.org"}));
}

TEST_F(SignedServer, ClientsWithoutTheKeyUpdateFromASigningServerAsFromAnyOther) {
    test::DefServerProcess signing(kServerBinary, {"--repo", repo.str(), "--key", (keys.path() / "defs.key").string()});
    ASSERT_TRUE(signing.running());
    UpdateCheckResult r = check(signing.url());
    ASSERT_EQ(r.state, UpdateCheckState::Updated) << r.error;
    EXPECT_EQ(r.count, 3);  // two records added, one removal pass: the signature record counts for nothing
    EXPECT_TRUE(test::readDefinitions(data.path() / "FileDefinition.dat").empty());
    EXPECT_EQ(test::readHost(data.path() / "date.dat"), "5/15/2006 9:30:00 AM\r\n");
}

}  // namespace
}  // namespace vedozer
