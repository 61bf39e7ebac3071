#include "Driver.h"

#include <shellapi.h>

#include <algorithm>
#include <stdexcept>

namespace e2e {
namespace {
std::wstring Widen(const char* s) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, s, -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s, -1, &w[0], n);
    w.resize(static_cast<size_t>(n - 1));
    return w;
}

std::wstring FullPath(const std::wstring& p) {
    wchar_t buffer[4096];
    const DWORD n = GetFullPathNameW(p.c_str(), 4096, buffer, nullptr);
    return std::wstring(buffer, n);
}

std::wstring ClassOf(HWND w) {
    wchar_t name[256] = L"";
    GetClassNameW(w, name, 256);
    return name;
}

std::wstring WindowText(HWND w) {
    const LRESULT n = SendMessageW(w, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(w, WM_GETTEXT, static_cast<WPARAM>(n + 1), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(n));
    return text;
}

struct FindTop {
    DWORD pid;
    std::wstring className;
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND w, LPARAM data) {
    auto* f = reinterpret_cast<FindTop*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid == f->pid && ClassOf(w) == f->className && (!f->visibleOnly || IsWindowVisible(w))) f->found.push_back(w);
    return TRUE;
}

std::vector<HWND> TopWindows(DWORD pid, const std::wstring& className, bool visibleOnly) {
    FindTop f{pid, className, visibleOnly, {}};
    EnumWindows(&CollectTop, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

struct FindChild {
    int id;
    HWND found;
};

BOOL CALLBACK CollectChild(HWND w, LPARAM data) {
    auto* f = reinterpret_cast<FindChild*>(data);
    if (GetDlgCtrlID(w) == f->id) {
        f->found = w;
        return FALSE;
    }
    return TRUE;
}
}  // namespace

std::wstring BinDir() { return FullPath(Widen(KELVORA_BIN_DIR)); }
std::wstring FixtureDir() { return FullPath(Widen(KELVORA_FIXTURE_DIR)); }
std::wstring SourceDir() { return FullPath(Widen(KELVORA_SOURCE_DIR)); }

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

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    const size_t slash = path.rfind(L'\\');
    if (slash != std::wstring::npos) MakeFolders(path.substr(0, slash));
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write a test file");
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
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
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(child);
            else DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

bool WaitFor(const std::function<bool()>& condition, DWORD ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    while (!condition()) {
        if (GetTickCount64() > until) return false;
        Sleep(20);
    }
    return true;
}

Dist::Dist(const std::wstring& name) {
    root = L"C:\\kelvora-e2e\\" + name;
    RemoveTree(root);
    dir = root + L"\\dist";
    work = root + L"\\work";
    MakeFolders(dir);
    MakeFolders(work);
    if (!CopyFileW((BinDir() + L"\\KelvoraInstall.exe").c_str(), (dir + L"\\KelvoraInstall.exe").c_str(), FALSE)) {
        throw std::runtime_error("cannot copy the installer");
    }
}

void Dist::Write(const std::wstring& relative, const std::string& bytes) const { WriteBytes(dir + L"\\" + relative, bytes); }

void Dist::Information(const std::string& utf8) const { Write(L"Information.txt", "\xEF\xBB\xBF" + utf8); }

void Dist::AddFixture(const std::wstring& fixture, const std::wstring& relative) const {
    const std::wstring target = dir + L"\\" + relative;
    const size_t slash = target.rfind(L'\\');
    MakeFolders(target.substr(0, slash));
    if (!CopyFileW((FixtureDir() + L"\\" + fixture + L".exe").c_str(), target.c_str(), FALSE)) {
        throw std::runtime_error("cannot copy a sample program");
    }
}

Installer::Installer(const Dist& dist, const std::wstring& workFolder) {
    const std::wstring exe = dist.dir + L"\\KelvoraInstall.exe";
    const std::wstring cwd = workFolder.empty() ? dist.work : workFolder;
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, cwd.c_str(), &si, &pi_)) {
        throw std::runtime_error("cannot start the installer");
    }
}

Installer::~Installer() {
    if (Running()) {
        TerminateProcess(pi_.hProcess, 99);
        WaitForSingleObject(pi_.hProcess, 5000);
    }
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
}

bool Installer::Running() { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

HWND Installer::MainWindow(DWORD timeoutMs) {
    if (main_ && IsWindow(main_)) return main_;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        auto found = TopWindows(pi_.dwProcessId, L"TfrmKelvoraInstall", false);
        if (!found.empty()) return main_ = found.front();
        if (!Running()) break;
        Sleep(20);
    }
    return nullptr;
}

bool Installer::WaitVisible(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND w = MainWindow(timeoutMs);
        if (w && IsWindowVisible(w)) return true;
        if (!Running()) return false;
        Sleep(20);
    }
    return false;
}

std::optional<Box> Installer::WaitBox(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        for (HWND w : TopWindows(pi_.dwProcessId, L"#32770", true)) {
            if (std::find(answered_.begin(), answered_.end(), w) != answered_.end() && IsWindow(w)) continue;
            Box box;
            box.hwnd = w;
            box.owner = GetWindow(w, GW_OWNER);
            box.caption = WindowText(w);
            if (HWND t = GetDlgItem(w, 0xFFFF)) box.text = WindowText(t);
            for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) {
                HWND b = GetDlgItem(w, id);
                if (b && IsWindowVisible(b)) box.buttons.push_back(id);
            }
            HWND icon = GetDlgItem(w, 0x0440);
            // Wine keeps the icon control in boxes without an icon; only a set icon counts.
            box.hasIcon = icon && IsWindowVisible(icon) && SendMessageW(icon, STM_GETICON, 0, 0) != 0;
            return box;
        }
        if (!Running()) break;
        Sleep(20);
    }
    return std::nullopt;
}

void Installer::Answer(const Box& box, int buttonId) {
    answered_.push_back(box.hwnd);
    HWND button = GetDlgItem(box.hwnd, buttonId);
    PostMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    // Wait for the box to go away, so the next WaitBox sees only new boxes.
    for (int i = 0; i < 250 && IsWindow(box.hwnd) && IsWindowVisible(box.hwnd); ++i) Sleep(20);
}

Box Installer::Expect(const std::wstring& caption, int answer, DWORD timeoutMs) {
    auto box = WaitBox(timeoutMs);
    if (!box) throw std::runtime_error("no message box appeared");
    if (box->caption != caption) {
        Answer(*box, answer);
        throw std::runtime_error("a message box with another caption appeared");
    }
    Answer(*box, answer);
    return *box;
}

HWND Installer::Control(int id) {
    FindChild f{id, nullptr};
    if (HWND w = MainWindow()) EnumChildWindows(w, &CollectChild, reinterpret_cast<LPARAM>(&f));
    return f.found;
}

std::wstring Installer::Text(int id) {
    HWND w = Control(id);
    return w ? WindowText(w) : std::wstring();
}

std::wstring Installer::Caption() {
    HWND w = MainWindow();
    return w ? WindowText(w) : std::wstring();
}

bool Installer::Visible(int id) {
    HWND w = Control(id);
    return w && IsWindowVisible(w);
}

bool Installer::Enabled(int id) {
    HWND w = Control(id);
    return w && IsWindowEnabled(w);
}

bool Installer::Checked(int id) {
    HWND w = Control(id);
    return w && SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Installer::Click(int id) {
    if (HWND w = Control(id)) SendMessageW(w, BM_CLICK, 0, 0);
}

void Installer::ClickAsync(int id) {
    if (HWND w = Control(id)) PostMessageW(w, BM_CLICK, 0, 0);
}

void Installer::Type(int id, const std::wstring& text) {
    if (HWND w = Control(id)) SendMessageW(w, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Installer::PostClose() {
    if (HWND w = MainWindow()) PostMessageW(w, WM_CLOSE, 0, 0);
}

DWORD Installer::WaitExit(DWORD timeoutMs) {
    if (WaitForSingleObject(pi_.hProcess, timeoutMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

}  // namespace e2e
