#include "NginxProcess.h"

#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "RawHttp.h"
#include "support/DefServerProcess.h"
#include "support/TempDir.h"

namespace vedozer::test {

namespace fs = std::filesystem;

namespace {

std::string configuration(const fs::path& prefix, const fs::path& site, int port) {
    const std::string p = prefix.string();
    std::string conf = "daemon off;\nworker_processes 1;\npid " + p + "/nginx.pid;\nerror_log " + p +
                       "/error.log;\nevents { worker_connections 1024; }\nhttp {\n    access_log " + p +
                       "/access.log;\n";
    for (const char* temp : {"client_body", "proxy", "fastcgi", "uwsgi", "scgi"})
        conf += std::string("    ") + temp + "_temp_path " + p + "/" + temp + ";\n";
    conf += "    include " + (site / "nginx/vedozer-http.conf").string() +
            ";\n    server {\n        listen 127.0.0.1:" + std::to_string(port) + ";\n        root " +
            site.string() + ";\n        include " + (site / "nginx/vedozer-server.conf").string() +
            ";\n    }\n}\n";
    return conf;
}

}  // namespace

std::string NginxProcess::binary() {
    for (const char* candidate : {"/usr/sbin/nginx", "/usr/local/sbin/nginx", "/usr/bin/nginx"}) {
        if (::access(candidate, X_OK) == 0) return candidate;
    }
    return "";
}

NginxProcess::NginxProcess(const fs::path& prefix, const fs::path& site) : m_prefix(prefix) {
    const std::string program = binary();
    if (program.empty()) {
        m_problem = "nginx is not installed";
        return;
    }
    m_port = unusedPort();
    {
        std::ofstream conf(prefix / "nginx.conf");
        conf << configuration(prefix, site, m_port);
    }
    uid_t uid = ::getuid();
    gid_t gid = ::getgid();
    if (uid == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody) {
            m_problem = "no user \"nobody\" to run nginx as";
            return;
        }
        uid = nobody->pw_uid;
        gid = nobody->pw_gid;
        // nginx writes its logs and temporary files into the prefix and reads the site.
        fs::permissions(prefix, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
        [[maybe_unused]] int r = ::chown(prefix.c_str(), uid, gid);
        for (fs::path p = site; !p.empty() && p != p.root_path(); p = p.parent_path())
            fs::permissions(p, fs::perms::others_exec | fs::perms::others_read, fs::perm_options::add);
    }
    const std::string errorLog = (prefix / "error.log").string();
    m_pid = ::fork();
    if (m_pid == 0) {
        if (::getuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
            ::_exit(126);
        const std::string conf = (prefix / "nginx.conf").string();
        ::execl(program.c_str(), program.c_str(), "-p", prefix.c_str(), "-c", conf.c_str(), "-e",
                errorLog.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (!RawConnection(m_port).connected()) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_problem = "nginx ended at start: " + readHostFile(errorLog);
            return;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            m_problem = "nginx did not answer within 15 s: " + readHostFile(errorLog);
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

NginxProcess::~NginxProcess() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);  // the master stops its workers and ends
    int status = 0;
    ::waitpid(m_pid, &status, 0);
}

}  // namespace vedozer::test
