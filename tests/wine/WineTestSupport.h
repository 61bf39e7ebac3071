// Helpers shared by the programs that run under Wine to test the installer:
// the win32 and e2e tests, the sample programs of tests/fixtures, the tools
// of tests/tools and the copy benchmark's program. Files and folders by
// Windows path (std::wstring, or the portable std::u16string, both UTF-16
// here), the build's folders, windows and message boxes of this or another
// process, and a file held open by another process.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace wtest {

// Folders of the build, as Windows paths (from KELVORA_BIN_DIR,
// KELVORA_FIXTURE_DIR and KELVORA_SOURCE_DIR).
std::wstring BinDir();      // KelvoraInstall.exe
std::wstring FixtureDir();  // the sample programs
std::wstring SourceDir();   // the source tree

// The same UTF-16 text in the other string type.
inline std::wstring Wide(const std::u16string& s) { return std::wstring(s.begin(), s.end()); }
// UTF-8 to UTF-16.
std::wstring Widen(const std::string& utf8);
// The low byte of each character: for ASCII texts in byte strings and messages.
std::string Ascii(const std::wstring& text);
// Bytes of a text in code page 932 (the setup log's encoding).
std::string Sjis(const std::wstring& text);

// The bytes of a file; "" when it cannot be opened.
std::string ReadBytes(const std::wstring& path);
// Writes a file, replacing it, with its folders created first; `attributes`
// (when not 0) set afterwards. False when it could not be written whole.
bool TryWriteBytes(const std::wstring& path, const std::string& bytes, DWORD attributes = 0);
// The same for a test's set-up: throws when the file could not be written.
void WriteBytes(const std::wstring& path, const std::string& bytes, DWORD attributes = 0);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
// Creates every missing folder of a path that starts with a drive ("C:\...").
void MakeFolders(const std::wstring& path);
// Removes a folder and everything below it, read-only files included.
void RemoveTree(const std::wstring& path);

inline std::string ReadBytes(const std::u16string& path) { return ReadBytes(Wide(path)); }
inline void WriteBytes(const std::u16string& path, const std::string& bytes, DWORD attributes = 0) {
    WriteBytes(Wide(path), bytes, attributes);
}
inline bool FileExists(const std::u16string& path) { return FileExists(Wide(path)); }
inline bool FolderExists(const std::u16string& path) { return FolderExists(Wide(path)); }
inline void RemoveTree(const std::u16string& path) { RemoveTree(Wide(path)); }

// The entries of one folder ("." and ".." left out), in the system's order.
struct Entry {
    std::wstring name;
    DWORD attributes;
};
std::vector<Entry> Entries(const std::wstring& folder);

// Every entry below `root`, sorted by path: the path relative to `root` with a
// leading separator ("\a.txt", "\sub\" for a folder), its attributes and, for
// a file, its bytes.
struct Found {
    std::wstring path;
    DWORD attributes;
    std::string bytes;
    bool folder() const { return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};
std::vector<Found> Walk(const std::wstring& root);

// Whether the system refuses this user a write to a read-only file (Wine
// lets root write them), probed with a file in `folder`.
bool SystemRefusesWritingReadOnlyFiles(const std::wstring& folder);
inline bool SystemRefusesWritingReadOnlyFiles(const std::u16string& folder) {
    return SystemRefusesWritingReadOnlyFiles(Wide(folder));
}

// Polls `condition` every 20 ms until it holds (true) or `ms` have passed (false).
bool WaitFor(const std::function<bool()>& condition, DWORD ms);

// An environment variable of this process; "" when it is not set.
std::wstring Environment(const wchar_t* name);

// A special folder of the user (CSIDL_...).
std::wstring SpecialFolder(int csidl);

// A shell link (.lnk) read back through the link object: whether it loaded,
// its target, working folder and icon location.
struct Link {
    bool loaded = false;
    std::wstring target, workingFolder, icon;
    int iconIndex = -1;
};
Link ReadLink(const std::wstring& file);

// Windows: a window's class, its text (WM_GETTEXT, which works across
// processes), the top-level windows of a process with a class, a child by
// its control ID.
std::wstring ClassOf(HWND window);
std::wstring WindowText(HWND window);
std::vector<HWND> TopWindows(DWORD pid, const std::wstring& className, bool visibleOnly);
HWND ChildById(HWND parent, int id);

// Dialogs and message boxes (class #32770): whether a window is one, the
// first visible one of a thread, a box's message text, and a button pressed
// as a click would (a posted BN_CLICKED, so a box's own loop takes it).
bool IsDialog(HWND window);
HWND VisibleDialogOfThread(DWORD threadId);
std::wstring BoxText(HWND box);
void PressButton(HWND dialog, int buttonId);

// Runs the sample program make_metafiles, which writes side.emf, side.wmf,
// plain.wmf and welcome.emf into `folder` (created first); true when it ended
// with exit code 0 within 30 s.
bool MakeMetafiles(const std::wstring& folder);
inline bool MakeMetafiles(const std::u16string& folder) { return MakeMetafiles(Wide(folder)); }

// A file held open with no sharing by another process (the sample program
// hold_file), as a running program holds its executable, until Release() or
// the end of the scope.
class HeldFile {
public:
    explicit HeldFile(const std::wstring& path);
    explicit HeldFile(const std::u16string& path) : HeldFile(Wide(path)) {}
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    // The other process holds the file.
    bool Ok() const { return ok_; }
    void Release();

private:
    HANDLE held_ = nullptr, release_ = nullptr;
    PROCESS_INFORMATION pi_{};
    bool ok_ = false;
};

}  // namespace wtest
