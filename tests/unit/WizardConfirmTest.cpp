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
