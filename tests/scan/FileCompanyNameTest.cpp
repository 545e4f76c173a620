#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/image/ImageFileSystem.h"
#include "scan/FileCompanyName.h"
#include "support/StringStream.h"
#include "support/TempDir.h"
#include "VersionResource.h"

namespace vedozer {
namespace {

namespace fs = std::filesystem;
using test::W;
using test::versionResource;

// The search written the plain way: whole file in memory, 1-based positions, 0 = not found.
std::string referenceCompanyName(const std::string& d) {
    auto instr = [&](size_t start, const std::string& x) -> size_t {
        if (start > d.size()) return 0;
        size_t p = d.find(x, start - 1);
        return p == std::string::npos ? 0 : p + 1;
    };
    size_t p = instr(1, W("StringFileInfo"));
    size_t hit = 0, start = 0;
    std::string guard;
    if (p == 0) {
        p = instr(1, "StringFileInfo");
        if (p == 0) p = 1;
        hit = instr(p, "CompanyName");
        if (hit) {
            start = hit + 12;
            guard = "FileDescription";
        }
    }
    if (!hit) {
        hit = instr(p, W("CompanyName"));
        if (hit) {
            start = hit + 26;
            guard = W("FileDescription");
        }
    }
    if (!hit) return "";
    size_t end = instr(start, std::string(3, '\0'));
    if (!end) return "";
    std::string v = d.substr(start - 1, end - start);
    if (v.find(guard) != std::string::npos) {
        for (size_t i = 1; i <= 255 && start - 1 + i < d.size(); ++i) {
            if (static_cast<unsigned char>(d[start - 1 + i]) < 32) {
                v = d.substr(start - 1, i);
                break;
            }
        }
    }
    std::string out;
    for (char c : v)
        if (c != '\0') out.push_back(c);
    return out;
}

std::string streamed(const std::string& data, size_t step = 0) {
    test::StringInputStream in(data, step);
    return GetFileCompanyName(in);
}

std::string fakeExecutable(const std::string& company, size_t codeBytes = 5000) {
    std::mt19937 rng(7);
    std::string f = "MZ";
    while (f.size() < codeBytes) f.push_back(static_cast<char>(rng() % 256));
    while (f.size() % 16) f.push_back('\0');
    f += versionResource(company);
    f += std::string(512, '\0');
    return f;
}

TEST(FileCompanyName, ReadsTheVersionResourceOfAnExecutable) {
    std::string exe = fakeExecutable("Microsoft Corporation");
    EXPECT_EQ(referenceCompanyName(exe), "Microsoft Corporation");
    EXPECT_EQ(streamed(exe), "Microsoft Corporation");
    EXPECT_EQ(streamed(exe, 1), "Microsoft Corporation");
    EXPECT_EQ(streamed(fakeExecutable("Vedozer Labs", 200000), 4096), "Vedozer Labs");
}

TEST(FileCompanyName, MicrosoftTestTrimsBlanksAndIgnoresCase) {
    EXPECT_TRUE(isMicrosoftCompany("Microsoft Corporation"));
    EXPECT_TRUE(isMicrosoftCompany("  microsoft CORPORATION "));
    EXPECT_FALSE(isMicrosoftCompany("Microsoft  Corporation"));
    EXPECT_FALSE(isMicrosoftCompany("Microsoft Corporation\t"));
    EXPECT_FALSE(isMicrosoftCompany(""));
}

TEST(FileCompanyName, PlainTextFallbackAndItsOddCases) {
    // Plain key: the value starts right after the key's zero.
    EXPECT_EQ(streamed(std::string("xxStringFileInfo..CompanyName\0Acme Inc\0\0\0tail", 46)), "Acme Inc");
    // No StringFileInfo at all: the search starts at the beginning.
    EXPECT_EQ(streamed(std::string("CompanyName\0Acme\0\0\0", 19)), "Acme");
    // No three zeros after the value: nothing.
    EXPECT_EQ(streamed(std::string("CompanyName\0Acme\0\0", 18)), "");
    // The value runs into the next entry: cut at the first control character.
    std::string runOn = std::string("CompanyName\0Acme Ltd", 20) + "\x05" + "FileDescription" + std::string(3, '\0');
    EXPECT_EQ(referenceCompanyName(runOn), "Acme Ltd");
    EXPECT_EQ(streamed(runOn), "Acme Ltd");
    // A plain key before a plain StringFileInfo does not count.
    std::string before = std::string("CompanyName\0Early\0\0\0StringFileInfo CompanyName\0Late\0\0\0", 54);
    EXPECT_EQ(streamed(before), "Late");
    // A UTF-16 StringFileInfo anywhere wins, even after the plain entries.
    std::string wideLast = before + W("StringFileInfo") + "\x01" + W("CompanyName") + std::string(4, '\0') +
                           W("Wide Co") + std::string(4, '\0');
    EXPECT_EQ(referenceCompanyName(wideLast), "Wide Co");
    EXPECT_EQ(streamed(wideLast, 3), "Wide Co");
    // ...and a UTF-16 StringFileInfo without a UTF-16 CompanyName after it gives nothing.
    EXPECT_EQ(streamed(before + W("StringFileInfo")), "");
}

TEST(FileCompanyName, EmptyAndFailingStreams) {
    EXPECT_EQ(streamed(""), "");
    std::string exe = fakeExecutable("Microsoft Corporation");
    test::StringInputStream failing(exe, 1000);
    failing.failAt(2000);
    EXPECT_EQ(GetFileCompanyName(failing), "");
}

TEST(FileCompanyName, EveryTruncationOfAnExecutableMatchesTheReference) {
    std::string exe = fakeExecutable("Vedozer Labs", 300);
    for (size_t len = 0; len <= exe.size(); ++len) {
        std::string part = exe.substr(0, len);
        ASSERT_EQ(streamed(part, 1 + len % 37), referenceCompanyName(part)) << "length " << len;
    }
}

std::string randomInput(std::mt19937& rng, size_t length) {
    static const std::vector<std::string> pieces = {
        W("StringFileInfo"), "StringFileInfo", W("CompanyName"), "CompanyName", W("FileDescription"),
        "FileDescription", std::string(3, '\0'), std::string(2, '\0'), std::string(1, '\0'),
        W("Microsoft Corporation"), "Microsoft Corporation", "\x01", "\x1f", " ", "Acme", "\xff\xfe",
        W("Company"), "Company", W("StringFile"), std::string(300, 'q')};
    std::string s;
    while (s.size() < length) {
        unsigned r = rng() % 10;
        if (r < 3) s += pieces[rng() % pieces.size()];
        else if (r < 6) s.push_back(static_cast<char>(rng() % 256));
        else if (r < 8) s.push_back(static_cast<char>('a' + rng() % 26));
        else s.push_back('\0');
    }
    return s;
}

TEST(FileCompanyName, RandomInputsMatchTheReference) {
    std::mt19937 rng(12345);
    int withName = 0;
    for (int i = 0; i < 4000; ++i) {
        std::string data = randomInput(rng, rng() % 700);
        std::string expected = referenceCompanyName(data);
        if (!expected.empty()) ++withName;
        ASSERT_EQ(streamed(data, 1 + rng() % 64), expected) << "case " << i;
        ASSERT_EQ(streamed(data), expected) << "case " << i;
    }
    EXPECT_GT(withName, 500);  // the generator reaches the interesting paths
}

TEST(FileCompanyName, KeysAcrossChunkBoundariesMatchTheReference) {
    std::mt19937 rng(99);
    const std::vector<std::string> keys = {W("StringFileInfo"), "StringFileInfo", W("CompanyName"), "CompanyName",
                                           W("FileDescription"), std::string(3, '\0')};
    for (int i = 0; i < 60; ++i) {
        std::string data(200000, 'x');
        for (auto& c : data) c = static_cast<char>(rng() % 4 == 0 ? 0 : 'A' + rng() % 40);
        for (int k = 0; k < 6; ++k) {
            const std::string& key = keys[rng() % keys.size()];
            size_t at = 65536 * (1 + rng() % 2) - 40 + rng() % 60;
            data.replace(at + k * 7, key.size(), key);
        }
        if (i % 2) data.replace(131000, 30, W("StringFileInfo"));
        std::string expected = referenceCompanyName(data);
        ASSERT_EQ(streamed(data), expected) << "case " << i;
        ASSERT_EQ(streamed(data, 65536 - 13), expected) << "case " << i;
    }
}

// A file of any size held as a few pieces and zeros between them; it counts what is read.
class SparseStream : public InputStream {
public:
    SparseStream(uint64_t size, std::map<uint64_t, std::string> pieces) : m_size(size), m_pieces(std::move(pieces)) {}
    long long read(char* buffer, size_t n) override {
        size_t k = static_cast<size_t>(std::min<uint64_t>(n, m_size - std::min(m_pos, m_size)));
        std::memset(buffer, 0, k);
        for (const auto& [at, bytes] : m_pieces) {
            uint64_t from = std::max(at, m_pos), to = std::min<uint64_t>(at + bytes.size(), m_pos + k);
            if (from < to) std::memcpy(buffer + (from - m_pos), bytes.data() + (from - at), to - from);
        }
        m_pos += k;
        m_read += k;
        return static_cast<long long>(k);
    }
    bool seek(uint64_t offset) override {
        m_pos = offset;
        return true;
    }
    uint64_t bytesRead() const { return m_read; }

private:
    uint64_t m_size;
    std::map<uint64_t, std::string> m_pieces;
    uint64_t m_pos = 0, m_read = 0;
};

SparseStream sparseExecutable(const test::PeFile& pe, uint64_t size) {
    return SparseStream(size, {{0, pe.head}, {pe.rsrcOffset, pe.rsrc}});
}

// Bytes this process has read through system calls so far.
uint64_t bytesReadByThisProcess() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

TEST(FileCompanyName, AnExecutableIsReadInItsHeadersAndItsVersionResourceOnly) {
    // Text that looks like a version resource elsewhere in the file (an icon here) does not count.
    test::PeOptions options;
    options.iconData = W("StringFileInfo") + W("CompanyName") + std::string(4, '\0') + W("Wrong") + std::string(4, '\0');
    options.rsrcFileOffset = 3u << 30;
    for (bool pe32plus : {false, true}) {
        options.pe32plus = pe32plus;
        test::PeFile pe = test::peExecutable(versionResource("Vedozer Labs"), options);
        SparseStream in = sparseExecutable(pe, (4ull << 30) + 5);
        EXPECT_EQ(GetFileCompanyName(in), "Vedozer Labs") << "PE32+ " << pe32plus;
        EXPECT_LT(in.bytesRead(), 8u * 1024) << "PE32+ " << pe32plus;
    }
    // No version resource, or one the directory cannot reach: no company.
    options.versionType = 17;
    SparseStream hidden = sparseExecutable(test::peExecutable(versionResource("Vedozer Labs"), options), 4ull << 30);
    EXPECT_EQ(GetFileCompanyName(hidden), "");
    test::PeFile cut = test::peExecutable(versionResource("Vedozer Labs"));
    for (size_t keep = 0; keep < cut.rsrc.size(); keep += 7) {
        std::string part = cut.bytes().substr(0, cut.rsrcOffset + keep);
        std::string got = streamed(part);
        EXPECT_TRUE(got.empty() || got == "Vedozer Labs") << keep;
    }
}

TEST(FileCompanyName, AFileThatIsNotAnExecutableIsSearchedOnlyAtItsStart) {
    SparseStream zeros(4ull << 30, {});
    EXPECT_EQ(GetFileCompanyName(zeros), "");
    EXPECT_LE(zeros.bytesRead(), kMaxPlainSearchBytes + 64 * 1024);
    // The plain search still finds a resource near the start (a 16-bit program, say).
    std::string head = std::string(1000, 'z') + versionResource("Vedozer Labs");
    SparseStream early(4ull << 30, {{0, head}});
    EXPECT_EQ(GetFileCompanyName(early), "Vedozer Labs");
    EXPECT_LT(early.bytesRead(), 1u << 20);
}

TEST(FileCompanyName, ASparseFileOnDiskIsNotReadThrough) {
    test::TempDir dir;
    HostFileSystem files;
    const std::string plain = (dir.path() / "big.dat").string();
    const std::string exe = (dir.path() / "big.exe").string();
    {
        std::ofstream(plain, std::ios::binary) << "";
        fs::resize_file(plain, 1ull << 30);
        test::PeOptions options;
        options.rsrcFileOffset = 1u << 30;
        test::PeFile pe = test::peExecutable(versionResource("Vedozer Labs"), options);
        std::ofstream out(exe, std::ios::binary);
        out << pe.head;
        out.seekp(static_cast<std::streamoff>(pe.rsrcOffset));
        out << pe.rsrc;
    }
    const uint64_t before = bytesReadByThisProcess();
    EXPECT_EQ(GetFileCompanyName(files, plain), "");
    EXPECT_EQ(GetFileCompanyName(files, exe), "Vedozer Labs");
    EXPECT_LT(bytesReadByThisProcess() - before, 4u << 20);
}

TEST(FileCompanyName, StopsReadingOnceTheAnswerCannotChange) {
    std::string head = std::string(1000, 'z') + versionResource("Vedozer Labs");
    test::StringInputStream in(head + std::string(5 << 20, 'z'));
    EXPECT_EQ(GetFileCompanyName(in), "Vedozer Labs");
    EXPECT_LT(in.position(), 1u << 20);
}

}  // namespace
}  // namespace vedozer
