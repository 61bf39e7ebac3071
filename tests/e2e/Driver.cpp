#include "Driver.h"

#include <shellapi.h>

#include <algorithm>
#include <stdexcept>

#include "wizard/ControlIds.h"

namespace e2e {

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

void Dist::UpdateInformation(const std::wstring& folder, const std::string& upDateShortCut) const {
    Information("[Application]\r\nUpDate=Yes\r\nFolderName=" + Ascii(folder) + "\r\nUpDateShortCut=" + upDateShortCut +
                "\r\n");
}

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
            box.text = BoxText(w);
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
    PressButton(box.hwnd, buttonId);
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

HWND Installer::Control(int id) { return ChildById(MainWindow(), id); }

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

void Installer::AgreeToLicence() {
    Click(ids::Button_Next);
    Click(ids::RadioButton_02_Yes);
    Click(ids::Button_Next);
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
