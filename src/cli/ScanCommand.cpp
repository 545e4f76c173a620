// vedozer scan (not yet wired to the scanners)
#include <iostream>

#include "cli/CliContext.h"

namespace vedozer::cli {

int runDemoScan(CliContext&) {
    std::cout << "(scanning comes with the scan command)\n";
    return kExitOk;
}

}  // namespace vedozer::cli
