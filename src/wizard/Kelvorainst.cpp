#include "wizard/Kelvorainst.h"

#include "log/SetupLog.h"
#include "platform/AppError.h"
#include "platform/Codec.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Pictures.h"
#include "platform/Text.h"
#include "print/Textprintclass.h"
#include "settings/InformationFile.h"
#include "text/TextFile.h"
#include "wizard/ControlIds.h"
#include "wizard/Layout.h"

namespace {
using layout::SpecOf;
}

TfrmKelvoraInstall::TfrmKelvoraInstall(Platform& platform, AppState& state)
    : TabSheet01(SpecOf(ids::TabSheet01), 0), TabSheet02(SpecOf(ids::TabSheet02), 1),
      TabSheet03(SpecOf(ids::TabSheet03), 2), TabSheet04(SpecOf(ids::TabSheet04), 3),
      TabSheet05(SpecOf(ids::TabSheet05), 4), TabSheet06(SpecOf(ids::TabSheet06), 5),
      TabSheet07(SpecOf(ids::TabSheet07), 6), TabSheet08(SpecOf(ids::TabSheet08), 7),
      TabSheet09(SpecOf(ids::TabSheet09), 8), Image1(SpecOf(ids::Image1)), Image9(SpecOf(ids::Image9)),
      Label_01_01(SpecOf(ids::Label_01_01)), Memo01(SpecOf(ids::Memo01)), Label4(SpecOf(ids::Label4)),
      Memo02(SpecOf(ids::Memo02)), RadioButton_02_Yes(SpecOf(ids::RadioButton_02_Yes)),
      RadioButton_02_No(SpecOf(ids::RadioButton_02_No)), Label_03_01(SpecOf(ids::Label_03_01)),
      Label_03_02(SpecOf(ids::Label_03_02)), Label1(SpecOf(ids::Label1)), Edit_03_Folder(SpecOf(ids::Edit_03_Folder)),
      Button_03_01(SpecOf(ids::Button_03_01)), Label9(SpecOf(ids::Label9)), Label11(SpecOf(ids::Label11)),
      Edit_04_StartMenu(SpecOf(ids::Edit_04_StartMenu)), Label14(SpecOf(ids::Label14)), Label16(SpecOf(ids::Label16)),
      CheckBox_05_DesktopIcon(SpecOf(ids::CheckBox_05_DesktopIcon)),
      CheckBox_05_QuickIcon(SpecOf(ids::CheckBox_05_QuickIcon)), Label_06_01(SpecOf(ids::Label_06_01)),
      Label18(SpecOf(ids::Label18)), Memo06(SpecOf(ids::Memo06)), Label_07_01(SpecOf(ids::Label_07_01)),
      Label_07_02(SpecOf(ids::Label_07_02)), ProgressBar_07(SpecOf(ids::ProgressBar_07)),
      Label_08_01(SpecOf(ids::Label_08_01)), Label_08_02(SpecOf(ids::Label_08_02)), Label19(SpecOf(ids::Label19)),
      CheckBox_08_01(SpecOf(ids::CheckBox_08_01)), Button_Prev(SpecOf(ids::Button_Prev)),
      Button_Next(SpecOf(ids::Button_Next)), Button_Cansel(SpecOf(ids::Button_Cansel)),
      Button_印刷(SpecOf(ids::Button_Print)), Button_Reset(SpecOf(ids::Button_Reset)),
      Timer_01(ids::Timer_01, layout::TimerInterval), Timer_02(ids::Timer_02, layout::TimerInterval), p_(platform),
      state_(state) {
    // 1. The window from its description: every control with its peer, the
    // timers, and the finished page active, as designed.
    Control* named[] = {&TabSheet01, &TabSheet02, &TabSheet03, &TabSheet04, &TabSheet05, &TabSheet06, &TabSheet07,
                        &TabSheet08, &TabSheet09, &Image1, &Image9, &Label_01_01, &Memo01, &Label4, &Memo02,
                        &RadioButton_02_Yes, &RadioButton_02_No, &Label_03_01, &Label_03_02, &Label1,
                        &Edit_03_Folder, &Button_03_01, &Label9, &Label11, &Edit_04_StartMenu, &Label14, &Label16,
                        &CheckBox_05_DesktopIcon, &CheckBox_05_QuickIcon, &Label_06_01, &Label18, &Memo06,
                        &Label_07_01, &Label_07_02, &ProgressBar_07, &Label_08_01, &Label_08_02, &Label19,
                        &CheckBox_08_01, &Button_Prev, &Button_Next, &Button_Cansel, &Button_印刷, &Button_Reset};
    for (const ControlSpec& row : layout::WindowDescription()) {
        Control* control = nullptr;
        for (Control* c : named) {
            if (c->Id() == row.id) control = c;
        }
        if (!control) {
            decorations_.push_back(row.kind == ControlKind::Image ? std::make_unique<Image>(row)
                                                                  : std::make_unique<Control>(row));
            control = decorations_.back().get();
        }
        byId_.push_back(control);
    }
    for (Page* page : {&TabSheet01, &TabSheet02, &TabSheet03, &TabSheet04, &TabSheet05, &TabSheet06, &TabSheet07,
                       &TabSheet08, &TabSheet09}) {
        PageControl.AddPage(*page);
    }
    // The designed active page is the finished page. It is made active before
    // the show handlers are attached: its handler hides Cancel and captions
    // Next "完了", and belongs to the first showing, not to the construction.
    PageControl.SetActivePageIndex(7);
    RadioButton_02_Yes.Group = {&RadioButton_02_No};
    RadioButton_02_No.Group = {&RadioButton_02_Yes};

    TabSheet01.OnShow = [this] { TabSheet01Show(); };
    TabSheet02.OnShow = [this] { TabSheet02Show(); };
    TabSheet03.OnShow = [this] { TabSheet03Show(); };
    TabSheet04.OnShow = [this] { TabSheet04Show(); };
    TabSheet05.OnShow = [this] { TabSheet05Show(); };
    TabSheet06.OnShow = [this] { TabSheet06Show(); };
    TabSheet07.OnShow = [this] { TabSheet07Show(); };
    TabSheet08.OnShow = [this] { TabSheet08Show(); };
    RadioButton_02_Yes.OnClick = [this] { TabSheet02Show(); };
    RadioButton_02_No.OnClick = [this] { TabSheet02Show(); };
    Button_Prev.OnClick = [this] { Button_PrevClick(); };
    Button_Next.OnClick = [this] { Button_NextClick(); };
    Button_Cansel.OnClick = [this] { Button_CanselClick(); };
    Button_Reset.OnClick = [this] { Button_ResetClick(); };
    Button_印刷.OnClick = [this] { Button_印刷Click(); };
    Button_03_01.OnClick = [this] { Button_03_01Click(); };
    Timer_01.OnTimer = [this] { Timer_01Timer(); };
    Timer_02.OnTimer = [this] { Timer_02Timer(); };

    p_.ui.Bind(*this);
    caption_ = u"Kelvoraインストーラー";
    p_.ui.SetCaption(caption_);
    p_.ui.SetClientSize(layout::ClientWidth, layout::ClientHeight);
    const auto& rows = layout::WindowDescription();
    for (size_t i = 0; i < rows.size(); ++i) byId_[i]->AttachPeer(p_.ui.CreatePeer(rows[i]));
    Timer_01.AttachPeer(p_.ui.CreateTimer(ids::Timer_01));
    Timer_02.AttachPeer(p_.ui.CreateTimer(ids::Timer_02));

    // 2. The text printer, 3. the empty setup log, 4. the creation step.
    TextPrint = std::make_unique<T_TextPrintClass>();
    log_ = std::make_unique<SetupLog>();
    ctx_ = std::make_unique<InstallContext>(InstallContext{state_.settings, *log_, p_});
    Guard([this] { FormCreate(); });
}

TfrmKelvoraInstall::~TfrmKelvoraInstall() { p_.ui.Unbind(); }

Control* TfrmKelvoraInstall::ControlById(int id) {
    const auto& rows = layout::WindowDescription();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].id == id) return byId_[i];
    }
    return nullptr;
}

void TfrmKelvoraInstall::SetCaption(const std::u16string& caption) {
    caption_ = caption;
    p_.ui.SetCaption(caption);
}

void TfrmKelvoraInstall::FormCreate() {
    InstallerSettings& s = state_.settings;
    state_.CloseAllowed = false;
    s.SetDefaults();
    s.ExeDir = ExeDirOf(p_.fs.ExecutablePath());
    LoadInformationFile(s, p_.fs, p_.codec);
    s.DeriveTitles();
    s.DeriveInstallDir(p_.fs);
    SetCaption(s.SetupTitle + u"セットアップ");
    SetupWelcomePage(Memo01);
    LoadLicenseText(Memo02);
    SetupFolderPage();
    SetupStartMenuPage();
    SetupProgressPage();
    SetupFinishPage();
    PageControl.SetActivePageIndex(0);
    LoadSidePictures();
}

void TfrmKelvoraInstall::LoadSidePictures() {
    static const char16_t* const kExtensions[] = {u"BMP", u"PNG", u"GIF", u"JPG", u"JPEG",
                                                  u"TIF", u"TIFF", u"ICO", u"WMF", u"EMF"};
    const std::u16string path = state_.settings.ExeDir + state_.settings.Image01;
    if (!p_.fs.FileExists(path)) return;
    AddLog(u"OK : Load Image File : " + path);
    const std::u16string name = text::NamePart(path);
    const size_t dot = name.rfind(u'.');
    const std::u16string extension = dot == std::u16string::npos ? std::u16string() : name.substr(dot + 1);
    const std::u16string upper = p_.codec.UpperCase(extension);
    bool known = false;
    for (const char16_t* e : kExtensions) known = known || upper == e;
    if (!known) throw AppError(text::Format(u"画像のファイル拡張子 (.%s) が不明です", {extension}));
    const std::string bytes = ReadFileOrThrow(p_.fs, path);
    std::shared_ptr<Picture> picture = p_.pictures.Decode(bytes, upper);
    Image1.LoadPicture(picture);
    Image9.LoadPicture(picture);
}

bool TfrmKelvoraInstall::ShowFirstTime() {
    const bool ok = Guard([this] {
        Page* page = nullptr;
        for (Page* p : {&TabSheet01, &TabSheet02, &TabSheet03, &TabSheet04, &TabSheet05, &TabSheet06, &TabSheet07,
                        &TabSheet08, &TabSheet09}) {
            if (p->Index() == PageControl.ActivePageIndex()) page = p;
        }
        if (page && page->OnShow) page->OnShow();
        FormShow();
    });
    if (!ok) return false;
    // Showing makes the window's controls; one the system refuses ends start-up
    // like any error of the first showing.
    if (!closed_ && !Guard([this] { p_.ui.ShowMainWindow(); })) return false;
    return true;
}

void TfrmKelvoraInstall::FormShow() {
    InstallerSettings& s = state_.settings;
    if (s.UpDate == u"Yes") {
        RunUpdate();
        Close();
        return;
    }
    p_.dialogs.ShowMessage(u"このセットアップ作業は、新規インストール用です。\n\n", u"セットアップ確認", mb::IconQuestion);
    const std::u16string path = s.FolderName + u"\\" + s.ShortCutApp;
    if (p_.fs.FileExists(path)) {
        const int answer = p_.dialogs.ShowMessage(u"すでにこのシステムにインストールされています。\n\n" + path +
                                                     u"\n\nすべてのフォルダが上書きされます。継続しますか？\n\n",
                                                 u"セットアップ確認", mb::IconWarning | mb::OkCancel);
        if (answer != mb::IdOk) {
            state_.CloseAllowed = true;
            Close();
        }
    }
}

void TfrmKelvoraInstall::FormCloseQuery(bool& CanClose) {
    if (state_.CloseAllowed) {
        CanClose = true;
        return;
    }
    CanClose = false;
    const int answer = p_.dialogs.ShowMessage(
        u"セットアップ作業は完了していません。ここでセットアップを中止するとプログラムはいんすとーるされません。\n\n"
        u"改めてインストールする場合は、もう一度セットアップを実行してください。\n\n"
        u"セットアップを終了しますか？",
        u"セットアップ中止確認", mb::IconQuestion | mb::OkCancel);
    if (answer == mb::IdOk) CanClose = true;
}

void TfrmKelvoraInstall::Close() {
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) return;
    closed_ = true;
    p_.ui.CloseMainWindow();
}

void TfrmKelvoraInstall::FormDestroy() {
    TextPrint.reset();
    SaveSetupLog(*log_, p_.fs, p_.codec);
    logSaved_ = true;
}

void TfrmKelvoraInstall::Destroy() {
    if (destroyed_) return;
    destroyed_ = true;
    Guard([this] { FormDestroy(); });
}

void TfrmKelvoraInstall::ControlClicked(int id) {
    Guard([&] {
        if (Control* c = ControlById(id)) {
            if (auto* radio = dynamic_cast<RadioButton*>(c)) {
                radio->Click();
            } else if (auto* box = dynamic_cast<CheckBox*>(c)) {
                if (box->OnClick) box->OnClick();  // the tick itself was made by the control
            } else if (auto* button = dynamic_cast<Button*>(c)) {
                button->Click();
            }
        }
    });
}

void TfrmKelvoraInstall::TimerFired(int id) {
    Guard([&] {
        if (id == Timer_01.Id()) Timer_01.Fire();
        if (id == Timer_02.Id()) Timer_02.Fire();
    });
}

void TfrmKelvoraInstall::CloseRequested() {
    Guard([this] { Close(); });
}

bool TfrmKelvoraInstall::EndSessionQueried() {
    bool canClose = false;
    Guard([&] { FormCloseQuery(canClose); });
    return canClose;
}

void TfrmKelvoraInstall::ShowError(std::exception_ptr error) {
    p_.dialogs.ErrorBox(ErrorBoxText(ErrorMessageOf(error)), state_.ApplicationTitle);
}

void TfrmKelvoraInstall::AddLog(const std::u16string& line) { log_->AddLog(line); }

std::unique_ptr<TfrmKelvoraInstall> BuildMainWindow(Platform& platform, AppState& state) {
    try {
        return std::make_unique<TfrmKelvoraInstall>(platform, state);
    } catch (...) {
        platform.dialogs.ErrorBox(ErrorBoxText(ErrorMessageOf(std::current_exception())), state.ApplicationTitle);
        return nullptr;
    }
}
