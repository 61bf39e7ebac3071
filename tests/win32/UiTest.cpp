// The wizard window built on the real Win32 window layer under Wine: controls,
// texts, visibility, the wizard keys, timers, the close protocol and DPI scaling,
// all checked from the Win32 side.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <thread>
#include <string>
#include <vector>

#include "platform/Dialogs.h"
#include "platform/win32/Win32Codec.h"
#include "platform/win32/Win32Dialogs.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Links.h"
#include "platform/win32/Win32Pictures.h"
#include "platform/win32/Win32Print.h"
#include "platform/win32/Win32Shell.h"
#include "platform/win32/Win32Text.h"
#include "platform/win32/Win32Ui.h"
#include "wizard/ControlIds.h"
#include "wizard/Kelvorainst.h"
#include "wizard/Layout.h"
#include "print/Textprintclass.h"
#include "WineTestSupport.h"

namespace {

// Message boxes answered from a script and recorded, so no real box blocks the test.
class ScriptedDialogs : public Dialogs {
public:
    struct Asked {
        std::u16string text, caption;
        unsigned flags;
    };
    std::vector<Asked> asked;
    std::deque<int> answers;  // IDOK when empty
    int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned flags) override {
        asked.push_back({text, caption, flags});
        if (answers.empty()) return mb::IdOk;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ErrorBox(const std::u16string& text, const std::u16string& title) override { asked.push_back({text, title, 0x10}); }
    bool BrowseForFolder(const std::u16string&, std::u16string&) override { return false; }
};

// A control's text as the portable code holds it.
std::u16string WindowText(HWND window) { return U(wtest::WindowText(window)); }
using wtest::ClassOf;

void CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); }

// Answers the thread's open message box with "No".
bool g_boxAnswered = false;
void CALLBACK AnswerTheBoxWithNo(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND box = wtest::VisibleDialogOfThread(GetCurrentThreadId())) {
        wtest::PressButton(box, IDNO);
        g_boxAnswered = true;
    }
}

bool QuitPosted() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// The real form on the real window layer, with message boxes scripted.
class WizardWindow : public ::testing::Test {
protected:
    Win32Ui ui{GetModuleHandleW(nullptr)};
    std::function<void*()> owner = [this] { return ui.MainWindowHandle(); };
    Win32FileSystem fs;
    Win32Codec codec;
    ScriptedDialogs dialogs;
    Win32Shell shell{owner};
    Win32Links links;
    Win32Pictures pictures;
    Win32PrintSystem print{owner, [this] { ui.DispatchPending(); }};
    Platform platform{fs, codec, dialogs, shell, links, pictures, print, ui};
    AppState state;
    std::unique_ptr<TfrmKelvoraInstall> form;

    void SetUp() override {
        form = std::make_unique<TfrmKelvoraInstall>(platform, state);
        ASSERT_TRUE(form->ShowFirstTime());
        dialogs.asked.clear();  // the start-up notices
        Pump();
    }
    void TearDown() override {
        form.reset();
        QuitPosted();
    }

    HWND Main() const { return static_cast<HWND>(ui.MainWindowHandle()); }
    HWND Handle(int id) const { return ui.ControlHandle(id); }
    int Page() const { return form->PageControl.ActivePageIndex(); }
    void Pump(int milliseconds = 0) {
        const DWORD until = GetTickCount() + static_cast<DWORD>(milliseconds);
        do {
            ui.DispatchPending();
            if (milliseconds) Sleep(5);
        } while (static_cast<LONG>(until - GetTickCount()) > 0);
    }
    // A click as the button itself reports it.
    void Click(int id) {
        SendMessageW(Handle(id), BM_CLICK, 0, 0);
        Pump();
    }
    // A key as the keyboard delivers it: to the focused control, with the
    // modifier keys held in the thread's key state.
    void Press(WPARAM key, std::initializer_list<int> held = {}) {
        BYTE keys[256];
        GetKeyboardState(keys);
        BYTE saved[256];
        memcpy(saved, keys, sizeof keys);
        for (int k : held) keys[k] = 0x80;
        SetKeyboardState(keys);
        HWND target = GetFocus() ? GetFocus() : Main();
        PostMessageW(target, WM_KEYDOWN, key, 1);
        PostMessageW(target, WM_KEYUP, key, 0xC0000001);
        Pump();
        SetKeyboardState(saved);
    }
    // The main loop, ended with 99 by a watchdog when no quit request comes.
    int RunLoopWithWatchdog() {
        const UINT_PTR watchdog = SetTimer(nullptr, 0, 3000, &Watchdog);
        const int code = ui.RunMessageLoop();
        KillTimer(nullptr, watchdog);
        return code;
    }
    int AbandonBoxes() const {
        int n = 0;
        for (const auto& box : dialogs.asked) n += box.caption == u"セットアップ中止確認";
        return n;
    }
};

TEST_F(WizardWindow, EveryDescribedControlIsAStandardControlWithItsIdClassStylesAndPlace) {
    ASSERT_EQ(ui.Dpi(), 96u) << "the test prefix runs at 96 dpi";
    for (const ControlSpec& row : layout::WindowDescription()) {
        SCOPED_TRACE(row.name);
        HWND h = Handle(row.id);
        ASSERT_TRUE(h);
        EXPECT_EQ(GetDlgCtrlID(h), row.id);
        EXPECT_EQ(GetParent(h), row.parent ? Handle(row.parent) : Main());
        const LONG style = GetWindowLongW(h, GWL_STYLE), ex = GetWindowLongW(h, GWL_EXSTYLE);
        const std::wstring cls = ClassOf(h);
        auto is = [&](const wchar_t* name) { return lstrcmpiW(cls.c_str(), name) == 0; };
        switch (row.kind) {
            case ControlKind::Page:
            case ControlKind::Panel: EXPECT_TRUE(is(L"KelvoraContainer")); break;
            case ControlKind::Image: EXPECT_TRUE(is(L"KelvoraPicture")); break;
            case ControlKind::Label:
                EXPECT_TRUE(is(L"Static"));
                EXPECT_TRUE(style & SS_NOPREFIX);
                EXPECT_EQ(style & SS_TYPEMASK, (row.flags & cf::WordWrap) ? SS_LEFT : SS_LEFTNOWORDWRAP);
                break;
            case ControlKind::Button:
                EXPECT_TRUE(is(L"Button"));
                EXPECT_EQ(style & BS_TYPEMASK, (row.flags & cf::DefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
                break;
            case ControlKind::CheckBox:
                EXPECT_TRUE(is(L"Button"));
                EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
                break;
            case ControlKind::RadioButton:
                EXPECT_TRUE(is(L"Button"));
                EXPECT_EQ(style & BS_TYPEMASK, BS_AUTORADIOBUTTON);
                break;
            case ControlKind::Edit:
                EXPECT_TRUE(is(L"Edit"));
                EXPECT_FALSE(style & ES_MULTILINE);
                EXPECT_TRUE(style & ES_AUTOHSCROLL);
                EXPECT_TRUE(ex & WS_EX_CLIENTEDGE);
                EXPECT_EQ((style & ES_READONLY) != 0, (row.flags & cf::ReadOnly) != 0);
                break;
            case ControlKind::Memo:
                EXPECT_TRUE(is(L"Edit"));
                EXPECT_TRUE(style & ES_MULTILINE);
                EXPECT_TRUE(style & ES_WANTRETURN);
                EXPECT_EQ((style & WS_VSCROLL) != 0, (row.flags & cf::VScroll) != 0);
                EXPECT_EQ((ex & WS_EX_CLIENTEDGE) != 0, !(row.flags & cf::NoBorder));
                EXPECT_EQ((style & ES_READONLY) != 0, (row.flags & cf::ReadOnly) != 0);
                break;
            case ControlKind::ProgressBar: EXPECT_TRUE(is(L"msctls_progress32")); break;
        }
        if (row.kind == ControlKind::RadioButton) {
            // A radio group is one tab stop, carried by its selected button.
            EXPECT_EQ((style & WS_TABSTOP) != 0, SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED);
        } else {
            EXPECT_EQ((style & WS_TABSTOP) != 0, (row.flags & cf::TabStop) != 0);
        }
        EXPECT_EQ((style & WS_GROUP) != 0, (row.flags & cf::GroupStart) != 0);
        RECT r;
        GetWindowRect(h, &r);
        MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, row.left);
        EXPECT_EQ(r.top, row.top);
        EXPECT_EQ(r.right - r.left, row.width);
        EXPECT_EQ(r.bottom - r.top, row.height);
    }
    EXPECT_FALSE(IsWindowEnabled(Handle(ids::Edit_04_StartMenu))) << "the start-menu box is disabled";
}

TEST_F(WizardWindow, MainWindowIsAFixedWhiteWizardOf502By391WithTheTaskbarButton) {
    wchar_t cls[64] = {};
    GetClassNameW(Main(), cls, 64);
    EXPECT_STREQ(cls, L"TfrmKelvoraInstall");
    RECT client;
    GetClientRect(Main(), &client);
    EXPECT_EQ(client.right, 502);
    EXPECT_EQ(client.bottom, 391);
    const LONG style = GetWindowLongW(Main(), GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongW(Main(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(Main(), GW_OWNER), nullptr);
    EXPECT_TRUE(IsWindowVisible(Main()));
    // Centred on the screen.
    RECT frame;
    GetWindowRect(Main(), &frame);
    const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_LE(std::abs((frame.left + frame.right) / 2 - cx / 2), 1);
    EXPECT_LE(std::abs((frame.top + frame.bottom) / 2 - cy / 2), 1);
    // Fonts: Tahoma 11 px for everything, bold 19 px for the big titles.
    LOGFONTW normal{}, title{}, header{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Handle(ids::Label4), WM_GETFONT, 0, 0)), sizeof normal, &normal);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Handle(ids::Label_01_01), WM_GETFONT, 0, 0)), sizeof title, &title);
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Handle(ids::HeaderTitle_02), WM_GETFONT, 0, 0)), sizeof header, &header);
    EXPECT_STREQ(normal.lfFaceName, L"Tahoma");
    EXPECT_EQ(normal.lfHeight, -11);
    EXPECT_EQ(normal.lfWeight, FW_NORMAL);
    EXPECT_EQ(normal.lfCharSet, DEFAULT_CHARSET);
    EXPECT_EQ(title.lfHeight, -19);
    EXPECT_EQ(title.lfWeight, FW_BOLD);
    EXPECT_EQ(header.lfHeight, -11);
    EXPECT_EQ(header.lfWeight, FW_BOLD);
}

TEST_F(WizardWindow, TextsOfTheModelAreMirroredAndWhatTheUserChangesIsReadBack) {
    EXPECT_EQ(WindowText(Main()), form->WindowCaption());
    for (const ControlSpec& row : layout::WindowDescription()) {
        if (row.kind != ControlKind::Label && row.kind != ControlKind::Button && row.kind != ControlKind::CheckBox &&
            row.kind != ControlKind::RadioButton) {
            continue;
        }
        SCOPED_TRACE(row.name);
        EXPECT_EQ(WindowText(Handle(row.id)), form->ControlById(row.id)->Caption());
    }
    EXPECT_EQ(WindowText(Handle(ids::Label4)),
              u"以下の使用許諾傾契約書をお読みください。インストールを続行するにはこの契約書に同意する必要があります。");
    EXPECT_EQ(WindowText(Handle(ids::Memo01)), form->Memo01.Text());
    EXPECT_NE(WindowText(Handle(ids::Memo01)).find(u"\r\n"), std::u16string::npos);
    EXPECT_EQ(WindowText(Handle(ids::Edit_03_Folder)), form->Settings().InstallDir);

    form->Button_Next.SetCaption(u"インストール");
    EXPECT_EQ(WindowText(Handle(ids::Button_Next)), u"インストール");

    SendMessageW(Handle(ids::Edit_03_Folder), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"D:\\別の場所"));
    EXPECT_EQ(form->Edit_03_Folder.Text(), u"D:\\別の場所");
    ASSERT_TRUE(form->CheckBox_05_DesktopIcon.Checked());
    SendMessageW(Handle(ids::CheckBox_05_DesktopIcon), BM_CLICK, 0, 0);
    EXPECT_FALSE(form->CheckBox_05_DesktopIcon.Checked());
    EXPECT_EQ(SendMessageW(Handle(ids::RadioButton_02_No), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(WizardWindow, OnlyTheActivePageIsShownAndTheBarFollowsTheModelThroughClicks) {
    const int pages[] = {ids::TabSheet01, ids::TabSheet02, ids::TabSheet03, ids::TabSheet04, ids::TabSheet05,
                         ids::TabSheet06, ids::TabSheet07, ids::TabSheet08, ids::TabSheet09};
    const int bar[] = {ids::Button_Prev, ids::Button_Next, ids::Button_Cansel, ids::Button_Print, ids::Button_Reset};
    auto check = [&](int expectedPage) {
        SCOPED_TRACE(expectedPage);
        ASSERT_EQ(Page(), expectedPage);
        for (int i = 0; i < 9; ++i) EXPECT_EQ(IsWindowVisible(Handle(pages[i])) != FALSE, i == expectedPage) << i;
        for (int id : bar) {
            const Control* c = form->ControlById(id);
            EXPECT_EQ(IsWindowVisible(Handle(id)) != FALSE, c->Visible()) << c->Row().name;
            EXPECT_EQ(IsWindowEnabled(Handle(id)) != FALSE, c->Enabled()) << c->Row().name;
            EXPECT_EQ(WindowText(Handle(id)), c->Caption()) << c->Row().name;
        }
    };
    check(0);
    EXPECT_FALSE(IsWindowVisible(Handle(ids::Button_Prev)));
    Click(ids::Button_Next);
    check(1);
    EXPECT_FALSE(IsWindowEnabled(Handle(ids::Button_Next))) << "the licence is not yet accepted";
    Click(ids::RadioButton_02_Yes);
    check(1);
    EXPECT_TRUE(IsWindowEnabled(Handle(ids::Button_Next)));
    EXPECT_EQ(SendMessageW(Handle(ids::RadioButton_02_No), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    Click(ids::RadioButton_02_No);
    EXPECT_FALSE(IsWindowEnabled(Handle(ids::Button_Next)));
    Click(ids::RadioButton_02_Yes);
    for (int page = 2; page <= 5; ++page) {
        Click(ids::Button_Next);
        check(page);
    }
    EXPECT_EQ(WindowText(Handle(ids::Button_Next)), u"インストール");
    EXPECT_TRUE(IsWindowVisible(Handle(ids::Memo06)));
    EXPECT_EQ(WindowText(Handle(ids::Memo06)), form->Memo06.Text());
    DWORD start = 1, end = 1;
    SendMessageW(Handle(ids::Memo06), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u) << "the summary's caret stands at its start";
    EXPECT_EQ(end, 0u);
    EXPECT_EQ(SendMessageW(Handle(ids::Memo06), EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    Click(ids::Button_Prev);
    check(4);
    EXPECT_EQ(WindowText(Handle(ids::Button_Next)), u"次へ");
}

TEST_F(WizardWindow, EnterPressesNextOnlyWhileItIsShownAndEnabledAndNeverInAMemo) {
    Press(VK_RETURN);
    ASSERT_EQ(Page(), 1) << "Enter pressed Next on the welcome page";
    Press(VK_RETURN);
    EXPECT_EQ(Page(), 1) << "Next is disabled until the licence is accepted";
    Click(ids::RadioButton_02_Yes);
    SetFocus(Handle(ids::Memo02));
    const size_t before = WindowText(Handle(ids::Memo02)).size();
    Press(VK_RETURN);
    EXPECT_EQ(Page(), 1) << "Enter in the licence memo breaks the line";
    EXPECT_EQ(WindowText(Handle(ids::Memo02)).size(), before + 2);
    SetFocus(Handle(ids::RadioButton_02_Yes));
    Press(VK_RETURN);
    EXPECT_EQ(Page(), 2);
    for (int page = 3; page <= 5; ++page) Click(ids::Button_Next);
    SetFocus(Handle(ids::Memo06));
    Press(VK_RETURN);
    EXPECT_EQ(Page(), 5) << "Enter in the summary memo does not start the installation";
    // The installing page: Next is hidden.
    Click(ids::Button_Next);
    ASSERT_EQ(Page(), 6);
    form->Timer_01.SetEnabled(false);  // no installation run in this test
    Press(VK_RETURN);
    EXPECT_EQ(Page(), 6);
    EXPECT_FALSE(QuitPosted());
}

TEST_F(WizardWindow, EscAsksTheAbandonConfirmationOnlyWhileCancelIsShown) {
    dialogs.answers = {mb::IdCancel};
    Press(VK_ESCAPE);
    EXPECT_EQ(AbandonBoxes(), 1);
    EXPECT_TRUE(IsWindowVisible(Main())) << "Cancel in the confirmation keeps the window";
    EXPECT_EQ(Page(), 0);
    EXPECT_FALSE(QuitPosted());

    // The finished page hides Cancel: Esc does nothing there (a close would go
    // ahead without a question on that page).
    form->PageControl.SetActivePageIndex(7);
    ASSERT_FALSE(IsWindowVisible(Handle(ids::Button_Cansel)));
    Press(VK_ESCAPE);
    EXPECT_EQ(AbandonBoxes(), 1);
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_FALSE(QuitPosted());
}

TEST_F(WizardWindow, TabWalksTheShownTabStopsAndCtrlTabDoesNothing) {
    Click(ids::Button_Next);  // licence page: memo, the radio group, Back, Cancel, Print (Next disabled)
    SetFocus(Main());
    const int expected[] = {ids::Memo02, ids::RadioButton_02_No, ids::Button_Prev, ids::Button_Cansel,
                            ids::Button_Print, ids::Memo02};
    for (int id : expected) {
        Press(VK_TAB);
        EXPECT_EQ(GetFocus(), Handle(id)) << form->ControlById(id)->Row().name;
    }
    Press(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(GetFocus(), Handle(ids::Button_Print));
    Press(VK_TAB, {VK_SHIFT, VK_CONTROL});
    Press(VK_TAB, {VK_CONTROL});
    EXPECT_EQ(GetFocus(), Handle(ids::Button_Print)) << "Ctrl+Tab neither moves the focus";
    EXPECT_EQ(Page(), 1) << "nor the page";

    // An arrow in the radio group selects the other answer, as a click does.
    SetFocus(Handle(ids::RadioButton_02_No));
    Press(VK_UP);
    EXPECT_EQ(GetFocus(), Handle(ids::RadioButton_02_Yes));
    EXPECT_TRUE(form->RadioButton_02_Yes.Checked());
    EXPECT_TRUE(IsWindowEnabled(Handle(ids::Button_Next))) << "the selection re-ran the licence gate";
}

TEST_F(WizardWindow, AFocusedPushButtonTakesTheDefaultBorderAndEnter) {
    auto type = [&](int id) { return GetWindowLongW(Handle(id), GWL_STYLE) & BS_TYPEMASK; };
    SetFocus(Handle(ids::Button_Cansel));
    Pump();
    EXPECT_EQ(type(ids::Button_Cansel), BS_DEFPUSHBUTTON);
    EXPECT_EQ(type(ids::Button_Next), BS_PUSHBUTTON);
    dialogs.answers = {mb::IdCancel};
    Press(VK_RETURN);
    EXPECT_EQ(AbandonBoxes(), 1) << "Enter pressed the focused Cancel button";
    EXPECT_EQ(Page(), 0);
    SetFocus(Main());
    Pump();
    EXPECT_EQ(type(ids::Button_Next), BS_DEFPUSHBUTTON);
    EXPECT_EQ(type(ids::Button_Cansel), BS_PUSHBUTTON);
}

TEST_F(WizardWindow, CloseBoxAndSessionEndAskTheCloseCheckAndNeverDestroyTheWindow) {
    dialogs.answers = {mb::IdCancel};
    SendMessageW(Main(), WM_CLOSE, 0, 0);
    ASSERT_EQ(AbandonBoxes(), 1);
    EXPECT_EQ(dialogs.asked.back().flags, mb::IconQuestion | mb::OkCancel);
    EXPECT_TRUE(IsWindow(Main()));
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_FALSE(QuitPosted());

    dialogs.answers = {mb::IdCancel};
    EXPECT_EQ(SendMessageW(Main(), WM_QUERYENDSESSION, 0, 0), FALSE);
    dialogs.answers = {mb::IdOk};
    EXPECT_EQ(SendMessageW(Main(), WM_QUERYENDSESSION, 0, 0), TRUE);
    EXPECT_EQ(AbandonBoxes(), 3);

    // Alt+F4 and the system menu arrive as SC_CLOSE; OK ends the main loop,
    // which hides the window; it stays until destroyed.
    dialogs.answers = {mb::IdOk};
    SendMessageW(Main(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(AbandonBoxes(), 4);
    EXPECT_TRUE(IsWindowVisible(Main())) << "the close waits for the main loop";
    EXPECT_EQ(RunLoopWithWatchdog(), 0) << "the confirmed close ends the main loop";
    EXPECT_TRUE(IsWindow(Main()));
    EXPECT_FALSE(IsWindowVisible(Main()));
}

TEST_F(WizardWindow, AConfirmedCloseIsKeptForTheMainLoopWhileHandlersDispatchPendingMessages) {
    // As during the wait for a further setup: a close confirmed inside a
    // dispatch leaves the window as it is, the rest of the queue is still
    // delivered, no quit message reaches the nested loops, and the close
    // survives every later dispatch until the main loop sees it.
    dialogs.answers = {mb::IdOk};
    PostMessageW(Main(), WM_CLOSE, 0, 0);
    PostMessageW(Handle(ids::Button_Next), BM_CLICK, 0, 0);
    ui.DispatchPending();
    EXPECT_EQ(AbandonBoxes(), 1);
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_EQ(Page(), 1) << "the click queued before the close was still delivered";
    ui.DispatchPending();
    ui.DispatchPending();
    EXPECT_FALSE(QuitPosted()) << "nested loops would end on a quit message";
    EXPECT_EQ(RunLoopWithWatchdog(), 0) << "the confirmed close was lost";
    EXPECT_FALSE(IsWindowVisible(Main()));
}

// A long operation inside a handler (a folder copy) calls KeepAlive: the
// window answers what other programs send (the system's hung-window probe
// WM_NULL) but runs no handler meanwhile. A close and two clicks sent by
// another program, and a posted click, are handled only after the operation,
// in the order they came.
TEST_F(WizardWindow, KeepAliveAnswersProbesAndRunsNoHandlerUntilTheOperationHasReturned) {
    std::atomic<int> step{0};
    std::atomic<bool> probeAnswered{false};
    const HWND main = Main(), next = Handle(ids::Button_Next);
    PostMessageW(next, BM_CLICK, 0, 0);  // input already queued before the operation
    std::thread other([&] {
        DWORD_PTR result = 0;
        probeAnswered = SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0;
        step = 1;
        SendMessageW(main, WM_CLOSE, 0, 0);
        step = 2;
        SendMessageW(next, BM_CLICK, 0, 0);
        SendMessageW(next, BM_CLICK, 0, 0);
        step = 3;
    });
    // The operation: steps of 10 ms, each followed by KeepAlive, until the
    // other program is done (or 5 s have passed).
    const DWORD start = GetTickCount();
    while (step < 3 && GetTickCount() - start < 5000) {
        Sleep(10);
        ui.KeepAlive();
        EXPECT_EQ(AbandonBoxes(), 0) << "no close check during the operation";
        EXPECT_EQ(Page(), 0) << "no click during the operation";
    }
    other.join();
    EXPECT_TRUE(probeAnswered) << "the probe timed out: the window would count as hung";
    EXPECT_EQ(step, 3) << "a sent message waited for the end of the operation";
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(AbandonBoxes(), 0);

    // After the operation: the queued click first, then the close (answered
    // Cancel), then both sent clicks, as a main loop delivers them.
    dialogs.answers = {mb::IdCancel};
    Pump();
    EXPECT_EQ(AbandonBoxes(), 1) << "the close sent during the operation is handled now";
    EXPECT_EQ(Page(), 1) << "the posted click, then the sent ones, on pages they were meant for";
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_FALSE(QuitPosted());
}

TEST_F(WizardWindow, AMessageBoxOpenedAfterAConfirmedCloseWaitsForItsAnswer) {
    // The abandon question confirmed during a wait, then the next notice of the
    // run: the notice stays open until it is answered.
    dialogs.answers = {mb::IdOk};
    SendMessageW(Main(), WM_CLOSE, 0, 0);
    ASSERT_EQ(AbandonBoxes(), 1);
    Win32Dialogs real(owner);
    g_boxAnswered = false;
    // Answered "No" by a timer some time after it opened; a box ended by a
    // quit message returns at once with something else.
    const UINT_PTR answer = SetTimer(nullptr, 0, 400, &AnswerTheBoxWithNo);
    const int result = real.ShowMessage(u"次のセットアップを行います。", u"確認", MB_YESNO);
    KillTimer(nullptr, answer);
    EXPECT_EQ(result, IDNO);
    EXPECT_TRUE(g_boxAnswered);
    EXPECT_TRUE(IsWindowVisible(Main()));
    EXPECT_EQ(RunLoopWithWatchdog(), 0);
}

TEST_F(WizardWindow, TheWizardKeysWorkWhileAPageIsSpooled) {
    // Esc pressed while the spooler takes a page reaches the wizard through
    // the print's abort check: the cancel button asks the abandon question.
    Click(ids::Button_Next);
    ASSERT_EQ(Page(), 1);
    SetFocus(Handle(ids::RadioButton_02_No));
    PostMessageW(Handle(ids::RadioButton_02_No), WM_KEYDOWN, VK_ESCAPE, 1);
    dialogs.answers = {mb::IdCancel};
    PrintDevice& device = print.CurrentPrinter();
    T_TextPrintClass printer;
    printer.SetPrinter(&device);
    printer.Lines = {u"一行目"};
    const int checksBefore = print.AbortChecks();
    printer.PrintDocument();
    ASSERT_GT(print.AbortChecks(), checksBefore) << "the spooler never asked the abort check";
    EXPECT_EQ(AbandonBoxes(), 1) << "Esc during the print pressed the cancel button";
    EXPECT_EQ(Page(), 1);
}

TEST_F(WizardWindow, TimerTicksReachTheFormOncePerArming) {
    // From the installing page Timer_02 moves on to the finished page, once.
    form->PageControl.SetActivePageIndex(6);
    form->Timer_01.SetEnabled(false);
    form->Timer_02.SetEnabled(true);
    Pump(700);
    EXPECT_EQ(Page(), 6) << "the tick comes after its interval";
    for (int waited = 0; waited < 5000 && Page() != 7; waited += 50) Pump(50);
    ASSERT_EQ(Page(), 7);
    EXPECT_FALSE(form->Timer_02.Enabled());
    EXPECT_EQ(WindowText(Handle(ids::Button_Next)), u"完了");
    Pump(1200);
    EXPECT_EQ(Page(), 7) << "a second tick would have pressed 完了";
    EXPECT_FALSE(QuitPosted());
}

TEST_F(WizardWindow, DpiChangeScalesTheClientAreaControlsAndFonts) {
    RECT suggested{100, 100, 900, 800};
    SendMessageW(Main(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    RECT client;
    GetClientRect(Main(), &client);
    EXPECT_EQ(client.right, MulDiv(502, 144, 96));
    EXPECT_EQ(client.bottom, MulDiv(391, 144, 96));
    RECT r;
    GetWindowRect(Handle(ids::Button_Next), &r);
    MapWindowPoints(nullptr, Handle(ids::Panel_Down), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, MulDiv(312, 144, 96));
    EXPECT_EQ(r.right - r.left, MulDiv(81, 144, 96));
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Handle(ids::Label4), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -MulDiv(11, 144, 96));
}

// Pixels as the screen shows them.
COLORREF PixelOf(HWND window, int x, int y) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

TEST_F(WizardWindow, PicturesShowTheBuiltInArtworkOrALoadedPictureAtItsWidth) {
    HWND side = Handle(ids::Image1);
    const COLORREF art = PixelOf(side, 4, 4);
    EXPECT_LT(GetRValue(art), 0x60) << "the side picture's dark blue top";
    EXPECT_GT(GetBValue(art), GetRValue(art));

    // A loaded picture (solid red, 150 wide) replaces it, stretched to its width at full height.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 150, -20, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(bitmap);
    for (int i = 0; i < 150 * 20; ++i) static_cast<uint32_t*>(bits)[i] = 0xFFFF0000;
    form->Image1.LoadPicture(std::make_shared<Win32Picture>(bitmap, 150, 20));
    Pump();
    RECT r;
    GetClientRect(side, &r);
    EXPECT_EQ(r.right, 150);
    EXPECT_EQ(r.bottom, layout::PageHeight);
    EXPECT_EQ(PixelOf(side, 140, 300), RGB(255, 0, 0));
}

// The system refuses to create windows while this thread hook is set: a
// WH_CBT hook that answers non-zero to HCBT_CREATEWND makes CreateWindowExW
// fail, as it does when the system runs out of window resources.
class CreationRefused {
public:
    CreationRefused() : hook_(SetWindowsHookExW(WH_CBT, &Refuse, nullptr, GetCurrentThreadId())) {}
    ~CreationRefused() {
        if (hook_) UnhookWindowsHookEx(hook_);
    }
    bool Ok() const { return hook_ != nullptr; }

private:
    static LRESULT CALLBACK Refuse(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) return 1;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    HHOOK hook_;
};

TEST(Win32UiCreation, AMainWindowTheSystemRefusesIsAnError) {
    CreationRefused refused;
    ASSERT_TRUE(refused.Ok());
    EXPECT_THROW(Win32Ui ui{GetModuleHandleW(nullptr)}, std::exception);
}

TEST(Win32UiCreation, AControlTheSystemRefusesIsAnErrorThatEndsStartUp) {
    // The controls' windows are made when the main window is first shown,
    // after the start-up notices: a refused one ends start-up there.
    Win32Ui ui{GetModuleHandleW(nullptr)};
    ASSERT_TRUE(ui.MainWindowHandle());
    // The whole window on that layer: the error box with an empty text, no window.
    Win32FileSystem fs;
    Win32Codec codec;
    ScriptedDialogs dialogs;
    Win32Shell shell([&ui]() -> void* { return ui.MainWindowHandle(); });
    Win32Links links;
    Win32Pictures pictures;
    Win32PrintSystem print([&ui]() -> void* { return ui.MainWindowHandle(); }, [&ui] { ui.DispatchPending(); });
    Platform platform{fs, codec, dialogs, shell, links, pictures, print, ui};
    AppState state;
    std::unique_ptr<TfrmKelvoraInstall> form = BuildMainWindow(platform, state);
    ASSERT_TRUE(form);
    CreationRefused refused;
    ASSERT_TRUE(refused.Ok());
    EXPECT_FALSE(form->ShowFirstTime()) << "the message loop must not start";
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].caption, u"セットアップ確認") << "the notice comes before the window";
    EXPECT_EQ(dialogs.asked[1].flags, 0x10u);
    EXPECT_EQ(dialogs.asked[1].text, u"") << "no English text of a library";
    EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(ui.MainWindowHandle())));
}

}  // namespace
