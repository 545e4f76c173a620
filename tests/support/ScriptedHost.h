#pragma once
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Host.h"

namespace vedozer::test {

// A Host for unit tests: message boxes are answered from a queue (or a handler), and every
// call is recorded so a test can check texts, titles, buttons and icons afterwards.
class ScriptedHost : public Host {
public:
    struct MessageBoxCall {
        std::string text;
        std::string title;
        MsgButtons buttons;
        MsgIcon icon;
        MsgAnswer answer;
    };

    // Answers for the next message boxes, in order.
    ScriptedHost& answer(MsgAnswer a) {
        m_answers.push_back(a);
        return *this;
    }
    ScriptedHost& answers(std::initializer_list<MsgAnswer> list) {
        for (MsgAnswer a : list) m_answers.push_back(a);
        return *this;
    }
    // Used when the queue is empty; without it an unexpected message box fails the test
    // and is answered Cancel.
    void setDefaultAnswer(std::optional<MsgAnswer> a) { m_default = a; }
    // Decides instead of the queue when set (the queue still wins while it has answers).
    void setHandler(std::function<MsgAnswer(const MessageBoxCall&)> handler) {
        m_handler = std::move(handler);
    }
    // Runs on every yield with the count of yields so far (1 for the first), e.g. to press
    // Stop in the middle of a loop.
    void onYield(std::function<void(int)> action) { m_onYield = std::move(action); }

    MsgAnswer messageBox(const std::string& text, const std::string& title, MsgButtons buttons,
                         MsgIcon icon) override {
        MessageBoxCall call{text, title, buttons, icon, MsgAnswer::Cancel};
        if (!m_answers.empty()) {
            call.answer = m_answers.front();
            m_answers.pop_front();
        } else if (m_handler) {
            call.answer = m_handler(call);
        } else if (m_default) {
            call.answer = *m_default;
        } else {
            ADD_FAILURE() << "unexpected message box \"" << title << "\": " << text;
        }
        m_boxes.push_back(call);
        return call.answer;
    }

    void yield() override {
        ++m_yields;
        if (m_onYield) m_onYield(m_yields);
    }
    void status(const std::string& channel, const std::string& text) override {
        m_statuses.emplace_back(channel, text);
    }
    void progress(const std::string& channel, int percent) override {
        m_progress.emplace_back(channel, percent);
    }

    const std::vector<MessageBoxCall>& boxes() const { return m_boxes; }
    size_t pendingAnswers() const { return m_answers.size(); }
    int yields() const { return m_yields; }
    const std::vector<std::pair<std::string, std::string>>& statuses() const { return m_statuses; }
    const std::vector<std::pair<std::string, int>>& progressCalls() const { return m_progress; }
    // Last text shown on a channel, "" when none.
    std::string lastStatus(const std::string& channel) const {
        for (auto it = m_statuses.rbegin(); it != m_statuses.rend(); ++it)
            if (it->first == channel) return it->second;
        return "";
    }

private:
    std::deque<MsgAnswer> m_answers;
    std::optional<MsgAnswer> m_default;
    std::function<MsgAnswer(const MessageBoxCall&)> m_handler;
    std::function<void(int)> m_onYield;
    std::vector<MessageBoxCall> m_boxes;
    int m_yields = 0;
    std::vector<std::pair<std::string, std::string>> m_statuses;
    std::vector<std::pair<std::string, int>> m_progress;
};

}  // namespace vedozer::test
