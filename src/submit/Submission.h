#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "core/Host.h"
#include "platform/Http.h"
#include "platform/Processes.h"

namespace vedozer {

class Settings;
class Languages;

// The per-character shift of submissions (the definition line encoding).
std::string characterShift(std::string_view text);

// Process names that are never sent (exact, case-sensitive).
const std::vector<std::string>& neverSentNames();
bool isNeverSent(const std::string& name);

// The shifted names, each followed by "|", the last "|" dropped; "" when nothing is left.
std::string anonymousPayload(const std::vector<std::string>& processNames);
// The shifted file name followed by "|".
std::string fileSubmissionPayload(const std::string& fileName);

// server + "/asp/getData.asp?data=" + the payload, every byte outside letters, digits and
// "-._~" percent-encoded so the single bytes survive any URL handling.
std::string submissionUrl(const std::string& server, std::string_view payload);

// The names of the running programs as the system's process list gives them (file names).
// Processes shown with a host path (outside the Windows system being examined) are left out.
std::vector<std::string> runningProgramNames(Processes& processes);

// Sends the running program names when anonymous data is on and anything is left to send; the
// reply is not used. Returns true when a request was made.
bool sendAnonymousData(Http& http, Processes& processes, Settings& settings, Host& host, const std::string& server);

struct SubmitResult {
    bool accepted = false;  // the reply contained "Added" or "Skipped"
    std::string text;       // the result as the person reads it
    std::string error;      // why the request failed, when it did
};

// Submits a file name for research; the result text also goes to the host as a notice. A name
// that is empty or blank is refused without any request.
SubmitResult submitFileName(Http& http, Host& host, const Languages& messages, const std::string& server,
                            const std::string& fileName);

// The person switched anonymous data on or off. Switching it off asks the opt-out question
// (Yes keeps it off and saves "0"; No turns it on again and saves "1"); switching on saves "1".
// Returns whether it is on afterwards.
bool setSendAnonymousData(bool on, Settings& settings, const Languages& messages, Host& host);

// Whether anonymous data is sent (the setting, stored as chkSendData, reads as the number 1; default 1).
bool anonymousDataEnabled(const Settings& settings);

}  // namespace vedozer
