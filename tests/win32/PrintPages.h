// Helpers for tests that print on the Wine file printer of scripts/setup-printer:
// the spooler's output file per test, the default printer taken away, and the
// PostScript output rendered with ghostscript into pages to look at.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <winspool.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "WineTestSupport.h"

namespace printpages {

// Output files go to <build>/print-<level>; KELVORA_PRINT_OUT names the level.
inline const std::string kOutDir = std::string(KELVORA_BIN_DIR) + "/../print-" + KELVORA_PRINT_OUT;

using wtest::Widen;
inline std::wstring WinPath(const std::string& unixPath) {
    std::wstring w = L"Z:" + Widen(unixPath);
    for (auto& c : w)
        if (c == L'/') c = L'\\';
    return w;
}

inline std::string ReadAll(const std::string& unixPath) { return wtest::ReadBytes(WinPath(unixPath)); }

// Points the spooler's LPT1: at a file of this test and restores the old target.
class SpoolTarget {
public:
    explicit SpoolTarget(const std::string& name) : path_(kOutDir + "/" + name + ".ps") {
        CreateDirectoryW(WinPath(kOutDir).c_str(), nullptr);
        DeleteFileW(WinPath(path_).c_str());
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Printing\\Spooler", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key_, nullptr);
        wchar_t old[1024];
        DWORD size = sizeof old;
        hadOld_ = RegQueryValueExW(key_, L"LPT1:", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
                  ERROR_SUCCESS;
        if (hadOld_) old_ = old;
        Set(Widen(path_));
    }
    ~SpoolTarget() {
        if (hadOld_) Set(old_);
        RegCloseKey(key_);
    }
    void Set(const std::wstring& target) {
        RegSetValueExW(key_, L"LPT1:", 0, REG_SZ, reinterpret_cast<const BYTE*>(target.c_str()),
                       static_cast<DWORD>((target.size() + 1) * sizeof(wchar_t)));
    }
    const std::string& path() const { return path_; }
    std::string Output() const { return ReadAll(path_); }
    // The output once the spooler has written the whole job (another process may print it).
    std::string WaitOutput(DWORD timeoutMs = 20000) const {
        const DWORD start = GetTickCount();
        std::string out;
        while ((out = Output()).find("%%EOF") == std::string::npos && GetTickCount() - start < timeoutMs) Sleep(50);
        return out;
    }
    // Starts the next job on an empty file.
    void Clear() const { DeleteFileW(WinPath(path_).c_str()); }

private:
    std::string path_;
    HKEY key_ = nullptr;
    bool hadOld_ = false;
    std::wstring old_;
};

// Takes the default printer away for the test's duration.
class NoDefaultPrinter {
public:
    NoDefaultPrinter() {
        RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows", 0,
                      KEY_ALL_ACCESS, &key_);
        wchar_t old[1024];
        DWORD size = sizeof old;
        if (RegQueryValueExW(key_, L"Device", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS)
            old_ = old;
        RegDeleteValueW(key_, L"Device");
    }
    ~NoDefaultPrinter() {
        if (!old_.empty())
            RegSetValueExW(key_, L"Device", 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()),
                           static_cast<DWORD>((old_.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    std::wstring old_;
};

// Runs a shell command line on the Linux side and waits for it. Wine starts
// ELF programs but gives no usable handle for them, so the command leaves its
// exit code in a file that is polled for.
inline int RunUnix(const std::string& command) {
    static int serial = 0;  // one per process: inline gives a single instance
    const std::string done = kOutDir + "/done-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++serial);
    const std::wstring sh = L"Z:\\bin\\sh";
    std::wstring cmd = L"\"" + sh + L"\" -c \"" + Widen(command) + L"; echo $? > " + Widen(done) + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(sh.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    for (int i = 0; i < 1200; ++i) {
        const std::string code = ReadAll(done);
        if (!code.empty() && code.back() == '\n') {
            DeleteFileW(WinPath(done).c_str());
            return std::atoi(code.c_str());
        }
        Sleep(50);
    }
    return -2;
}

struct Gray {
    int width = 0, height = 0;
    std::string pixels;
    bool Ink(int x, int y) const { return static_cast<unsigned char>(pixels[size_t(y) * width + x]) < 128; }
    // Whether any pixel in the rectangle is dark.
    bool AnyInk(int x0, int y0, int x1, int y1) const {
        for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
            for (int x = std::max(0, x0); x < std::min(width, x1); ++x)
                if (Ink(x, y)) return true;
        return false;
    }
};

inline Gray ReadPgm(const std::string& unixPath) {
    Gray g;
    const std::string bytes = ReadAll(unixPath);
    // "P5", width, height, maximum; ghostscript puts a comment line in between.
    size_t at = 0;
    std::vector<std::string> fields;
    while (fields.size() < 4 && at < bytes.size()) {
        if (bytes[at] == '#') {
            at = bytes.find('\n', at);
            if (at == std::string::npos) return {};
        } else if (!std::isspace(static_cast<unsigned char>(bytes[at]))) {
            const size_t end = bytes.find_first_of(" \t\r\n", at);
            fields.push_back(bytes.substr(at, end - at));
            at = end;
            continue;
        }
        ++at;
    }
    if (fields.size() < 4 || fields[0] != "P5" || fields[3] != "255") return {};
    ++at;  // the single blank after the maximum
    g.width = std::atoi(fields[1].c_str());
    g.height = std::atoi(fields[2].c_str());
    g.pixels = bytes.substr(std::min(at, bytes.size()));
    if (g.pixels.size() < size_t(g.width) * g.height) return {};
    return g;
}

// The pages of a PostScript file in gray at `dpi`, and the same as PNG at 100 dpi
// for a person to look at.
inline std::vector<Gray> Render(const std::string& ps, int dpi) {
    const std::string base = ps.substr(0, ps.size() - 3);
    for (int i = 1; i <= 20; ++i)
        for (const char* ext : {".pgm", ".png"})
            DeleteFileW(WinPath(base + "-" + std::to_string(i) + ext).c_str());
    const std::string gs = "gs -q -dSAFER -dBATCH -dNOPAUSE ";
    EXPECT_EQ(RunUnix(gs + "-sDEVICE=png16m -r100 -sOutputFile=" + base + "-%d.png " + ps), 0);
    const int rc = RunUnix(gs + "-sDEVICE=pgmraw -r" + std::to_string(dpi) + " -sOutputFile=" + base + "-%d.pgm " + ps);
    EXPECT_EQ(rc, 0) << "ghostscript could not render " << ps;
    std::vector<Gray> pages;
    for (int i = 1;; ++i) {
        const std::string name = base + "-" + std::to_string(i) + ".pgm";
        Gray g = ReadPgm(name);
        if (g.width == 0) break;
        DeleteFileW(WinPath(name).c_str());
        pages.push_back(std::move(g));
    }
    return pages;
}

inline int Count(const std::string& hay, const std::string& needle) {
    int n = 0;
    for (size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1)) ++n;
    return n;
}

// The default printer's own metrics, beyond what the text printer reads.
struct Metrics {
    int offsetX, offsetY, dpiX, dpiY, width, height;
};
inline Metrics DefaultPrinterMetrics() {
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    Metrics m{};
    if (!PrintDlgW(&pd)) return m;
    m = {GetDeviceCaps(pd.hDC, PHYSICALOFFSETX), GetDeviceCaps(pd.hDC, PHYSICALOFFSETY),
         GetDeviceCaps(pd.hDC, LOGPIXELSX),      GetDeviceCaps(pd.hDC, LOGPIXELSY),
         GetDeviceCaps(pd.hDC, HORZRES),         GetDeviceCaps(pd.hDC, VERTRES)};
    DeleteDC(pd.hDC);
    GlobalFree(pd.hDevMode);
    GlobalFree(pd.hDevNames);
    return m;
}

}  // namespace printpages
