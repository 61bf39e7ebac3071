// The real Win32 file system, code page, shell and link object for the
// installation engine's tests under Wine; the services those tests never
// reach are inert stand-ins.
#pragma once
#include <windows.h>

#include <algorithm>
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
inline void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
            else DeleteFileW(child.c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

inline std::u16string Scratch(const std::u16string& name) {
    CreateDirectoryW(L"C:\\kelvora-inst", nullptr);
    const std::u16string dir = u"C:\\kelvora-inst\\" + name;
    RemoveTree(reinterpret_cast<const wchar_t*>(dir.c_str()));
    CreateDirectoryW(W(dir), nullptr);
    return dir;
}

inline void WriteFileBytes(const std::u16string& path, const std::string& bytes, DWORD attributes = 0) {
    HANDLE h = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
    if (attributes) SetFileAttributesW(W(path), attributes);
}

inline std::string ReadFileBytes(const std::u16string& path) {
    HANDLE h = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string out;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n) out.append(buf, n);
    CloseHandle(h);
    return out;
}

inline DWORD Attributes(const std::u16string& path) { return GetFileAttributesW(W(path)); }
inline bool IsFolder(const std::u16string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}
inline bool IsFile(const std::u16string& path) {
    const DWORD a = Attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

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
inline void ListTree(const std::u16string& root, const std::u16string& rel, std::vector<TreeEntry>& out) {
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW(W(root + rel + u"\\*"), &fd);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        const std::u16string name = U(fd.cFileName);
        if (name == u"." || name == u"..") continue;
        const std::u16string child = rel + u"\\" + name;
        const DWORD keep = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            // Copied folders are made with default attributes: only files carry theirs.
            out.push_back({child + u"\\", FILE_ATTRIBUTE_DIRECTORY, {}});
            ListTree(root, child, out);
        } else {
            out.push_back({child, fd.dwFileAttributes & keep, ReadFileBytes(root + child)});
        }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
}
inline std::vector<TreeEntry> Tree(const std::u16string& root) {
    std::vector<TreeEntry> out;
    ListTree(root, u"", out);
    std::sort(out.begin(), out.end(), [](const TreeEntry& a, const TreeEntry& b) { return a.path < b.path; });
    return out;
}

inline std::u16string FixtureDir() {
    std::u16string dir;
    for (const char* p = KELVORA_FIXTURE_DIR; *p; ++p) dir.push_back(static_cast<char16_t>(*p == '/' ? '\\' : *p));
    return u"Z:" + dir;
}

}  // namespace inst
