// HTTPS with a certificate made for the test: refused while nobody vouches for it, accepted once
// the system's certificate file (SSL_CERT_FILE) holds it.
#include <gtest/gtest.h>
#include <httplib.h>

#include <cstdlib>
#include <thread>

#include "platform/image/HttpClient.h"
#include "support/DefServerProcess.h"
#include "support/TempDir.h"

namespace vedozer {
namespace {

TEST(Https, TheServerCertificateIsChecked) {
    test::TempDir dir;
    const std::string key = (dir.path() / "key.pem").string(), cert = (dir.path() / "cert.pem").string();
    test::ProcessRun made = test::runProcess({"/usr/bin/openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout",
                                              key, "-out", cert, "-days", "2", "-subj", "/CN=127.0.0.1", "-addext",
                                              "subjectAltName=IP:127.0.0.1"});
    if (made.exitCode != 0) GTEST_SKIP() << "openssl could not make a certificate: " << made.err;
    httplib::SSLServer server(cert.c_str(), key.c_str());
    ASSERT_TRUE(server.is_valid());
    server.Get("/asp/date.asp", [](const httplib::Request&, httplib::Response& res) {
        res.set_content("5/15/2006 9:30:00 AM", "text/plain");
    });
    int port = server.bind_to_any_port("127.0.0.1");
    std::thread thread([&] { server.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));

    HttpClient http;
    HttpOptions options;
    options.connectTimeoutSeconds = 2;
    options.readTimeoutSeconds = 2;
    const std::string url = "https://127.0.0.1:" + std::to_string(port) + "/asp/date.asp";
    const char* previous = std::getenv("SSL_CERT_FILE");
    std::string saved = previous ? previous : "";
    ::setenv("SSL_CERT_FILE", (dir.path() / "none.pem").string().c_str(), 1);
    HttpResult refused = http.get(url, options);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.body, "");
    EXPECT_FALSE(refused.error.empty());

    ::setenv("SSL_CERT_FILE", cert.c_str(), 1);
    HttpResult accepted = http.get(url, options);
    EXPECT_TRUE(accepted.ok) << accepted.error;
    EXPECT_EQ(accepted.body, "5/15/2006 9:30:00 AM");
    if (previous) ::setenv("SSL_CERT_FILE", saved.c_str(), 1);
    else ::unsetenv("SSL_CERT_FILE");
    server.stop();
    thread.join();
}

}  // namespace
}  // namespace vedozer
