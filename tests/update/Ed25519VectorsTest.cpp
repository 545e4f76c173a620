// The signature check on fixed vectors (RFC 8032 test 1, and a date reply signed by libsodium), so
// that it also runs where libsodium is not at hand (the Windows build).
#include <gtest/gtest.h>

#include "support/MemoryFileSystem.h"
#include "update/Ed25519Verify.h"
#include "update/FeedSignature.h"

namespace vedozer {
namespace {

TEST(Ed25519Vectors, KnownSignaturesCheckAndDamagedOnesDoNot) {
    auto key = fromHex<32>("d75a980182b10ab7d54bfed3c964073a0ee172f3daa62325af021a68f707511a");
    auto sig = fromHex<64>(
        "e5564300c360ac729086e2cc806e828a84877f1eb8e5d974d873e065224901555fb8821590a33bacc61e39701cf9b46bd25bf5f0595bbe2465"
        "5141438e7a100b");
    ASSERT_TRUE(key && sig);
    EXPECT_TRUE(verifyEd25519(*key, *sig, {}));
    EXPECT_FALSE(verifyEd25519(*key, *sig, {"x"}));
    for (int i = 0; i < 64; i += 9) {
        Ed25519Signature bad = *sig;
        bad[i] ^= 0x40;
        EXPECT_FALSE(verifyEd25519(*key, bad, {})) << i;
    }

    // A date reply signed by libsodium, checked through the data folder's key file.
    const std::string date = "5/15/2006 9:30:00 AM";
    auto signature = fromHex<64>(
        "e93e64d4546ac54f05c1464bdf9e1a4e3af61c4b6da8cca68206c8b9e2816701470917d52a7069bdca7e4b173bd47cc6cad5a1a7b8bbf36be7"
        "3a55a833d2f101");
    ASSERT_TRUE(signature);
    test::MemoryFileSystem files;
    files.addDrive("C:\\");
    files.addFolder("C:\\Data");
    files.addFile("C:\\Data\\" + std::string(kDefinitionKeyFile),
                  "e4030998cfd5ad1723c169f956aa0b9eb8619b5992bd612c2af428ebc79f8df0\r\n");
    SignedReplies replies = SignedReplies::load(files, "C:\\Data");
    ASSERT_TRUE(replies.active()) << replies.error();
    std::string text, error;
    EXPECT_TRUE(replies.date(signedDateReply(date, *signature), text, error)) << error;
    EXPECT_EQ(text, date);
    EXPECT_FALSE(replies.date(signedDateReply("5/15/2006 9:30:01 AM", *signature), text, error));
}

}  // namespace
}  // namespace vedozer
