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

// A Host for unit tests: questions are answered from a queue (or a handler), and every question
// and event is recorded so a test can check kinds, texts, titles, buttons and progress afterwards.
class ScriptedHost : public Host {
public:
    struct Asked {
        QuestionKind kind;
        std::string text;
        std::string title;
        Buttons buttons;
        QuestionIcon icon;
        Answer answer;
    };

    // Answers for the next questions, in order.
    ScriptedHost& answer(Answer a) {
        m_answers.push_back(a);
        return *this;
    }
    ScriptedHost& answers(std::initializer_list<Answer> list) {
        for (Answer a : list) m_answers.push_back(a);
        return *this;
    }
    // Used when the queue is empty; without it an unexpected question fails the test and is
    // answered Cancel.
    void setDefaultAnswer(std::optional<Answer> a) { m_default = a; }
    // Decides instead of the queue when set (the queue still wins while it has answers).
    void setHandler(std::function<Answer(const Asked&)> handler) { m_handler = std::move(handler); }
    // Runs on every yield with the count of yields so far (1 for the first), e.g. to press
    // Stop in the middle of a loop.
    void onYield(std::function<void(int)> action) { m_onYield = std::move(action); }

    Answer ask(const Question& q) override {
        Asked call{q.kind, q.text, q.title, q.buttons, q.icon, Answer::Cancel};
        if (!m_answers.empty()) {
            call.answer = m_answers.front();
            m_answers.pop_front();
        } else if (m_handler) {
            call.answer = m_handler(call);
        } else if (m_default) {
            call.answer = *m_default;
        } else {
            ADD_FAILURE() << "unexpected question \"" << q.title << "\": " << q.text;
        }
        m_asked.push_back(call);
        return call.answer;
    }

    void yield() override {
        ++m_yields;
        if (m_onYield) m_onYield(m_yields);
    }
    void onScanStageStarted(const ScanStageStarted& e) override { stagesStarted.push_back(e); }
    void onScanProgress(const ScanProgress& e) override { scanProgress.push_back(e); }
    void onItemFound(const ItemFound& e) override { found.push_back(e); }
    void onRemovalProgress(const RemovalProgress& e) override { removalProgress.push_back(e); }
    void onItemRemoved(const ItemRemoved& e) override { removed.push_back(e.detection); }
    void onUpdateProgress(const UpdateProgress& e) override { updateProgress.push_back(e); }
    void onNotice(const Notice& n) override { notices.push_back(n); }

    const std::vector<Asked>& asked() const { return m_asked; }
    size_t pendingAnswers() const { return m_answers.size(); }
    int yields() const { return m_yields; }
    // Texts of the update status lines, in order.
    std::vector<std::string> updateTexts() const {
        std::vector<std::string> out;
        for (const auto& u : updateProgress) out.push_back(u.text);
        return out;
    }
    std::string lastUpdateText(UpdatePhase phase) const {
        for (auto it = updateProgress.rbegin(); it != updateProgress.rend(); ++it)
            if (it->phase == phase) return it->text;
        return "";
    }

    std::vector<ScanStageStarted> stagesStarted;
    std::vector<ScanProgress> scanProgress;
    std::vector<ItemFound> found;
    std::vector<RemovalProgress> removalProgress;
    std::vector<Detection> removed;
    std::vector<UpdateProgress> updateProgress;
    std::vector<Notice> notices;

private:
    std::deque<Answer> m_answers;
    std::optional<Answer> m_default;
    std::function<Answer(const Asked&)> m_handler;
    std::function<void(int)> m_onYield;
    std::vector<Asked> m_asked;
    int m_yields = 0;
};

}  // namespace vedozer::test
