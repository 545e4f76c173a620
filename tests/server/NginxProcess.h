#pragma once
#include <sys/types.h>

#include <filesystem>
#include <string>

namespace vedozer::test {

// nginx serving an exported site on 127.0.0.1 from a temporary prefix (configuration, logs,
// temporary files), with the site's two snippets included. Run as an unprivileged user: when the
// test runs as root, nginx runs as "nobody". Stopped on destruction.
class NginxProcess {
public:
    // The nginx program, or "" when none is installed.
    static std::string binary();

    NginxProcess(const std::filesystem::path& prefix, const std::filesystem::path& site);
    ~NginxProcess();
    NginxProcess(const NginxProcess&) = delete;
    NginxProcess& operator=(const NginxProcess&) = delete;

    // Empty when nginx answers on its port, else what went wrong (with its error log).
    const std::string& problem() const { return m_problem; }
    int port() const { return m_port; }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(m_port); }

private:
    std::filesystem::path m_prefix;
    pid_t m_pid = -1;
    int m_port = 0;
    std::string m_problem;
};

}  // namespace vedozer::test
