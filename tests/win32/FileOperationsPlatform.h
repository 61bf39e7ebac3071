// The real Win32 file system, code page, shell and link object for the
// installation engine's tests under Wine; the services those tests never
// reach are inert stand-ins.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "install/InstallContext.h"
#include "log/SetupLog.h"
#include "platform/Dialogs.h"
#include "platform/Pictures.h"
#include "platform/Platform.h"
#include "platform/PrintDevice.h"
#include "platform/Ui.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Links.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Text.h"
#include "settings/InstallerSettings.h"
#include "WineTestSupport.h"

namespace inst {

class NoDialogs : public Dialogs {
public:
    int ShowMessage(const std::u16string&, const std::u16string&, unsigned) override { return 1; }
    void ErrorBox(const std::u16string&, const std::u16string&) override {}
    bool BrowseForFolder(const std::u16string&, std::u16string&) override { return false; }
};

class NoPictures : public Pictures {
public:
    std::shared_ptr<Picture> Decode(const std::string&, const std::u16string&) override { return nullptr; }
};

class NoPrintSystem : public PrintSystem {
public:
    void RequireDefaultPrinter() override {}
    bool ShowPrintDialog() override { return false; }
    PrintDevice& CurrentPrinter() override { throw std::logic_error("no printer in these tests"); }
    std::u16string CurrentPrinterName() override { return {}; }
};

// Dispatches the thread's pending messages as the window layer does, and
// counts how often it was asked to.
class PumpUi : public Ui {
public:
    int dispatches = 0;
    void Bind(FormEvents&) override {}
    void Unbind() override {}
    std::unique_ptr<ControlPeer> CreatePeer(const ControlSpec&) override { return nullptr; }
    std::unique_ptr<TimerPeer> CreateTimer(int) override { return nullptr; }
    void SetCaption(const std::u16string&) override {}
    void SetClientSize(int, int) override {}
    void ShowMainWindow() override {}
    void CloseMainWindow() override {}
    void KeepAlive() override {}
    void DispatchPending() override {
        ++dispatches;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
};

struct RealEngine {
    Win32FileSystem fs;
    Win32Codec codec;
    NoDialogs dialogs;
    Win32Shell shell{[] { return static_cast<void*>(nullptr); }};
    Win32Links links;
    NoPictures pictures;
    NoPrintSystem print;
    PumpUi ui;
    Platform platform{fs, codec, dialogs, shell, links, pictures, print, ui};
    InstallerSettings settings;
    SetupLog log;
    InstallContext ctx{settings, log, platform};

    RealEngine() { settings.SetDefaults(); }
    const std::vector<std::u16string>& Lines() const { return log.Lines(); }
};

// A scratch folder C:\kelvora-inst\<name>, emptied first.
inline std::u16string Scratch(const std::u16string& name) {
    CreateDirectoryW(L"C:\\kelvora-inst", nullptr);
    const std::u16string dir = u"C:\\kelvora-inst\\" + name;
    wtest::RemoveTree(dir);
    CreateDirectoryW(W(dir), nullptr);
    return dir;
}

inline DWORD Attributes(const std::u16string& path) { return GetFileAttributesW(W(path)); }

// Every entry below `root` as "relative path" or "relative path\" for a
// folder, with its attributes and bytes, in sorted order.
struct TreeEntry {
    std::u16string path;
    DWORD attributes;
    std::string bytes;
    bool operator==(const TreeEntry&) const = default;
};
inline void PrintTo(const TreeEntry& e, std::ostream* os) {
    std::string path;
    for (char16_t c : e.path) path += c < 0x80 ? static_cast<char>(c) : '?';
    *os << path << " attr=" << std::hex << e.attributes << std::dec << " bytes=" << e.bytes;
}
inline std::vector<TreeEntry> Tree(const std::u16string& root) {
    const DWORD keep = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY;
    std::vector<TreeEntry> out;
    for (const wtest::Found& f : wtest::Walk(wtest::Wide(root))) {
        // Copied folders are made with default attributes: only files carry theirs.
        out.push_back({U(f.path), f.folder() ? static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY) : f.attributes & keep, f.bytes});
    }
    return out;
}

}  // namespace inst
