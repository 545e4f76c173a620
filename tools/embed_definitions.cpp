// Build tool: turns the plain-text definition sources of data/definitions into a
// C++ source holding the files as the program installs them (encoded, CR LF).
// Lines starting with "#" are authors' comments and are dropped.
// With --files DIR it writes the installed files themselves into DIR instead (for the Windows
// installer, which lays them into the data folder).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "../src/definitions/LineCodec.cpp"

static bool storedPlain(const std::string& name) { return name == "ENoSignature.dat"; }

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: vedozer_embed OUTPUT.cpp SOURCE.txt...\n"
                     "       vedozer_embed --files DIR SOURCE.txt...\n";
        return 2;
    }
    const bool asFiles = std::string(argv[1]) == "--files";
    const int first = asFiles ? 3 : 2;
    if (asFiles && argc < 3) {
        std::cerr << "vedozer_embed: --files needs a folder\n";
        return 2;
    }
    std::ostringstream out;
    out << "// Generated at build time from data/definitions. Do not edit.\n"
        << "#include \"definitions/ShippedDefinitions.h\"\nnamespace vedozer {\n";
    std::vector<std::pair<std::string, size_t>> files;
    for (int i = first; i < argc; ++i) {
        std::string path = argv[i];
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            std::cerr << "cannot read " << path << "\n";
            return 2;
        }
        std::string base = path.substr(path.find_last_of('/') + 1);
        std::string name = base.substr(0, base.rfind('.')) + ".dat";
        std::string line, content;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty() && line[0] == '#') continue;
            content += (storedPlain(name) ? line : vedozer::EncodeDefinitionLine(line)) + "\r\n";
        }
        if (asFiles) {
            std::ofstream file(std::string(argv[2]) + "/" + name, std::ios::binary | std::ios::trunc);
            file << content;
            if (!file.flush()) {
                std::cerr << "cannot write " << argv[2] << "/" << name << "\n";
                return 2;
            }
            continue;
        }
        out << "static const unsigned char f" << files.size() << "[] = {";
        for (size_t k = 0; k < content.size(); ++k) {
            if (k % 20 == 0) out << "\n";
            out << static_cast<int>(static_cast<unsigned char>(content[k])) << ",";
        }
        out << "0};\n";
        files.emplace_back(name, content.size());
    }
    if (asFiles) return 0;
    out << "const ShippedFile kShippedDefinitions[] = {\n";
    for (size_t i = 0; i < files.size(); ++i)
        out << "  {\"" << files[i].first << "\", f" << i << ", " << files[i].second << "},\n";
    if (files.empty()) out << "  {\"\", nullptr, 0},\n";
    out << "};\nconst size_t kShippedDefinitionCount = " << files.size() << ";\n}\n";
    std::ofstream o(argv[1], std::ios::binary);
    o << out.str();
    return o ? 0 : 2;
}
