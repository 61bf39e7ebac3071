// The confirmations: the close check on every close request, and the first
// showing's choice between the update mode and the start-up notices.
#include "WizardFixture.h"

namespace {
using namespace wiztest;

class CloseCheck : public Wizard {};

TEST_F(CloseCheck, AsksTheAbandonConfirmationWhileCloseIsNotAllowed) {
    Start();
    fp.dialogs.boxes.clear();
    fp.dialogs.answers = {mb::IdCancel, mb::IdOk};
    bool canClose = true;
    form->FormCloseQuery(canClose);
    EXPECT_FALSE(canClose);
    ASSERT_EQ(fp.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fp.dialogs.boxes[0].text, kAbandonText);
    EXPECT_EQ(fp.dialogs.boxes[0].caption, kAbandonCaption);
    EXPECT_EQ(fp.dialogs.boxes[0].flags, 0x21u);

    canClose = false;
    form->FormCloseQuery(canClose);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(fp.dialogs.boxes.size(), 2u);
}

TEST_F(CloseCheck, AsksNothingOnceCloseIsAllowed) {
    Start();
    const size_t boxes = fp.dialogs.boxes.size();
    state.CloseAllowed = true;
    bool canClose = false;
    form->FormCloseQuery(canClose);
    EXPECT_TRUE(canClose);
    EXPECT_EQ(fp.dialogs.boxes.size(), boxes);
}

class FirstShow : public Wizard {
protected:
    const std::u16string kProgram = u"C:\\Drosvik\\VORN6\\VORN6.exe";
};

TEST_F(FirstShow, NewInstallNoticeWithoutAnInstalledProgram) {
    Start();
    ASSERT_EQ(fp.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fp.dialogs.boxes[0].text, kNoticeText);
    EXPECT_EQ(fp.dialogs.boxes[0].caption, kNoticeCaption);
    EXPECT_EQ(fp.dialogs.boxes[0].flags, 0x20u);
    EXPECT_EQ(fp.ui.closes, 0);
    EXPECT_TRUE(fp.ui.shown);
    EXPECT_EQ(Page(), 0);
    EXPECT_FALSE(state.CloseAllowed);
}

TEST_F(FirstShow, UpdateOnlyForExactlyYes) {
    for (const std::u16string value : {u"yes", u"YES", u"Yes.", u""}) {
        fp.dialogs = FakeDialogs();
        fp.fs = FakeFileSystem();
        Information(u"[Application]\r\nUpDate=" + value + u"\r\n");
        Build();
        ASSERT_TRUE(form->ShowFirstTime());
        ASSERT_FALSE(fp.dialogs.boxes.empty());
        EXPECT_EQ(fp.dialogs.boxes[0].text, kNoticeText) << text::ToUtf8(value);
        EXPECT_EQ(fp.ui.closes, 0);
        EXPECT_FALSE(state.CloseAllowed);
    }
}

TEST_F(FirstShow, UpdateModeClosesWithoutNoticeOrQuestion) {
    Information(u"[Application]\r\nUpDate=Yes\r\n");
    fp.fs.AddFile(kProgram, "exe");
    Build();
    ASSERT_TRUE(form->ShowFirstTime());
    for (const AskedBox& box : fp.dialogs.boxes) {
        EXPECT_NE(box.text, kNoticeText);
        EXPECT_NE(box.caption, kAbandonCaption);
        EXPECT_NE(box.caption, kNoticeCaption);
    }
    EXPECT_TRUE(state.CloseAllowed);
    EXPECT_EQ(fp.ui.closes, 1);
    EXPECT_FALSE(fp.ui.shown);
}

TEST_F(FirstShow, OverwriteWarningOkContinues) {
    fp.fs.AddFile(kProgram, "exe");
    fp.dialogs.answers = {mb::IdOk, mb::IdOk};
    Start();
    ASSERT_EQ(fp.dialogs.boxes.size(), 2u);
    EXPECT_EQ(fp.dialogs.boxes[1].text, u"すでにこのシステムにインストールされています。\n\n" + kProgram +
                                            u"\n\nすべてのフォルダが上書きされます。継続しますか？\n\n");
    EXPECT_EQ(fp.dialogs.boxes[1].caption, u"セットアップ確認");
    EXPECT_EQ(fp.dialogs.boxes[1].flags, 0x31u);
    EXPECT_EQ(fp.ui.closes, 0);
    EXPECT_TRUE(fp.ui.shown);
    EXPECT_FALSE(state.CloseAllowed);
    EXPECT_EQ(Page(), 0);
}

TEST_F(FirstShow, OverwriteWarningCancelEndsWithoutAQuestion) {
    fp.fs.AddFile(kProgram, "exe");
    fp.dialogs.answers = {mb::IdOk, mb::IdCancel};
    Start();
    EXPECT_EQ(fp.dialogs.boxes.size(), 2u);  // no abandon confirmation
    EXPECT_TRUE(state.CloseAllowed);
    EXPECT_EQ(fp.ui.closes, 1);
    EXPECT_FALSE(fp.ui.shown);
}

TEST_F(FirstShow, WarningShowsTheConfiguredFolderAsWritten) {
    // A trailing backslash gives two in a row; a relative folder stays relative.
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"D:\\Apps\\", u"D:\\Apps\\\\Tool.exe"},
        {u"Apps", u"Apps\\Tool.exe"},
    };
    for (const auto& [folder, shown] : cases) {
        fp.fs = FakeFileSystem();
        fp.dialogs = FakeDialogs();
        Information(u"[Application]\r\nFolderName=" + folder + u"\r\nShortCutApp=Tool.exe\r\n");
        fp.fs.AddFile(shown, "exe");
        Start();
        ASSERT_EQ(fp.dialogs.boxes.size(), 2u) << text::ToUtf8(folder);
        EXPECT_EQ(fp.dialogs.boxes[1].text, u"すでにこのシステムにインストールされています。\n\n" + shown +
                                                u"\n\nすべてのフォルダが上書きされます。継続しますか？\n\n");
    }
}

TEST_F(FirstShow, ProgramFolderOfThatNameIsNoInstalledProgram) {
    fp.fs.AddFolder(kProgram);
    Start();
    EXPECT_EQ(fp.dialogs.boxes.size(), 1u);
}

}  // namespace

namespace {
using namespace wiztest;

class CloseDuringTheRun : public Wizard {};

TEST_F(CloseDuringTheRun, AConfirmedCloseInTheWaitLetsTheRunFinishWithEveryNoticeAnswered) {
    // Two further setups; Cancel and OK in the abandon question while the first
    // one runs. The window layer records the close for the main loop; the run
    // itself goes on: the second notice is asked and answered, the second
    // setup starts, the shortcuts are written, and the window is closed once.
    Information(u"[Caption]\r\nSetupOtherName01=一\r\nSetupOtherName02=二\r\n"
                u"[Application]\r\nSetupOtherApp01=one.exe\r\nSetupOtherApp02=two.exe\r\n");
    fp.fs.AddFile(u"C:\\Dist\\VORN6\\VORN6.exe", "program");
    fp.fs.AddFile(u"C:\\Dist\\one.exe", "setup");
    fp.fs.AddFile(u"C:\\Dist\\two.exe", "setup");
    Start();
    GoTo(6);
    fp.shell.messagesDuringWait = 2;
    int waits = 0;
    fp.shell.onWaitMessage = [&] {
        if (waits++ != 0) return;
        // The user's Cancel, then OK in the abandon question.
        fp.dialogs.answers = {mb::IdOk};
        form->ControlClicked(ids::Button_Cansel);
        EXPECT_EQ(fp.ui.closes, 1) << "the close is handed to the window layer at once";
    };
    const size_t before = fp.dialogs.boxes.size();
    Tick(ids::Timer_01);

    std::vector<std::u16string> captions;
    for (size_t i = before; i < fp.dialogs.boxes.size(); ++i) captions.push_back(fp.dialogs.boxes[i].caption);
    EXPECT_EQ(captions, (std::vector<std::u16string>{u"一 のセットアップ", kAbandonCaption, u"二 のセットアップ"}));
    ASSERT_EQ(fp.shell.started.size(), 2u);
    EXPECT_EQ(fp.shell.started[0].file, u"C:\\Dist\\\\one.exe");
    EXPECT_EQ(fp.shell.started[1].file, u"C:\\Dist\\\\two.exe");
    EXPECT_EQ(fp.ui.closes, 1);
    const auto& lines = LogLines();
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(lines[3], u"Other App : one.exe");
    EXPECT_EQ(lines[4], u"Other App : two.exe");
    EXPECT_EQ(lines.back().rfind(u"OK : ShortCut : ", 0), 0u) << text::ToUtf8(lines.back());
    EXPECT_EQ(Page(), 6) << "the window stays on the installing page until the main loop acts";
}

TEST_F(CloseDuringTheRun, TheWindowLayerForgetsTheFormWhenItGoesAway) {
    // Messages that reach the window after the form was destroyed (the window
    // itself lives a little longer) must find no form to call.
    Start();
    EXPECT_EQ(fp.ui.events, static_cast<FormEvents*>(form.get()));
    form.reset();
    EXPECT_EQ(fp.ui.events, nullptr);
}

}  // namespace
