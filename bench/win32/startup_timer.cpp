// Times a program's start until its first message box is on the screen:
//   startup_timer ROUNDS PROGRAM [PROGRAM...]
// Starts each program ROUNDS times, in turn, in its own folder; polls every
// millisecond for a visible #32770 window of the new process, then ends the
// process. Prints each program's times and their median in milliseconds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    bool found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) != L"#32770") return TRUE;
    search->found = true;
    return FALSE;
}

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds from CreateProcess to the first visible box; negative on failure.
double TimeOnce(const std::wstring& program) {
    std::wstring folder = program.substr(0, program.rfind(L'\\'));
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const double start = Now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                        &pi)) {
        return -1;
    }
    double took = -1;
    while (Now() - start < 30000) {
        Search search{pi.dwProcessId, false};
        EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found) {
            took = Now() - start;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return took;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_timer ROUNDS PROGRAM [PROGRAM...]\n");
        return 2;
    }
    const int rounds = _wtoi(argv[1]);
    std::vector<std::vector<double>> times(static_cast<size_t>(argc - 2));
    for (int round = 0; round < rounds; ++round) {
        for (int i = 2; i < argc; ++i) {
            const double t = TimeOnce(argv[i]);
            if (t < 0) {
                std::fwprintf(stderr, L"%ls showed no message box\n", argv[i]);
                return 1;
            }
            times[static_cast<size_t>(i - 2)].push_back(t);
        }
    }
    for (int i = 2; i < argc; ++i) {
        std::vector<double>& t = times[static_cast<size_t>(i - 2)];
        std::sort(t.begin(), t.end());
        std::wprintf(L"%ls: median %.0f ms (min %.0f, max %.0f, %d runs)\n", argv[i], t[t.size() / 2], t.front(),
                     t.back(), rounds);
    }
    return 0;
}
