#include "WineTestSupport.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <stdexcept>

namespace wtest {
namespace {
std::wstring FullPath(const std::wstring& p) {
    wchar_t buffer[4096];
    const DWORD n = GetFullPathNameW(p.c_str(), 4096, buffer, nullptr);
    return std::wstring(buffer, n);
}

void WalkBelow(const std::wstring& root, const std::wstring& rel, std::vector<Found>& out) {
    for (const Entry& e : Entries(root + rel)) {
        const std::wstring child = rel + L"\\" + e.name;
        if (e.attributes & FILE_ATTRIBUTE_DIRECTORY) {
            out.push_back({child + L"\\", e.attributes, {}});
            WalkBelow(root, child, out);
        } else {
            out.push_back({child, e.attributes, ReadBytes(root + child)});
        }
    }
}

struct TopSearch {
    DWORD pid;
    const std::wstring& className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND w, LPARAM data) {
    auto* s = reinterpret_cast<TopSearch*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == s->pid && ClassOf(w) == s->className && (!s->visibleOnly || IsWindowVisible(w))) s->found.push_back(w);
    return TRUE;
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindChild(HWND w, LPARAM data) {
    auto* s = reinterpret_cast<ChildSearch*>(data);
    if (GetDlgCtrlID(w) == s->id) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindVisibleDialog(HWND w, LPARAM data) {
    if (!IsDialog(w) || !IsWindowVisible(w)) return TRUE;
    *reinterpret_cast<HWND*>(data) = w;
    return FALSE;
}
}  // namespace

std::wstring BinDir() { return FullPath(Widen(KELVORA_BIN_DIR)); }
std::wstring FixtureDir() { return FullPath(Widen(KELVORA_FIXTURE_DIR)); }
std::wstring SourceDir() { return FullPath(Widen(KELVORA_SOURCE_DIR)); }

std::wstring Widen(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &w[0], n);
    return w;
}

std::string Ascii(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(static_cast<char>(c));
    return out;
}

std::string Sjis(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(932, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::string out;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(h, buffer, sizeof buffer, &read, nullptr) && read) out.append(buffer, read);
    CloseHandle(h);
    return out;
}

bool TryWriteBytes(const std::wstring& path, const std::string& bytes, DWORD attributes) {
    const size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos) MakeFolders(path.substr(0, slash));
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool whole =
        bytes.empty() || (WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size());
    CloseHandle(h);
    if (attributes) SetFileAttributesW(path.c_str(), attributes);
    return whole;
}

void WriteBytes(const std::wstring& path, const std::string& bytes, DWORD attributes) {
    if (!TryWriteBytes(path, bytes, attributes)) throw std::runtime_error("cannot write the file " + Ascii(path));
}

bool FileExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void MakeFolders(const std::wstring& path) {
    for (size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == L'\\') CreateDirectoryW(path.substr(0, i).c_str(), nullptr);
    }
}

void RemoveTree(const std::wstring& path) {
    for (const Entry& e : Entries(path)) {
        const std::wstring child = path + L"\\" + e.name;
        SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (e.attributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
        else DeleteFileW(child.c_str());
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

std::vector<Entry> Entries(const std::wstring& folder) {
    std::vector<Entry> out;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        const std::wstring name = fd.cFileName;
        if (name != L"." && name != L"..") out.push_back({name, fd.dwFileAttributes});
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
}

std::vector<Found> Walk(const std::wstring& root) {
    std::vector<Found> out;
    WalkBelow(root, L"", out);
    std::sort(out.begin(), out.end(), [](const Found& a, const Found& b) { return a.path < b.path; });
    return out;
}

bool SystemRefusesWritingReadOnlyFiles(const std::wstring& folder) {
    const std::wstring probe = folder + L"\\probe.txt";
    WriteBytes(probe, "p", FILE_ATTRIBUTE_READONLY);
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const bool refused = h == INVALID_HANDLE_VALUE;
    if (!refused) CloseHandle(h);
    SetFileAttributesW(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(probe.c_str());
    return refused;
}

bool WaitFor(const std::function<bool()>& condition, DWORD ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    while (!condition()) {
        if (GetTickCount64() > until) return false;
        Sleep(20);
    }
    return true;
}

std::wstring Environment(const wchar_t* name) {
    std::wstring value(32768, L'\0');
    const DWORD n = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
    value.resize(n < value.size() ? n : 0);
    return value;
}

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE);
    return path;
}

Link ReadLink(const std::wstring& file) {
    Link r;
    if (FAILED(CoInitialize(nullptr))) return r;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
            if (persist->Load(file.c_str(), STGM_READ) == S_OK) {
                r.loaded = true;
                wchar_t buf[MAX_PATH * 4] = {};
                if (link->GetPath(buf, MAX_PATH * 4, nullptr, SLGP_RAWPATH) == S_OK) r.target = buf;
                buf[0] = 0;
                if (link->GetWorkingDirectory(buf, MAX_PATH * 4) == S_OK) r.workingFolder = buf;
                buf[0] = 0;
                link->GetIconLocation(buf, MAX_PATH * 4, &r.iconIndex);
                r.icon = buf;
            }
            persist->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return r;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring WindowText(HWND window) {
    const LRESULT n = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(n));
    return text;
}

std::vector<HWND> TopWindows(DWORD pid, const std::wstring& className, bool visibleOnly) {
    TopSearch s{pid, className, visibleOnly, {}};
    EnumWindows(&CollectTop, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND ChildById(HWND parent, int id) {
    ChildSearch s{id, nullptr};
    if (parent) EnumChildWindows(parent, &FindChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool IsDialog(HWND window) { return ClassOf(window) == L"#32770"; }

HWND VisibleDialogOfThread(DWORD threadId) {
    HWND found = nullptr;
    EnumThreadWindows(threadId, &FindVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

std::wstring BoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? WindowText(text) : std::wstring();
}

void PressButton(HWND dialog, int buttonId) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, buttonId)));
}

bool MakeMetafiles(const std::wstring& folder) {
    MakeFolders(folder);
    std::wstring cmd = L"\"" + FixtureDir() + L"\\make_metafiles.exe\" \"" + folder + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    DWORD code = 1;
    const bool ok =
        WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code) && code == 0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return ok;
}

HeldFile::HeldFile(const std::wstring& path) {
    static int count = 0;
    const std::wstring name =
        L"kelvora-hold-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
    held_ = CreateEventW(nullptr, TRUE, FALSE, (name + L"-held").c_str());
    release_ = CreateEventW(nullptr, TRUE, FALSE, (name + L"-release").c_str());
    std::wstring cmd = L"\"" + FixtureDir() + L"\\hold_file.exe\" \"" + path + L"\" " + name;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_)) {
        HANDLE both[2] = {held_, pi_.hProcess};
        ok_ = WaitForMultipleObjects(2, both, FALSE, 20000) == WAIT_OBJECT_0;
    }
}

HeldFile::~HeldFile() {
    Release();
    CloseHandle(held_);
    CloseHandle(release_);
}

void HeldFile::Release() {
    SetEvent(release_);
    if (pi_.hProcess) {
        WaitForSingleObject(pi_.hProcess, 20000);
        CloseHandle(pi_.hProcess);
        CloseHandle(pi_.hThread);
        pi_ = {};
    }
}

}  // namespace wtest
