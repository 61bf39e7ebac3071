#pragma once
#include <functional>

#include "platform/Dialogs.h"

class Win32Dialogs : public Dialogs {
public:
    // `owner` gives the main window's handle (null before it exists).
    explicit Win32Dialogs(std::function<void*()> owner) : owner_(std::move(owner)) {}
    int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned flags) override;
    void ErrorBox(const std::u16string& text, const std::u16string& title) override;
    bool BrowseForFolder(const std::u16string& prompt, std::u16string& folder) override;

private:
    std::function<void*()> owner_;
};
