// Special folders, elevated program starts and the debug output.
#pragma once
#include <memory>
#include <string>

namespace csidl {
constexpr int Programs = 0x0002;
constexpr int DesktopDirectory = 0x0010;
}  // namespace csidl

// A started process; the handle is closed by the destructor.
class StartedProcess {
public:
    virtual ~StartedProcess() = default;
    // Blocks until the process has ended (true) or a message has arrived for
    // the user-interface thread (false). Burns no processor time meanwhile.
    virtual bool WaitForEndOrMessage() = 0;
};

class Shell {
public:
    virtual ~Shell() = default;
    // SHGetSpecialFolderPathW without creating the folder, into a buffer of
    // `bufferSize` characters; empty when the shell has none.
    virtual std::u16string SpecialFolder(int csidl, unsigned bufferSize) = 0;
    // ShellExecuteW(main window, "runas", file, parameters, directory, SW_SHOW).
    virtual intptr_t ShellExecuteRunas(const std::u16string& file, const std::u16string& parameters,
                                       const std::u16string& directory) = 0;
    // ShellExecuteExW with "runas", SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI,
    // no owner and SW_SHOW. Null when no process handle came back.
    virtual std::unique_ptr<StartedProcess> ShellExecuteExRunas(const std::u16string& file,
                                                                const std::u16string& parameters,
                                                                const std::u16string& directory) = 0;
    virtual void DebugOutput(const std::u16string& text) = 0;
};
