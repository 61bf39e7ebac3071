// The shell: special folders, elevated starts and the debug output.
#pragma once
#include <functional>

#include "platform/Shell.h"

class Win32Shell : public Shell {
public:
    // `mainWindow` gives the handle of the main window (HWND), the owner of
    // anything the shell shows for ShellExecuteW; it may give null.
    explicit Win32Shell(std::function<void*()> mainWindow);

    std::u16string SpecialFolder(int csidl, unsigned bufferSize) override;
    intptr_t ShellExecuteRunas(const std::u16string& file, const std::u16string& parameters,
                               const std::u16string& directory) override;
    std::unique_ptr<StartedProcess> ShellExecuteExRunas(const std::u16string& file, const std::u16string& parameters,
                                                        const std::u16string& directory) override;
    void DebugOutput(const std::u16string& text) override;

private:
    std::function<void*()> mainWindow_;
};
