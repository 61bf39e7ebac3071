// Drives the real installer from another process, as a person would: prepares
// a distribution folder, starts KelvoraInstall.exe in a chosen working folder,
// waits for and answers message boxes, reads and clicks controls by their IDs,
// types into edit boxes, closes the window and reads Setuplog.txt as bytes.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "WineTestSupport.h"

namespace e2e {

// Files, folders, the build's folders and window helpers.
using namespace wtest;

// A fresh distribution folder C:\kelvora-e2e\<name>\dist with the installer,
// and an empty working folder beside it.
class Dist {
public:
    explicit Dist(const std::wstring& name);
    std::wstring root;  // C:\kelvora-e2e\<name>
    std::wstring dir;   // ...\dist (no trailing separator)
    std::wstring work;  // ...\work
    std::wstring ExeDir() const { return dir + L"\\"; }
    // Writes a file relative to the distribution folder (folders created).
    void Write(const std::wstring& relative, const std::string& bytes) const;
    // Information.txt from UTF-8 text, saved with a UTF-8 byte-order mark.
    void Information(const std::string& utf8) const;
    // Information.txt for the update mode over `folder` (an ASCII path), with
    // UpDateShortCut as given.
    void UpdateInformation(const std::wstring& folder, const std::string& upDateShortCut) const;
    // Copies a sample program (by its fixture name) to a path relative to the folder.
    void AddFixture(const std::wstring& fixture, const std::wstring& relative) const;
    // The bytes of the setup log the installer saved in the working folder ("" when none).
    std::string SetupLog() const { return ReadBytes(work + L"\\Setuplog.txt"); }
};

struct Box {
    HWND hwnd = nullptr;
    HWND owner = nullptr;
    std::wstring caption;
    std::wstring text;
    std::vector<int> buttons;  // IDOK, IDCANCEL, ... present in the box
    bool hasIcon = false;
};

class Installer {
public:
    // Starts KelvoraInstall.exe from `dist` with `workFolder` as its working folder.
    explicit Installer(const Dist& dist, const std::wstring& workFolder = L"");
    ~Installer();
    Installer(const Installer&) = delete;
    Installer& operator=(const Installer&) = delete;

    DWORD Pid() const { return pi_.dwProcessId; }
    // The main window (class TfrmKelvoraInstall), visible or not.
    HWND MainWindow(DWORD timeoutMs = 15000);
    // Waits until the main window is visible.
    bool WaitVisible(DWORD timeoutMs = 15000);
    // The next message box of the process; none when the time runs out or the process ended.
    std::optional<Box> WaitBox(DWORD timeoutMs = 15000);
    void Answer(const Box& box, int buttonId);
    // Waits for a box and checks nothing else is open meanwhile; answers it.
    Box Expect(const std::wstring& caption, int answer = IDOK, DWORD timeoutMs = 15000);

    HWND Control(int id);
    std::wstring Text(int id);
    std::wstring Caption();
    bool Visible(int id);
    bool Enabled(int id);
    bool Checked(int id);
    // A click that returns after its handler ran (no modal box may open).
    void Click(int id);
    // A click for handlers that open a modal box.
    void ClickAsync(int id);
    void Type(int id, const std::wstring& text);
    // From the welcome page: on, the licence agreed, on to the install-folder page.
    void AgreeToLicence();
    void PostClose();

    // Waits for the process to end; returns its exit code or STILL_ACTIVE on time-out.
    DWORD WaitExit(DWORD timeoutMs = 20000);
    bool Running();

private:
    PROCESS_INFORMATION pi_{};
    HWND main_ = nullptr;
    std::vector<HWND> answered_;
};

}  // namespace e2e
