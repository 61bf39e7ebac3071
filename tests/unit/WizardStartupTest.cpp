// Start-up and shutdown of the wizard window: the creation step in its order
// and its stop at the first error, the side pictures, and the log saved at exit.
#include "WizardFixture.h"

namespace {
using namespace wiztest;

class Startup : public Wizard {};

TEST_F(Startup, DefaultsGiveTheCaptionTheWelcomePageAndOneLogLine) {
    Build();
    EXPECT_EQ(fp.ui.caption, u" VORN6 x86版  セットアップ");
    EXPECT_EQ(fp.ui.clientSize, std::make_pair(502, 391));
    EXPECT_EQ(form->WindowCaption(), u" VORN6 x86版  セットアップ");
    EXPECT_EQ(Page(), 0);
    EXPECT_EQ(LogLines(), std::vector<std::u16string>{u"NG : File Not Found : " + kLicencePath});
    EXPECT_TRUE(fp.dialogs.errors.empty());
    EXPECT_FALSE(state.CloseAllowed);
    EXPECT_EQ(state.settings.ExeDir, kExeDir);
    EXPECT_EQ(state.settings.InstallDir, u"C:\\Drosvik\\VORN6");
    EXPECT_TRUE(form->Memo02.Lines().empty());
    EXPECT_FALSE(fp.ui.shown);
}

TEST_F(Startup, ButtonsKeepTheirDesignStateUntilTheWindowIsShown) {
    // The designed active page is the finished page, but its show handler
    // belongs to the first showing, not to the construction.
    Build();
    EXPECT_TRUE(form->Button_Cansel.Visible());
    EXPECT_EQ(form->Button_Next.Caption(), u"次へ");
    EXPECT_TRUE(form->Button_Next.Visible());
    EXPECT_TRUE(form->Button_Next.Enabled());
    EXPECT_FALSE(form->Button_Prev.Visible());
    EXPECT_FALSE(form->Button_印刷.Visible());
    EXPECT_FALSE(form->Button_Reset.Visible());
    form->ShowFirstTime();
    EXPECT_TRUE(form->Button_Cansel.Visible());
    EXPECT_EQ(form->Button_Next.Caption(), u"次へ");
    EXPECT_TRUE(fp.ui.shown);
}

TEST_F(Startup, LicenceFoundIsLoadedAndLogged) {
    fp.fs.AddFile(u"C:\\Dist\\license.txt", Sjis(u"第1条\r\n\r\n第2条 本契約"));
    Build();
    EXPECT_EQ(form->Memo02.Lines(), (std::vector<std::u16string>{u"第1条", u"", u"第2条 本契約"}));
    EXPECT_EQ(LogLines(), std::vector<std::u16string>{u"OK : File Found : " + kLicencePath});
}

TEST_F(Startup, LockedInformationFileStopsTheCreationStep) {
    Information(u"[Caption]\r\nAppCaption=X\r\n");
    fp.fs.lockedFiles.insert(kInfoPath);
    fp.fs.AddFile(u"C:\\Dist\\license.txt", "text");
    Build();
    ASSERT_EQ(fp.dialogs.errors.size(), 1u);
    EXPECT_EQ(fp.dialogs.errors[0].text,
              u"ファイル C:\\Dist\\Information.txt は開けません。 "
              u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。 ");
    EXPECT_EQ(fp.dialogs.errors[0].caption, u"Kelvorainstall");
    // Steps 4 to 9 did not happen.
    EXPECT_EQ(fp.ui.caption, u"Kelvoraインストーラー");
    EXPECT_EQ(Page(), 7);
    EXPECT_TRUE(LogLines().empty());
    EXPECT_EQ(state.settings.DisplayName, u"");
    EXPECT_EQ(form->Label_01_01.Caption(), u"");
    EXPECT_TRUE(form->Memo01.Lines().empty());
    EXPECT_TRUE(form->Memo02.Lines().empty());
    EXPECT_EQ(form->Edit_03_Folder.Text(), u"");

    // The window opens on the finished page and the notice still follows.
    ASSERT_TRUE(form->ShowFirstTime());
    EXPECT_FALSE(form->Button_Prev.Visible());
    EXPECT_FALSE(form->Button_Cansel.Visible());
    EXPECT_EQ(form->Button_Next.Caption(), u"完了");
    EXPECT_TRUE(state.CloseAllowed);
    ASSERT_EQ(fp.dialogs.boxes.size(), 1u);
    EXPECT_EQ(fp.dialogs.boxes[0].text, kNoticeText);
    // "完了" ends at once, without a question.
    Next();
    EXPECT_EQ(fp.ui.closes, 1);
    EXPECT_EQ(fp.dialogs.boxes.size(), 1u);
}

TEST_F(Startup, LockedLicenceStopsAfterTheWelcomePage) {
    fp.fs.AddFile(u"C:\\Dist\\license.txt", "text");
    fp.fs.lockedFiles.insert(u"C:\\Dist\\license.txt");
    Information(u"[Caption]\r\nAppCaption=製品\r\nImage01=side.png\r\n");
    fp.fs.AddFile(u"C:\\Dist\\side.png", "png");
    Build();
    ASSERT_EQ(fp.dialogs.errors.size(), 1u);
    EXPECT_EQ(fp.dialogs.errors[0].text,
              u"ファイル C:\\Dist\\license.txt は開けません。 "
              u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。 ");
    EXPECT_EQ(fp.ui.caption, u" 製品  セットアップ");            // step 6 done
    EXPECT_EQ(form->Label_01_01.Caption(), u" 製品セットアップウィザードの開始");  // welcome page filled
    EXPECT_TRUE(LogLines().empty());                         // no licence line
    EXPECT_EQ(form->Edit_03_Folder.Text(), u"");              // folder page not filled
    EXPECT_EQ(form->Label_08_01.Caption(), u"");
    EXPECT_EQ(Page(), 7);
    EXPECT_TRUE(fp.pictures.decoded.empty());
}

struct PictureCase {
    const char* name;
    std::u16string file;
    std::u16string decodedAs;
};

class SidePictures : public Wizard, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(SidePictures, KnownExtensionsLoadBothPictures) {
    const PictureCase& c = GetParam();
    Information(u"[Caption]\r\nImage01=" + c.file + u"\r\n");
    fp.fs.AddFile(kExeDir + c.file, "picture bytes");
    fp.pictures.width = 150;
    Build();
    EXPECT_TRUE(fp.dialogs.errors.empty());
    EXPECT_EQ(fp.pictures.decoded, std::vector<std::u16string>{c.decodedAs});
    ASSERT_TRUE(form->Image1.LoadedPicture());
    EXPECT_EQ(form->Image1.LoadedPicture(), form->Image9.LoadedPicture());
    EXPECT_EQ(form->Image1.Width(), 150);
    EXPECT_EQ(form->Image9.Width(), 150);
    EXPECT_EQ(LogLines(), (std::vector<std::u16string>{u"NG : File Not Found : " + kLicencePath,
                                                      u"OK : Load Image File : " + kExeDir + c.file}));
    EXPECT_EQ(Page(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, SidePictures,
    ::testing::Values(PictureCase{"bmp", u"side.bmp", u"BMP"}, PictureCase{"png", u"side.png", u"PNG"},
                      PictureCase{"gif", u"side.gif", u"GIF"}, PictureCase{"jpg", u"side.jpg", u"JPG"},
                      PictureCase{"jpeg", u"side.jpeg", u"JPEG"}, PictureCase{"tif", u"side.tif", u"TIF"},
                      PictureCase{"tiff", u"side.tiff", u"TIFF"}, PictureCase{"ico", u"side.ico", u"ICO"},
                      PictureCase{"wmf", u"side.wmf", u"WMF"}, PictureCase{"emf", u"side.emf", u"EMF"},
                      PictureCase{"MixedCase", u"Pics\\Side.PnG", u"PNG"},
                      PictureCase{"DotsInName", u"side.v2.Jpeg", u"JPEG"}),
    [](const ::testing::TestParamInfo<PictureCase>& info) { return info.param.name; });

TEST_F(Startup, UnsupportedExtensionIsReportedAfterTheLogLine) {
    for (const std::u16string ext : {u"txt", u"TXT", u"png2"}) {
        fp.fs = FakeFileSystem();
        fp.dialogs = FakeDialogs();
        Information(u"[Caption]\r\nImage01=side." + ext + u"\r\n");
        fp.fs.AddFile(kExeDir + u"side." + ext, "text");
        Build();
        ASSERT_EQ(fp.dialogs.errors.size(), 1u);
        EXPECT_EQ(fp.dialogs.errors[0].text, u"画像のファイル拡張子 (." + ext + u") が不明です.");
        EXPECT_EQ(fp.dialogs.errors[0].caption, u"Kelvorainstall");
        EXPECT_EQ(LogLines().back(), u"OK : Load Image File : C:\\Dist\\side." + ext);
        EXPECT_FALSE(form->Image1.LoadedPicture());
        EXPECT_FALSE(form->Image9.LoadedPicture());
        EXPECT_EQ(form->Image1.Width(), 118);
        EXPECT_EQ(Page(), 0);  // the welcome page was made active before the pictures
    }
    EXPECT_TRUE(fp.pictures.decoded.empty());
}

TEST_F(Startup, DecoderErrorKeepsTheBuiltInPictures) {
    Information(u"[Caption]\r\nImage01=side.png\r\n");
    fp.fs.AddFile(u"C:\\Dist\\side.png", "not a png");
    fp.pictures.failWith = u"イメージを読み込めません";
    Build();
    ASSERT_EQ(fp.dialogs.errors.size(), 1u);
    EXPECT_EQ(fp.dialogs.errors[0].text, u"イメージを読み込めません.");
    EXPECT_EQ(LogLines().back(), u"OK : Load Image File : C:\\Dist\\side.png");
    EXPECT_FALSE(form->Image1.LoadedPicture());
    EXPECT_FALSE(form->Image9.LoadedPicture());
}

TEST_F(Startup, LockedPictureRaisesTheOpenError) {
    Information(u"[Caption]\r\nImage01=side.bmp\r\n");
    fp.fs.AddFile(u"C:\\Dist\\side.bmp", "bmp");
    fp.fs.lockedFiles.insert(u"C:\\Dist\\side.bmp");
    Build();
    ASSERT_EQ(fp.dialogs.errors.size(), 1u);
    EXPECT_EQ(fp.dialogs.errors[0].text, u"ファイル C:\\Dist\\side.bmp は開けません。 "
                                         u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。 ");
    EXPECT_EQ(LogLines().back(), u"OK : Load Image File : C:\\Dist\\side.bmp");
    EXPECT_FALSE(form->Image1.LoadedPicture());
}

TEST_F(Startup, NoPictureFileLoadsAndLogsNothing) {
    for (const std::u16string image : {u"", u"missing.png", u"Pics"}) {
        fp.fs = FakeFileSystem();
        fp.fs.AddFolder(u"C:\\Dist\\Pics");  // a folder does not count as the picture
        Information(u"[Caption]\r\nImage01=" + image + u"\r\n");
        Build();
        EXPECT_TRUE(fp.dialogs.errors.empty());
        EXPECT_EQ(LogLines().size(), 1u) << text::ToUtf8(image);
    }
    EXPECT_TRUE(fp.pictures.decoded.empty());
}

TEST_F(Startup, DestroySavesTheLogOnce) {
    Start();
    Click(ids::Button_Cansel);  // OK in the abandon confirmation
    EXPECT_EQ(fp.ui.closes, 1);
    form->Destroy();
    EXPECT_TRUE(form->LogSaved());
    EXPECT_FALSE(form->TextPrint);
    EXPECT_EQ(fp.fs.Bytes(kLogPath), "NG : File Not Found : C:\\Dist\\\\license.txt\r\n");
    fp.fs.Remove(kLogPath);
    form->Destroy();
    EXPECT_FALSE(fp.fs.HasFile(kLogPath));
    EXPECT_TRUE(fp.dialogs.errors.empty());
}

TEST_F(Startup, LogWithJapaneseLinesIsWrittenInShiftJis) {
    fp.fs.executable = u"C:\\配布\\KelvoraInstall.exe";
    Build();
    form->Destroy();
    EXPECT_EQ(fp.fs.Bytes(kLogPath), "NG : File Not Found : C:\\" + Sjis(u"配布") + "\\\\license.txt\r\n");
}

TEST_F(Startup, UnwritableWorkingFolderGivesTheCreateError) {
    fp.fs.executable = u"C:\\Dist\\SETUP.EXE";
    fp.fs.readOnlyFolders.insert(u"C:\\Work");
    Build();
    form->Destroy();
    EXPECT_FALSE(form->LogSaved());
    EXPECT_FALSE(fp.fs.HasFile(kLogPath));
    ASSERT_EQ(fp.dialogs.errors.size(), 1u);
    EXPECT_EQ(fp.dialogs.errors[0].text, u"ファイル \"C:\\Work\\Setuplog.txt\" を作成できません。アクセスが拒否されました。.");
    EXPECT_EQ(fp.dialogs.errors[0].caption, u"Setup");
}

}  // namespace

namespace {
using namespace wiztest;

// Errors that are not the program's own messages: the error box shows an empty
// text, never the library's English description.
class ThrowingPictures : public FakePictures {
public:
    std::function<void()> raise;
    std::shared_ptr<Picture> Decode(const std::string&, const std::u16string&) override {
        raise();
        return nullptr;
    }
};

TEST_F(Startup, ForeignErrorsShowAnEmptyText) {
    const std::vector<std::function<void()>> raises = {
        [] { throw std::bad_alloc(); },
        [] { throw std::out_of_range("unknown control id"); },
        [] { throw std::length_error("basic_string::_M_create"); },
        [] { throw 42; },
    };
    for (const auto& raise : raises) {
        FakePlatform p;
        ThrowingPictures pictures;
        pictures.raise = raise;
        Platform platform{p.fs, p.codec, p.dialogs, p.shell, p.links, pictures, p.print, p.ui};
        p.fs.AddFile(u"C:\\Dist\\Information.txt", "[Caption]\r\nImage01=side.png\r\n");
        p.fs.AddFile(u"C:\\Dist\\side.png", "png");
        AppState s;
        s.ApplicationTitle = ApplicationTitleOf(platform.fs.ExecutablePath(), platform.codec);
        TfrmKelvoraInstall window(platform, s);
        ASSERT_EQ(p.dialogs.errors.size(), 1u);
        EXPECT_EQ(p.dialogs.errors[0].text, u"");
        EXPECT_EQ(p.dialogs.errors[0].caption, u"Kelvorainstall");
    }
}

// A file too large for memory: the read (or its decoding) runs out of memory,
// which is the file's open error with the system's words for the cause.
class ExhaustedFileSystem : public FakeFileSystem {
public:
    std::u16string hugeFile;
    std::function<void()> raise;
    SysResult ReadAllDenyWrite(const std::u16string& path, std::string& bytes) override {
        if (Key(path) == Key(hugeFile)) raise();
        return FakeFileSystem::ReadAllDenyWrite(path, bytes);
    }
};

TEST_F(Startup, AFileTooLargeForMemoryGivesTheOpenError) {
    struct Row {
        std::u16string file;
        std::function<void()> raise;
    };
    const std::vector<Row> rows = {
        {u"C:\\Dist\\Information.txt", [] { throw std::bad_alloc(); }},
        {u"C:\\Dist\\\\license.txt", [] { throw std::length_error("basic_string::_M_replace_aux"); }},
        {u"C:\\Dist\\side.png", [] { throw std::bad_alloc(); }},
    };
    for (const Row& row : rows) {
        FakePlatform p;
        ExhaustedFileSystem fs;
        fs.hugeFile = row.file;
        fs.raise = row.raise;
        Platform platform{fs, p.codec, p.dialogs, p.shell, p.links, p.pictures, p.print, p.ui};
        fs.AddFile(u"C:\\Dist\\Information.txt", "[Caption]\r\nImage01=side.png\r\n");
        fs.AddFile(u"C:\\Dist\\license.txt", "licence");
        fs.AddFile(u"C:\\Dist\\side.png", "png");
        AppState s;
        s.ApplicationTitle = ApplicationTitleOf(platform.fs.ExecutablePath(), platform.codec);
        TfrmKelvoraInstall window(platform, s);
        ASSERT_EQ(p.dialogs.errors.size(), 1u) << text::ToUtf8(row.file);
        EXPECT_EQ(p.dialogs.errors[0].text, u"ファイル " + fs.FullPath(row.file) +
                                                u" は開けません。 このコマンドを実行するのに十分な記憶域がありません。 ")
            << text::ToUtf8(row.file);
    }
}

// A window or control the system cannot create: the error box, and no window.
class RefusingUi : public FakeUi {
public:
    int refuseAt = 0;  // the row whose control cannot be created
    std::unique_ptr<ControlPeer> CreatePeer(const ControlSpec& row) override {
        if (static_cast<int>(peersCreated.size()) == refuseAt) throw std::runtime_error("CreateWindowExW failed");
        return FakeUi::CreatePeer(row);
    }
};

TEST_F(Startup, AControlThatCannotBeCreatedEndsTheProgramAfterTheErrorBox) {
    for (const int refuseAt : {0, 5}) {
        FakePlatform p;
        RefusingUi ui;
        ui.refuseAt = refuseAt;
        Platform platform{p.fs, p.codec, p.dialogs, p.shell, p.links, p.pictures, p.print, ui};
        AppState s;
        s.ApplicationTitle = ApplicationTitleOf(platform.fs.ExecutablePath(), platform.codec);
        std::unique_ptr<TfrmKelvoraInstall> window = BuildMainWindow(platform, s);
        EXPECT_FALSE(window) << refuseAt;
        ASSERT_EQ(p.dialogs.errors.size(), 1u);
        EXPECT_EQ(p.dialogs.errors[0].text, u"");
        EXPECT_EQ(p.dialogs.errors[0].caption, u"Kelvorainstall");
        EXPECT_TRUE(p.dialogs.boxes.empty()) << "no notice follows";
        EXPECT_FALSE(ui.shown);
        EXPECT_FALSE(p.fs.HasFile(kLogPath));
    }
}

}  // namespace
