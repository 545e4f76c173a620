#include "DefServer.h"

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

void installRoutes(httplib::Server& server, Repository& repository, SubmissionLog& submissions, bool quiet) {
    auto dateReply = [&repository](const httplib::Request&, httplib::Response& res) {
        refresh(repository);
        res.set_content(fullDateText(repository.currentDate()), kText);
    };
    server.Get("/asp/currentDateNEW.asp", dateReply);
    server.Get("/asp/date.asp", dateReply);

    server.Get("/asp/getDefsNEW.asp", [&repository](const httplib::Request& req, httplib::Response& res) {
        refresh(repository);
        auto since = ParseGeneralDate(req.get_param_value("date"));
        if (!since) {
            res.status = 400;
            res.set_content("Bad date", kText);
            return;
        }
        res.set_content(repository.feedSince(*since), kText);
    });

    server.Get("/asp/getData.asp", [&submissions](const httplib::Request& req, httplib::Response& res) {
        try {
            switch (submissions.record(req.get_param_value("data"), req.remote_addr)) {
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

    if (!quiet) {
        server.set_logger([](const httplib::Request& req, const httplib::Response& res) {
            std::cerr << req.remote_addr << " " << req.method << " " << req.target << " " << res.status << " "
                      << res.body.size() << std::endl;
        });
    }
}

}  // namespace vedozer::server
