#pragma once
#include <string>
#include <vector>

namespace vedozer::cli {

// Builds a small Windows installation (Vista-style layout, one user "demo") under root/image/C,
// with hives made from scratch and a handful of planted adware traces that the shipped
// definitions name, plus an empty data folder (root/data) and settings folder (root/config).
struct DemoImage {
    std::string root;
    std::string systemDrive;  // root/image/C
    std::string dataFolder;   // root/data
    std::string configDir;    // root/config
    std::vector<std::string> planted;  // what was planted, for people
};

// Throws std::runtime_error with a message when something cannot be made. An existing folder is
// only replaced when it is an earlier demo (it holds the marker file).
DemoImage buildDemoImage(const std::string& root);

}  // namespace vedozer::cli
