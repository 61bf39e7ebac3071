// A headless wizard on the fakes: a distribution folder C:\Dist with the
// installer, the working folder C:\Work, and helpers to drive the pages.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/ApplicationTitle.h"
#include "fakes/FakePlatform.h"
#include "log/SetupLog.h"
#include "platform/Text.h"
#include "wizard/ControlIds.h"
#include "wizard/Kelvorainst.h"

namespace wiztest {

inline const std::u16string kExeDir = u"C:\\Dist\\";
inline const std::u16string kInfoPath = u"C:\\Dist\\Information.txt";
inline const std::u16string kLicencePath = u"C:\\Dist\\\\license.txt";
inline const std::u16string kLogPath = u"C:\\Work\\Setuplog.txt";

inline const std::u16string kNoticeText = u"このセットアップ作業は、新規インストール用です。\n\n";
inline const std::u16string kNoticeCaption = u"セットアップ確認";
inline const std::u16string kAbandonText =
    u"セットアップ作業は完了していません。ここでセットアップを中止するとプログラムはいんすとーるされません。\n\n"
    u"改めてインストールする場合は、もう一度セットアップを実行してください。\n\n"
    u"セットアップを終了しますか？";
inline const std::u16string kAbandonCaption = u"セットアップ中止確認";

inline std::string Sjis(const std::u16string& s) {
    NativeCodec codec;
    return codec.Utf16ToAnsi(s);
}

class Wizard : public ::testing::Test {
protected:
    FakePlatform fp;
    AppState state;
    std::unique_ptr<TfrmKelvoraInstall> form;

    // The information file beside the installer, in Shift-JIS.
    void Information(const std::u16string& content) { fp.fs.AddFile(kInfoPath, Sjis(content)); }

    // Constructs the window (which runs FormCreate).
    TfrmKelvoraInstall& Build() {
        state.ApplicationTitle = ApplicationTitleOf(fp.fs.ExecutablePath(), fp.codec);
        form = std::make_unique<TfrmKelvoraInstall>(fp.platform, state);
        return *form;
    }
    // Constructs and shows it, as the message loop's start does.
    TfrmKelvoraInstall& Start() {
        Build();
        EXPECT_TRUE(form->ShowFirstTime());
        return *form;
    }

    int Page() const { return form->PageControl.ActivePageIndex(); }
    const std::vector<std::u16string>& LogLines() { return form->Log().Lines(); }

    // Clicks a control as the window layer reports it.
    void Click(int id) { form->ControlClicked(id); }
    void Next() { Click(ids::Button_Next); }
    void Back() { Click(ids::Button_Prev); }
    void Tick(int timerId) { form->TimerFired(timerId); }

    // From the welcome page to `page`, accepting the licence on the way.
    void GoTo(int page) {
        while (Page() < page) {
            if (Page() == 1) Click(ids::RadioButton_02_Yes);
            const int before = Page();
            Next();
            if (Page() == before) {
                ADD_FAILURE() << "Next did not move on from page " << before;
                return;
            }
        }
    }
};

}  // namespace wiztest
