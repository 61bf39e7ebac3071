#include "platform/win32/Win32Shell.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/win32/SystemDlls.h"
#include "platform/win32/Win32Text.h"

namespace {

// A process started by the shell; its handle is closed with it.
class Win32Process : public StartedProcess {
public:
    explicit Win32Process(HANDLE process) : process_(process) {}
    ~Win32Process() override { CloseHandle(process_); }
    Win32Process(const Win32Process&) = delete;
    Win32Process& operator=(const Win32Process&) = delete;

    bool WaitForEndOrMessage() override {
        // One sleep on the process and the queue together: timers, repaints
        // and clicks wake it as surely as the program's end, at no cost.
        const DWORD r = MsgWaitForMultipleObjects(1, &process_, FALSE, INFINITE, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0 + 1) return false;
        // Ended, or a handle that cannot be waited on: either way no more waiting.
        return true;
    }

private:
    HANDLE process_;
};

}  // namespace

Win32Shell::Win32Shell(std::function<void*()> mainWindow) : mainWindow_(std::move(mainWindow)) {}

std::u16string Win32Shell::SpecialFolder(int csidl, unsigned bufferSize) {
    std::vector<wchar_t> buffer(bufferSize ? bufferSize : 1, L'\0');
    if (!sysdll::Shell32GetSpecialFolderPath(nullptr, buffer.data(), csidl, FALSE)) return {};
    buffer.back() = L'\0';
    return U(buffer.data());
}

intptr_t Win32Shell::ShellExecuteRunas(const std::u16string& file, const std::u16string& parameters,
                                       const std::u16string& directory) {
    HWND owner = mainWindow_ ? static_cast<HWND>(mainWindow_()) : nullptr;
    const HINSTANCE r = sysdll::Shell32ShellExecute(owner, L"runas", W(file), W(parameters), W(directory), SW_SHOW);
    return reinterpret_cast<intptr_t>(r);
}

std::unique_ptr<StartedProcess> Win32Shell::ShellExecuteExRunas(const std::u16string& file,
                                                                const std::u16string& parameters,
                                                                const std::u16string& directory) {
    SHELLEXECUTEINFOW info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.hwnd = nullptr;
    info.lpVerb = L"runas";
    info.lpFile = W(file);
    info.lpParameters = W(parameters);
    info.lpDirectory = W(directory);
    info.nShow = SW_SHOW;
    sysdll::Shell32ShellExecuteEx(&info);
    if (!info.hProcess) return nullptr;
    return std::make_unique<Win32Process>(info.hProcess);
}

void Win32Shell::DebugOutput(const std::u16string& text) { OutputDebugStringW(W(text)); }
