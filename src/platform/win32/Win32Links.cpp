#include "platform/win32/Win32Links.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/ComPtr.h"
#include "platform/win32/Win32Text.h"

namespace {

// COM for this thread, uninitialised only when the initialisation succeeded
// (S_FALSE, already initialised, counts and must be balanced too).
class ComScope {
public:
    ComScope() : hr_(CoInitialize(nullptr)) {}
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    bool Ok() const { return SUCCEEDED(hr_); }

private:
    HRESULT hr_;
};

}  // namespace

LinkOutcome Win32Links::WriteLink(const LinkRequest& request) {
    LinkOutcome outcome;
    ComScope com;
    if (!com.Ok()) {
        outcome.stage = LinkOutcome::Stage::NoComInit;
        return outcome;
    }
    // Declared after the COM scope so that both are released before it ends:
    // the file interface first, then the link.
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.Out())) ||
        !link.Get()) {
        outcome.stage = LinkOutcome::Stage::NoLinkObject;
        return outcome;
    }
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.Out())) || !file.Get()) {
        outcome.stage = LinkOutcome::Stage::NoPersistFile;
        return outcome;
    }
    link->SetPath(W(request.target));
    link->SetWorkingDirectory(W(request.workingFolder));
    if (request.icon) link->SetIconLocation(W(*request.icon), 0);
    outcome.stage = LinkOutcome::Stage::Saved;
    outcome.saveResult = static_cast<int32_t>(file->Save(W(request.file), FALSE));
    return outcome;
}
