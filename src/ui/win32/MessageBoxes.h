#pragma once
#include <windows.h>

#include <string>

#include "app/presenters/DialogView.h"

namespace vedozer::win32ui {

// A standard message box centred on its owner. Without a Cancel button Esc presses the safe
// button (No, or Abort) instead of doing nothing.
int centredMessageBox(HWND owner, const std::wstring& text, const std::wstring& title, UINT flags);

// The engine's questions and notices as message boxes over the main window, and the message
// pump that keeps the windows alive during long work.
class Win32Dialogs : public DialogView {
public:
    // owner: the window the boxes belong to (the main window once it exists).
    void setOwner(HWND owner) { m_owner = owner; }
    void setProgramName(const std::string& name) { m_programName = name; }

    Answer ask(const Question& question) override;
    void showNotice(const Notice& notice) override;
    void pumpEvents() override;

private:
    HWND m_owner = nullptr;
    std::string m_programName;
};

// The message-box flags for a question: buttons, icon, and the default on the safe answer.
UINT questionFlags(const Question& question);
Answer answerFromButtonId(int id, Buttons buttons);

}  // namespace vedozer::win32ui
