#include "submit/Submission.h"

#include <algorithm>
#include <cstdio>

#include "definitions/LineCodec.h"
#include "i18n/MessageKeys.h"
#include "i18n/Languages.h"
#include "settings/Settings.h"
#include "settings/SettingsKeys.h"
#include "text/Text.h"
#include "update/UrlFetch.h"

namespace vedozer {

std::string characterShift(std::string_view text) { return EncodeDefinitionLine(text); }

const std::vector<std::string>& neverSentNames() {
    static const std::vector<std::string> names = {"System",       "System Idle Process", "winlogon.exe",
                                                   "services.exe", "svchost.exe",         "explorer.exe",
                                                   "firefox.exe",  "iexplore.exe"};
    return names;
}

bool isNeverSent(const std::string& name) {
    const auto& names = neverSentNames();
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string anonymousPayload(const std::vector<std::string>& processNames) {
    std::string payload;
    for (const auto& name : processNames) {
        if (isNeverSent(name)) continue;
        payload += characterShift(name) + "|";
    }
    if (!payload.empty()) payload.pop_back();
    return payload;
}

std::string fileSubmissionPayload(const std::string& fileName) { return characterShift(fileName) + "|"; }

std::string submissionUrl(const std::string& server, std::string_view payload) {
    std::string url = server;
    while (!url.empty() && url.back() == '/') url.pop_back();
    url += "/asp/getData.asp?data=";
    for (char ch : payload) {
        auto c = static_cast<unsigned char>(ch);
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == '.' || c == '_' || c == '~';
        if (plain) {
            url += ch;
        } else {
            char buf[4];
            std::snprintf(buf, sizeof buf, "%%%02X", c);
            url += buf;
        }
    }
    return url;
}

std::vector<std::string> runningProgramNames(Processes& processes) {
    std::vector<std::string> names;
    for (const auto& p : processes.snapshot()) {
        if (p.outsideSystem) continue;
        const std::string& exe = p.exeFile;
        // A host path (image backend) is a program of the rescue system, not of the Windows
        // installation: it is never sent.
        if (!exe.empty() && exe.front() == '/') continue;
        size_t slash = exe.find_last_of("\\/");
        std::string name = slash == std::string::npos ? exe : exe.substr(slash + 1);
        if (!name.empty()) names.push_back(name);
    }
    return names;
}

bool anonymousDataEnabled(const Settings& settings) {
    std::string value = text::trim(settings.get(skey::OptionAndSettings, skey::sendAnonymousData, "1"));
    return value == "1";
}

bool sendAnonymousData(Http& http, Processes& processes, Settings& settings, Host& host, const std::string& server) {
    if (!anonymousDataEnabled(settings)) return false;
    std::string payload = anonymousPayload(runningProgramNames(processes));
    if (payload.empty()) return false;
    fetchUrl(http, submissionUrl(server, payload), host, false);
    return true;
}

SubmitResult submitFileName(Http& http, Host& host, const Languages& messages, const std::string& server,
                            const std::string& fileName) {
    SubmitResult result;
    // An empty name tells the service nothing; it never leaves the machine.
    if (text::trim(fileName).empty()) {
        result.text = messages.getMessages(msg::MSG_RESULTS) + " " + messages.getMessages(msg::MSG_PROBLEM) + ".";
        result.error = "an empty file name is not submitted";
        return result;
    }
    FetchOutcome reply = fetchUrl(http, submissionUrl(server, fileSubmissionPayload(fileName)), host, false);
    result.accepted = reply.text.find("Skipped") != std::string::npos || reply.text.find("Added") != std::string::npos;
    if (result.accepted) {
        result.text = messages.getMessages(msg::MSG_RESULTS) + " " + fileName + " " +
                      messages.getMessages(msg::MSG_RESULTS_THANK);
    } else {
        result.text = messages.getMessages(msg::MSG_RESULTS) + " " + messages.getMessages(msg::MSG_PROBLEM) + " " +
                      fileName + ".  " + messages.getMessages(msg::MSG_PROBLEM2);
        result.error = reply.reached ? "the server did not accept the submission" : reply.error;
    }
    host.onNotice(Notice{NoticeKind::Info, result.text});
    return result;
}

bool setSendAnonymousData(bool on, Settings& settings, const Languages& messages, Host& host) {
    if (on) {
        settings.save(skey::OptionAndSettings, skey::sendAnonymousData, "1");
        return true;
    }
    std::string prompt = messages.getMessages(msg::MSG_ANON1) + "\r\n\r\n" + messages.getMessages(msg::MSG_ANON2) +
                         "\r\n\r\n" + messages.getMessages(msg::MSG_ANON3);
    Answer answer = host.ask(messages.questionWithText(QuestionKind::StopSendingData, prompt, Buttons::YesNo,
                                                       QuestionIcon::Question, msg::MSG_ANON4));
    if (answer == Answer::Yes) {
        settings.save(skey::OptionAndSettings, skey::sendAnonymousData, "0");
        return false;
    }
    settings.save(skey::OptionAndSettings, skey::sendAnonymousData, "1");
    return true;
}

}  // namespace vedozer
