// Message boxes, the error box and the folder browser. All are modal to the
// main window.
#pragma once
#include <string>

// Message-box flag values and answers, as the system defines them.
namespace mb {
constexpr unsigned Ok = 0x00;
constexpr unsigned OkCancel = 0x01;
constexpr unsigned IconError = 0x10;
constexpr unsigned IconQuestion = 0x20;
constexpr unsigned IconWarning = 0x30;
constexpr unsigned IconInformation = 0x40;
constexpr int IdOk = 1;
constexpr int IdCancel = 2;
}  // namespace mb

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A message box owned by the main window; returns the answer (IDOK, IDCANCEL, ...).
    virtual int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned flags) = 0;
    // The error box: error icon, OK only, titled with the application title.
    virtual void ErrorBox(const std::u16string& text, const std::u16string& title) = 0;
    // The system folder browser. `folder` is the starting folder in and the
    // chosen folder out; returns true for OK.
    virtual bool BrowseForFolder(const std::u16string& prompt, std::u16string& folder) = 0;
};
