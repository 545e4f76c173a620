#include "DefServer.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

namespace vedozer::server {

namespace {

constexpr char kText[] = "text/plain; charset=windows-1252";

void refresh(Repository& repository) {
    std::string error = repository.refresh();
    if (!error.empty()) std::cerr << "vedozer-defserver: repository not reloaded: " << error << std::endl;
}

}  // namespace

void installDefinitionRoutes(httplib::Server& server, Repository& repository, const FeedSigner* signer) {
    auto dateReply = [&repository, signer](const httplib::Request&, httplib::Response& res) {
        refresh(repository);
        std::string date = fullDateText(repository.currentDate());
        res.set_content(signer ? signer->dateReply(date) : date, kText);
    };
    server.Get("/asp/currentDateNEW.asp", dateReply);
    server.Get("/asp/date.asp", dateReply);

    server.Get("/asp/getDefsNEW.asp", [&repository, signer](const httplib::Request& req, httplib::Response& res) {
        refresh(repository);
        auto since = ParseGeneralDate(req.get_param_value("date"));
        if (!since) {
            res.status = 400;
            res.set_content("Bad date", kText);
            return;
        }
        DateValue reached;
        std::string feed = repository.feedSince(*since, &reached);
        res.set_content(signer ? signer->feed(feed, *since, reached) : feed, kText);
    });

    server.Get(R"(/Languages/(\d{1,6})/Localization\.txt)",
               [&repository](const httplib::Request& req, httplib::Response& res) {
                   auto file = repository.localizationFile(std::stoi(req.matches[1].str()));
                   std::ifstream in;
                   if (file) in.open(*file, std::ios::binary);
                   if (!in.is_open()) {
                       res.status = 404;
                       res.set_content("Not found", kText);
                       return;
                   }
                   std::ostringstream content;
                   content << in.rdbuf();
                   res.set_content(content.str(), "text/plain; charset=utf-8");
               });
}

void installSubmissionRoute(httplib::Server& server, SubmissionLog& submissions, bool proxied) {
    server.Get("/asp/getData.asp", [&submissions, proxied](const httplib::Request& req, httplib::Response& res) {
        std::string sender = req.remote_addr;
        if (proxied && req.has_header("X-Real-IP")) sender = req.get_header_value("X-Real-IP");
        try {
            switch (submissions.record(req.get_param_value("data"), sender)) {
            case SubmissionLog::Result::Added:
                res.set_content("Added", kText);
                break;
            case SubmissionLog::Result::Skipped:
                res.set_content("Skipped", kText);
                break;
            case SubmissionLog::Result::Rejected:
                res.status = 400;
                res.set_content("No data", kText);
                break;
            }
        } catch (const std::exception& e) {
            std::cerr << "vedozer-defserver: " << e.what() << std::endl;
            res.status = 500;
            res.set_content("Error", kText);
        }
    });
}

void installNotFound(httplib::Server& server) {
    server.set_error_handler([](const httplib::Request&, httplib::Response& res) {
        if (res.status == 404 && res.body.empty()) res.set_content("Not found", kText);
    });
}

std::string escapeLogText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c > 0x7E) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out;
}

std::string requestLogLine(const httplib::Request& req, const httplib::Response& res) {
    return escapeLogText(req.remote_addr) + " " + escapeLogText(req.method) + " " + escapeLogText(req.target) + " " +
           std::to_string(res.status) + " " + std::to_string(res.body.size());
}

void installRequestLog(httplib::Server& server) {
    server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
        // One write per line, so lines of concurrent requests do not interleave.
        std::cerr << (requestLogLine(req, res) + "\n") << std::flush;
    });
}

}  // namespace vedozer::server
