// Moving through the wizard: the buttons of every page, the licence gate,
// back, reset, the two one-shot timers and the finish action.
#include <functional>

#include "WizardFixture.h"
#include "wizard/Layout.h"

namespace {
using namespace wiztest;

// The bar as the user sees it: "-" hidden, "+" shown, "!" disabled.
std::u16string Bar(TfrmKelvoraInstall& f) {
    auto state = [](const Control& c) {
        return std::u16string(c.Visible() ? u"+" : u"-") + (c.Enabled() ? u"" : u"!");
    };
    return u"Prev" + state(f.Button_Prev) + u" Next" + state(f.Button_Next) + f.Button_Next.Caption() + u" Cancel" +
           state(f.Button_Cansel) + u" Print" + state(f.Button_印刷) + u" Reset" + state(f.Button_Reset);
}

class Navigation : public Wizard {
protected:
    // To the finished page: the run's tick on the installing page, then the
    // finishing tick that a successful run arms.
    void ReachFinish() {
        GoTo(6);
        Tick(ids::Timer_01);
        form->Timer_02.SetEnabled(true);
        Tick(ids::Timer_02);
        ASSERT_EQ(Page(), 7);
    }
};

TEST_F(Navigation, ButtonsOfEveryPage) {
    struct Step {
        const char* action;
        std::function<void()> run;
        int page;
        std::u16string bar;
    };
    const std::vector<Step> steps = {
        {"start", [] {}, 0, u"Prev- Next+次へ Cancel+ Print- Reset-"},
        {"next to the licence", [&] { Next(); }, 1, u"Prev+ Next+!次へ Cancel+ Print+ Reset-"},
        {"accept", [&] { Click(ids::RadioButton_02_Yes); }, 1, u"Prev+ Next+次へ Cancel+ Print+ Reset-"},
        {"next to the folder", [&] { Next(); }, 2, u"Prev+ Next+次へ Cancel+ Print- Reset+"},
        {"next to the start menu", [&] { Next(); }, 3, u"Prev+ Next+次へ Cancel+ Print- Reset-"},
        {"next to the tasks", [&] { Next(); }, 4, u"Prev+ Next+次へ Cancel+ Print- Reset-"},
        {"next to the ready page", [&] { Next(); }, 5, u"Prev+ Next+インストール Cancel+ Print- Reset-"},
        {"install", [&] { Next(); }, 6, u"Prev- Next-インストール Cancel+ Print- Reset-"},
        {"the run's tick", [&] { Tick(ids::Timer_01); }, 6, u"Prev-! Next-!インストール Cancel+ Print- Reset-"},
        {"the finishing tick",
         [&] {
             form->Timer_02.SetEnabled(true);
             Tick(ids::Timer_02);
         },
         7, u"Prev-! Next+完了 Cancel- Print- Reset-"},
        {"finish", [&] { Next(); }, 8, u"Prev-! Next-完了 Cancel- Print- Reset-"},
    };
    Start();
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(Page(), step.page) << step.action;
        EXPECT_EQ(text::ToUtf8(Bar(*form)), text::ToUtf8(step.bar)) << step.action;
    }
}

TEST_F(Navigation, BackThroughThePages) {
    Start();
    GoTo(5);
    const std::vector<std::pair<int, std::u16string>> back = {
        {4, u"Prev+ Next+次へ Cancel+ Print- Reset-"},  // the tasks page restores "次へ"
        {3, u"Prev+ Next+次へ Cancel+ Print- Reset-"},
        {2, u"Prev+ Next+次へ Cancel+ Print- Reset+"},
        {1, u"Prev+ Next+次へ Cancel+ Print+ Reset-"},  // "同意する" is still selected
        {0, u"Prev- Next+次へ Cancel+ Print- Reset-"},
    };
    for (const auto& [page, bar] : back) {
        Back();
        EXPECT_EQ(Page(), page);
        EXPECT_EQ(text::ToUtf8(Bar(*form)), text::ToUtf8(bar)) << "page " << page;
    }
    EXPECT_TRUE(form->RadioButton_02_Yes.Checked());
}

TEST(PageControl, ShowHandlerRunsAtOnceAndOnlyOnAChange) {
    TPageControl pages;
    Page a(layout::SpecOf(ids::TabSheet01), 0), b(layout::SpecOf(ids::TabSheet02), 1);
    pages.AddPage(a);
    pages.AddPage(b);
    std::vector<std::string> shown;
    a.OnShow = [&] { shown.push_back("a"); };
    b.OnShow = [&] {
        // The new page is already the active one while its handler runs.
        EXPECT_EQ(pages.ActivePageIndex(), 1);
        shown.push_back("b");
    };
    pages.SetActivePageIndex(0);
    pages.SetActivePageIndex(1);
    pages.SetActivePageIndex(1);
    pages.SetActivePageIndex(5);
    EXPECT_EQ(shown, (std::vector<std::string>{"a", "b"}));
    EXPECT_FALSE(a.Visible());
    EXPECT_TRUE(b.Visible());
    EXPECT_EQ(pages.ActivePageIndex(), 1);
}

TEST_F(Navigation, LicenceGateFollowsTheRadioButtons) {
    Start();
    Next();
    ASSERT_EQ(Page(), 1);
    EXPECT_FALSE(form->Button_Next.Enabled());
    Next();  // Enter on a disabled Next does nothing
    EXPECT_EQ(Page(), 1);

    // Each radio click re-runs the page's show handler, which also hides Reset.
    form->Button_Reset.Show();
    Click(ids::RadioButton_02_Yes);
    EXPECT_TRUE(form->Button_Next.Enabled());
    EXPECT_FALSE(form->Button_Reset.Visible());
    EXPECT_FALSE(form->RadioButton_02_No.Checked());
    form->Button_Reset.Show();
    Click(ids::RadioButton_02_No);
    EXPECT_FALSE(form->Button_Next.Enabled());
    EXPECT_FALSE(form->Button_Reset.Visible());
    EXPECT_FALSE(form->RadioButton_02_Yes.Checked());

    // The selection persists: back to the licence page from the folder page.
    Click(ids::RadioButton_02_Yes);
    Next();
    ASSERT_EQ(Page(), 2);
    Back();
    EXPECT_EQ(Page(), 1);
    EXPECT_TRUE(form->Button_Next.Enabled());
}

TEST_F(Navigation, BackFromTheLicencePageEnablesNext) {
    Start();
    Next();
    Click(ids::RadioButton_02_No);
    ASSERT_FALSE(form->Button_Next.Enabled());
    Back();
    EXPECT_EQ(Page(), 0);
    EXPECT_FALSE(form->Button_Prev.Visible());
    EXPECT_TRUE(form->Button_Next.Enabled());
    EXPECT_TRUE(form->Button_Next.Visible());
    Next();
    EXPECT_EQ(Page(), 1);
    EXPECT_FALSE(form->Button_Next.Enabled());  // still "同意しない"
}

TEST_F(Navigation, ResetRestoresTheExpandedDefaultFolder) {
    Information(u"[Application]\r\nFolderName=Prog\\VORN6\r\n");
    Start();
    GoTo(2);
    EXPECT_EQ(form->Edit_03_Folder.Text(), u"C:\\Work\\Prog\\VORN6");
    form->Edit_03_Folder.SetText(u"D:\\Typed");
    fp.fs.AddFolder(u"E:\\Chosen");
    fp.dialogs.browseAnswers.push_back({true, u"E:\\Chosen"});
    Click(ids::Button_03_01);
    ASSERT_EQ(state.settings.InstallDir, u"E:\\Chosen");
    Click(ids::Button_Reset);
    EXPECT_EQ(form->Edit_03_Folder.Text(), u"C:\\Work\\Prog\\VORN6");
    EXPECT_EQ(state.settings.InstallDir, u"C:\\Work\\Prog\\VORN6");
    EXPECT_EQ(state.settings.DefaultInstallDir, u"Prog\\VORN6");

    // Off the folder page the handler changes nothing.
    form->Edit_03_Folder.SetText(u"D:\\Typed");
    Next();
    form->Button_ResetClick();
    EXPECT_EQ(form->Edit_03_Folder.Text(), u"D:\\Typed");
}

TEST_F(Navigation, EachTimerFiresOncePerArming) {
    Start();
    GoTo(5);
    EXPECT_FALSE(form->Timer_01.Enabled());
    Tick(ids::Timer_01);  // not armed yet: nothing
    EXPECT_EQ(fp.dialogs.boxes.size(), 1u);
    Next();
    EXPECT_TRUE(form->Timer_01.Enabled());
    EXPECT_EQ(form->Timer_01.Interval(), 1000u);
    EXPECT_EQ(fp.ui.timerStarts, 1);

    // The run finds no product folder beside the installer and says so.
    Tick(ids::Timer_01);
    EXPECT_FALSE(form->Timer_01.Enabled());
    ASSERT_EQ(fp.dialogs.boxes.size(), 2u);
    EXPECT_EQ(fp.dialogs.boxes[1].caption, u"注意");
    EXPECT_EQ(fp.dialogs.boxes[1].text, u"フォルダーコピーに失敗しました : C:\\Drosvik\\VORN6");
    EXPECT_FALSE(form->Timer_02.Enabled());
    Tick(ids::Timer_01);
    Tick(ids::Timer_02);
    EXPECT_EQ(fp.dialogs.boxes.size(), 2u);
    EXPECT_EQ(Page(), 6);

    form->Timer_02.SetEnabled(true);
    Tick(ids::Timer_02);
    EXPECT_FALSE(form->Timer_02.Enabled());
    EXPECT_EQ(Page(), 7);
    EXPECT_TRUE(state.CloseAllowed);
    Tick(ids::Timer_02);  // a second tick would act as "完了" and close
    EXPECT_EQ(Page(), 7);
    EXPECT_EQ(fp.ui.closes, 0);
}

TEST_F(Navigation, RunTickBeneathTheAbandonConfirmation) {
    Start();
    GoTo(6);
    int ticks = 0;
    fp.dialogs.onBox = [&](const AskedBox& box) {
        if (box.caption == kAbandonCaption && ticks++ == 0) Tick(ids::Timer_01);
    };
    fp.dialogs.answers = {mb::IdOk /* the run's box */, mb::IdCancel /* the confirmation */};
    Click(ids::Button_Cansel);
    // The run took place while the confirmation was open; its box came after.
    ASSERT_EQ(fp.dialogs.boxes.size(), 3u);
    EXPECT_EQ(fp.dialogs.boxes[1].caption, kAbandonCaption);
    EXPECT_EQ(fp.dialogs.boxes[2].caption, u"注意");
    EXPECT_FALSE(form->Timer_01.Enabled());
    EXPECT_FALSE(form->Button_Next.Enabled());
    EXPECT_FALSE(form->Button_Prev.Enabled());
    // Cancel then applies to the page now shown: nothing closes.
    EXPECT_EQ(fp.ui.closes, 0);
    EXPECT_EQ(Page(), 6);
    EXPECT_FALSE(state.CloseAllowed);
}

TEST_F(Navigation, FinishingTickBeneathTheConfirmationThenOk) {
    Start();
    GoTo(6);
    Tick(ids::Timer_01);
    form->Timer_02.SetEnabled(true);
    fp.dialogs.onBox = [&](const AskedBox& box) {
        if (box.caption == kAbandonCaption) Tick(ids::Timer_02);
    };
    Click(ids::Button_Cansel);
    EXPECT_EQ(Page(), 7);  // moved on beneath the open box
    EXPECT_EQ(fp.ui.closes, 1);  // and the OK then closed the window
}

TEST_F(Navigation, FinishWithTheRunBoxTickedStartsTheCompanion) {
    Start();
    GoTo(2);
    form->Edit_03_Folder.SetText(u"D:\\Apps");
    ReachFinish();
    const size_t boxes = fp.dialogs.boxes.size();
    form->CheckBox_08_01.SetChecked(true);
    Next();
    ASSERT_EQ(fp.shell.started.size(), 1u);
    EXPECT_EQ(fp.shell.started[0].file, u"D:\\Apps\\Kelvora_Auth.exe");
    EXPECT_EQ(fp.shell.started[0].parameters, u"");
    EXPECT_EQ(fp.shell.started[0].directory, u"D:\\Apps");
    EXPECT_EQ(fp.ui.closes, 1);
    EXPECT_EQ(fp.dialogs.boxes.size(), boxes);  // no question
    EXPECT_EQ(Page(), 8);
    EXPECT_FALSE(form->Button_Next.Visible());
}

TEST_F(Navigation, FinishWithoutTheRunBoxStartsNothing) {
    Start();
    ReachFinish();
    const size_t boxes = fp.dialogs.boxes.size();
    Next();
    EXPECT_TRUE(fp.shell.started.empty());
    EXPECT_EQ(fp.ui.closes, 1);
    EXPECT_EQ(fp.dialogs.boxes.size(), boxes);
    EXPECT_EQ(Page(), 8);
}

TEST_F(Navigation, CloseBoxOnTheFinishedPageAsksAndStartsNothing) {
    Start();
    ReachFinish();
    form->CheckBox_08_01.SetChecked(true);
    const size_t boxes = fp.dialogs.boxes.size();
    Click(ids::Button_Cansel);  // Esc: Cancel is hidden here and does nothing
    EXPECT_EQ(fp.ui.closes, 0);
    form->CloseRequested();
    EXPECT_EQ(fp.ui.closes, 1);
    EXPECT_EQ(fp.dialogs.boxes.size(), boxes);
    EXPECT_TRUE(fp.shell.started.empty());
    EXPECT_TRUE(form->EndSessionQueried());
}

class CancelBeforeTheFinish : public Navigation, public ::testing::WithParamInterface<int> {};

TEST_P(CancelBeforeTheFinish, AsksAndCancelKeepsEverything) {
    const int page = GetParam();
    Start();
    GoTo(page);
    const std::u16string bar = Bar(*form);
    fp.dialogs.answers = {mb::IdCancel};
    Click(ids::Button_Cansel);
    ASSERT_EQ(fp.dialogs.boxes.size(), 2u);
    EXPECT_EQ(fp.dialogs.boxes[1].caption, kAbandonCaption);
    EXPECT_EQ(fp.ui.closes, 0);
    EXPECT_EQ(Page(), page);
    EXPECT_EQ(Bar(*form), bar);

    fp.dialogs.answers = {mb::IdCancel};
    EXPECT_FALSE(form->EndSessionQueried());
    fp.dialogs.answers = {mb::IdOk};
    form->CloseRequested();
    EXPECT_EQ(fp.ui.closes, 1);
}

INSTANTIATE_TEST_SUITE_P(Pages, CancelBeforeTheFinish, ::testing::Range(0, 7));

}  // namespace
