// Elevated starts of real fixture programs under Wine: the working folder and
// arguments they get, and the wait that keeps timers running and ends as soon
// as the program does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "FileOperationsPlatform.h"
#include "install/Launch.h"
#include "platform/Text.h"
#include "platform/win32/Win32Ui.h"

namespace {

// How long the further setup of a wait test runs, in milliseconds: the wait
// benchmark lengthens it through KELVORA_WAIT_MS to measure what the wait costs.
int WaitMs() {
    const char* env = std::getenv("KELVORA_WAIT_MS");
    return env && *env ? std::atoi(env) : 1500;
}

// Waits up to `ms` for a record file that holds `needle`.
std::string AwaitRecord(const std::u16string& path, const std::string& needle, DWORD ms) {
    const ULONGLONG until = GetTickCount64() + ms;
    std::string bytes;
    do {
        bytes = wtest::ReadBytes(path);
        if (bytes.find(needle) != std::string::npos) return bytes;
        Sleep(20);
    } while (GetTickCount64() < until);
    return bytes;
}

std::u16string CopyFixture(const std::u16string& name, const std::u16string& to) {
    const std::u16string target = to + u"\\" + name;
    CopyFileW((wtest::FixtureDir() + L"\\" + wtest::Wide(name)).c_str(), W(target), FALSE);
    return target;
}

int g_ticks = 0;
void CALLBACK CountTick(HWND, UINT, UINT_PTR, DWORD) { ++g_ticks; }

TEST(LaunchWin32, RunElevatedStartsWithTheGivenWorkingFolder) {
    const std::u16string dir = inst::Scratch(u"launch");
    const std::u16string exe = CopyFixture(u"companion_app.exe", dir);
    const std::u16string work = inst::Scratch(u"launch-work");
    inst::RealEngine e;
    EXPECT_GT(RunElevated(e.ctx, exe, u"", work), 32);
    const std::string record = AwaitRecord(exe + u".ran.txt", "cwd=", 10000);
    EXPECT_NE(record.find("companion\r\nargs=\r\ncwd=" + text::ToUtf8(work) + "\r\n"), std::string::npos) << record;
    EXPECT_EQ(e.ui.dispatches, 0);
    EXPECT_LE(RunElevated(e.ctx, dir + u"\\missing.exe", u"", dir), 32);
}

TEST(LaunchWin32, WaitKeepsTimersRunningAndEndsWithTheProgram) {
    const int waitMs = WaitMs();
    const std::u16string dir = inst::Scratch(u"wait");
    const std::u16string exe = CopyFixture(u"further_setup.exe", dir);
    inst::RealEngine e;
    e.settings.ExeDir = dir + u"\\";
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CountTick);
    const ULONGLONG start = GetTickCount64();
    RunElevatedAndWait(e.ctx, exe, text::FromInt(waitMs) + u" extra", dir);
    const ULONGLONG returned = GetTickCount64();
    KillTimer(nullptr, timer);

    const std::string record = wtest::ReadBytes(exe + u".ran.txt");
    ASSERT_NE(record.find("state=ended"), std::string::npos) << "the wait ended before the program: " << record;
    EXPECT_NE(record.find("args=" + std::to_string(waitMs) + " extra\r\ncwd=" + text::ToUtf8(dir) + "\r\n"),
              std::string::npos)
        << record;
    const size_t at = record.find("end=");
    ASSERT_NE(at, std::string::npos);
    const ULONGLONG ended = std::strtoull(record.c_str() + at + 4, nullptr, 10);
    EXPECT_LT(returned - ended, 500u) << "the wait returns promptly once the program has ended";
    EXPECT_GE(returned - start, static_cast<ULONGLONG>(waitMs));
    EXPECT_GE(g_ticks, waitMs / 100 / 2) << "the timer kept firing during the wait";
    EXPECT_GE(e.ui.dispatches, g_ticks) << "each wake-up by a message dispatched it";
}

// The real window layer, counting how often the wait woke up to dispatch.
class CountingUi : public Ui {
public:
    explicit CountingUi(Win32Ui& real) : real_(real) {}
    int dispatches = 0;
    void Bind(FormEvents& events) override { real_.Bind(events); }
    void Unbind() override { real_.Unbind(); }
    std::unique_ptr<ControlPeer> CreatePeer(const ControlSpec& row) override { return real_.CreatePeer(row); }
    std::unique_ptr<TimerPeer> CreateTimer(int id) override { return real_.CreateTimer(id); }
    void SetCaption(const std::u16string& caption) override { real_.SetCaption(caption); }
    void SetClientSize(int width, int height) override { real_.SetClientSize(width, height); }
    void ShowMainWindow() override { real_.ShowMainWindow(); }
    void CloseMainWindow() override { real_.CloseMainWindow(); }
    void DispatchPending() override {
        ++dispatches;
        real_.DispatchPending();
    }
    void KeepAlive() override { real_.KeepAlive(); }

private:
    Win32Ui& real_;
};

TEST(LaunchWin32, AWaitAfterAConfirmedCloseStillSleepsAndEndsWithTheProgram) {
    // A close confirmed in an earlier dispatch of the run: the next wait still
    // sleeps until a message or the program's end, instead of waking for a
    // quit message again and again.
    const int waitMs = WaitMs();
    const std::u16string dir = inst::Scratch(u"wait-closed");
    const std::u16string exe = CopyFixture(u"further_setup.exe", dir);
    inst::RealEngine e;
    Win32Ui window(GetModuleHandleW(nullptr));
    CountingUi ui(window);
    Platform platform{e.fs, e.codec, e.dialogs, e.shell, e.links, e.pictures, e.print, ui};
    InstallContext ctx{e.settings, e.log, platform};
    window.CloseMainWindow();
    ASSERT_TRUE(window.CloseRecorded());
    g_ticks = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, CountTick);
    RunElevatedAndWait(ctx, exe, text::FromInt(waitMs), dir);
    KillTimer(nullptr, timer);

    const std::string record = wtest::ReadBytes(exe + u".ran.txt");
    EXPECT_NE(record.find("state=ended"), std::string::npos) << "the wait ended before the program: " << record;
    EXPECT_GE(g_ticks, waitMs / 100 / 2) << "the timer kept firing during the wait";
    // One wake-up per tick and a few for the window's own messages; a quit
    // message in the queue would wake it thousands of times.
    EXPECT_LE(ui.dispatches, g_ticks * 2 + 20);
    MSG quit;
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "no quit message was posted";
    EXPECT_TRUE(window.CloseRecorded()) << "the close is still there for the main loop";
}

TEST(LaunchWin32, RunSetupFromExeDirWithRealFiles) {
    const std::u16string dir = inst::Scratch(u"setups");
    const std::u16string exe = CopyFixture(u"further_setup.exe", dir);
    wtest::WriteBytes(exe + u".wait", "300");
    CreateDirectoryW(W(dir + u"\\folder.exe"), nullptr);
    inst::RealEngine e;
    e.settings.ExeDir = dir + u"\\";

    EXPECT_FALSE(RunSetupFromExeDir(e.ctx, u"further_setup.exe"));
    const std::string record = wtest::ReadBytes(exe + u".ran.txt");
    EXPECT_NE(record.find("args=\r\ncwd=" + text::ToUtf8(dir) + "\r\nstate=ended"), std::string::npos) << record;

    EXPECT_TRUE(RunSetupFromExeDir(e.ctx, u"missing.exe"));
    EXPECT_TRUE(RunSetupFromExeDir(e.ctx, u"folder.exe"));
    EXPECT_EQ(e.Lines(), (std::vector<std::u16string>{u"NG : File Not Found : " + dir + u"\\\\missing.exe",
                                                      u"NG : File Not Found : " + dir + u"\\\\folder.exe"}));
}

TEST(LaunchWin32, NoProcessMeansNoWait) {
    const std::u16string dir = inst::Scratch(u"noproc");
    inst::RealEngine e;
    const ULONGLONG start = GetTickCount64();
    RunElevatedAndWait(e.ctx, dir + u"\\missing.exe", u"", dir);
    EXPECT_LT(GetTickCount64() - start, 3000u);
    EXPECT_EQ(e.ui.dispatches, 0);
}

}  // namespace
