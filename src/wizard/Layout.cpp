#include "wizard/Layout.h"

#include <stdexcept>

#include "wizard/ControlIds.h"

namespace layout {
namespace {
using K = ControlKind;
using namespace cf;
constexpr int W = ClientWidth;
constexpr int BodyHeight = PageHeight - HeaderHeight;

// A header band with its icon, title and subtitle, and the body panel below.
#define HEADER(page, band, body, icon, titleId, title, subtitleId, subtitleName, subtitle)                   \
    {K::Panel, band, page, 0, 0, W, HeaderHeight, nullptr, White, Art::None, #band},                         \
        {K::Image, icon, band, 426, -1, 60, 60, nullptr, 0, Art::HeaderIcon, #icon},                         \
        {K::Label, titleId, band, 8, 12, 410, 17, title, BoldHeader, Art::None, #titleId},                   \
        {K::Label, subtitleId, band, 24, 31, 396, 32, subtitle, WordWrap, Art::None, subtitleName},          \
    {                                                                                                        \
        K::Panel, body, page, 0, HeaderHeight, W, BodyHeight, nullptr, Face, Art::None, #body                \
    }

const std::vector<ControlSpec> kRows = {
    // Pages: hidden until made active; TabSheet08 is the active page while the window is built.
    {K::Page, ids::TabSheet01, 0, 0, 0, W, PageHeight, nullptr, Hidden | White, Art::None, "TabSheet01"},
    {K::Page, ids::TabSheet02, 0, 0, 0, W, PageHeight, nullptr, Hidden | White, Art::None, "TabSheet02"},
    {K::Page, ids::TabSheet03, 0, 0, 0, W, PageHeight, nullptr, Hidden | White, Art::None, "TabSheet03"},
    {K::Page, ids::TabSheet04, 0, 0, 0, W, PageHeight, nullptr, Hidden | White, Art::None, "TabSheet04"},
    {K::Page, ids::TabSheet05, 0, 0, 0, W, PageHeight, nullptr, Hidden | White, Art::None, "TabSheet05"},
    {K::Page, ids::TabSheet06, 0, 0, 0, W, PageHeight, nullptr, Hidden | White, Art::None, "TabSheet06"},
    {K::Page, ids::TabSheet07, 0, 0, 0, W, PageHeight, nullptr, Hidden | White, Art::None, "TabSheet07"},
    {K::Page, ids::TabSheet08, 0, 0, 0, W, PageHeight, nullptr, Hidden | White, Art::None, "TabSheet08"},
    {K::Page, ids::TabSheet09, 0, 0, 0, W, PageHeight, nullptr, Hidden | White, Art::None, "TabSheet09"},

    // Index 0, welcome.
    {K::Image, ids::Image1, ids::TabSheet01, 0, 0, 118, PageHeight, nullptr, 0, Art::SidePicture, "Image1"},
    {K::Label, ids::Label_01_01, ids::TabSheet01, 136, 16, 350, 49, nullptr, BoldTitle | WordWrap, Art::None, "Label_01_01"},
    {K::Memo, ids::Memo01, ids::TabSheet01, 136, 88, 329, 185, nullptr, ReadOnly | NoBorder | White, Art::None, "Memo01"},

    // Index 1, licence agreement.
    HEADER(ids::TabSheet02, ids::Panel2, ids::Panel3, ids::HeaderIcon_02, ids::HeaderTitle_02, u"使用許諾契約書の同意",
           ids::HeaderSubtitle_02, "HeaderSubtitle_02", u"続行する前に以下の重要な情報をお読みください。"),
    {K::Label, ids::Label4, ids::Panel3, 24, 16, 433, 34,
     u"以下の使用許諾傾契約書をお読みください。インストールを続行するにはこの契約書に同意する必要があります。", WordWrap, Art::None, "Label4"},
    {K::Memo, ids::Memo02, ids::Panel3, 23, 56, 453, 152, nullptr, VScroll | TabStop, Art::None, "Memo02"},
    {K::RadioButton, ids::RadioButton_02_Yes, ids::Panel3, 24, 223, 200, 17, u"同意する", GroupStart | TabStop, Art::None, "RadioButton_02_Yes"},
    {K::RadioButton, ids::RadioButton_02_No, ids::Panel3, 23, 246, 200, 17, u"同意しない", Checked, Art::None, "RadioButton_02_No"},

    // Index 2, install folder.
    HEADER(ids::TabSheet03, ids::Panel4, ids::Panel5, ids::HeaderIcon_03, ids::HeaderTitle_03, u"インストール先の指定",
           ids::Label_03_01, "Label_03_01", nullptr),
    {K::Image, ids::Image_03_02, ids::Panel5, 24, 16, 33, 34, nullptr, 0, Art::FolderIcon, "Image_03_02"},
    {K::Label, ids::Label_03_02, ids::Panel5, 71, 16, 405, 34, nullptr, WordWrap, Art::None, "Label_03_02"},
    {K::Label, ids::Label1, ids::Panel5, 24, 70, 405, 34,
     u"続けるには「次へ」をクリックしてください。別のフォルダーを選択するには「参照」をクリックしてください。", WordWrap, Art::None, "Label1"},
    {K::Edit, ids::Edit_03_Folder, ids::Panel5, 23, 112, 382, 21, nullptr, TabStop | GroupStart, Art::None, "Edit_03_Folder"},
    {K::Button, ids::Button_03_01, ids::Panel5, 411, 110, 75, 25, u"参照", TabStop, Art::None, "Button_03_01"},

    // Index 3, start-menu folder.
    HEADER(ids::TabSheet04, ids::Panel1, ids::Panel6, ids::HeaderIcon_04, ids::HeaderTitle_04, u"スタートメニューフォルダーの指定",
           ids::HeaderSubtitle_04, "HeaderSubtitle_04", u"プログラムのショートカットを作成する場所を指定してください。"),
    {K::Image, ids::Image5, ids::Panel6, 23, 6, 42, 44, nullptr, 0, Art::StartMenuIcon, "Image5"},
    {K::Label, ids::Label9, ids::Panel6, 71, 16, 405, 57, u"セットアップは次のスタートメニューフォルダーにプログラムのショートカットを作成します。",
     WordWrap, Art::None, "Label9"},
    {K::Label, ids::Label11, ids::Panel6, 23, 70, 405, 30,
     u"続けるには「次へ」をクリックしてください。違うフォルダーを選択するには「参照」をクリックしてください。", WordWrap, Art::None, "Label11"},
    {K::Edit, ids::Edit_04_StartMenu, ids::Panel6, 23, 112, 382, 21, nullptr, Disabled | ReadOnly, Art::None, "Edit_04_StartMenu"},

    // Index 4, additional tasks.
    HEADER(ids::TabSheet05, ids::Panel7, ids::Panel8, ids::HeaderIcon_05, ids::HeaderTitle_05, u"追加タスクの選択",
           ids::HeaderSubtitle_05, "HeaderSubtitle_05", u"実行する追加タスクを選択してください。"),
    {K::Label, ids::Label14, ids::Panel8, 23, 24, 405, 32, u"インストール時に実行する追加タスクを選択して、「次へ」をクリックしてください。",
     WordWrap, Art::None, "Label14"},
    {K::Label, ids::Label16, ids::Panel8, 24, 62, 300, 17, u"アイコンを追加する：", 0, Art::None, "Label16"},
    {K::CheckBox, ids::CheckBox_05_DesktopIcon, ids::Panel8, 36, 94, 266, 17, u"デスクトップ上にアイコンを作成する。",
     Checked | TabStop | GroupStart, Art::None, "CheckBox_05_DesktopIcon"},
    {K::CheckBox, ids::CheckBox_05_QuickIcon, ids::Panel8, 36, 128, 266, 17, u"クイック起動アイコンを作成する。",
     Checked | TabStop, Art::None, "CheckBox_05_QuickIcon"},

    // Index 5, ready to install.
    HEADER(ids::TabSheet06, ids::Panel9, ids::Panel10, ids::HeaderIcon_06, ids::HeaderTitle_06, u"インストール準備完了",
           ids::Label_06_01, "Label_06_01", nullptr),
    {K::Label, ids::Label18, ids::Panel10, 23, 24, 405, 32,
     u"インストールを継続するには「インストール」を、設定の確認や変更を行うには「戻る」をクリックしてください。", WordWrap, Art::None, "Label18"},
    {K::Memo, ids::Memo06, ids::Panel10, 23, 72, 453, 152, nullptr, VScroll | TabStop | GroupStart, Art::None, "Memo06"},

    // Index 6, installing.
    HEADER(ids::TabSheet07, ids::Panel11, ids::Panel12, ids::HeaderIcon_07, ids::HeaderTitle_07, u"インストール状況",
           ids::Label_07_01, "Label_07_01", nullptr),
    {K::Label, ids::Label_07_02, ids::Panel12, 23, 24, 405, 32, u"セットアップ中・・・", 0, Art::None, "Label_07_02"},
    {K::ProgressBar, ids::ProgressBar_07, ids::Panel12, 23, 62, 446, 25, nullptr, 0, Art::None, "ProgressBar_07"},

    // Index 7, finished.
    {K::Image, ids::Image9, ids::TabSheet08, 0, 0, 118, PageHeight, nullptr, 0, Art::SidePicture, "Image9"},
    {K::Label, ids::Label_08_01, ids::TabSheet08, 144, 24, 342, 58, nullptr, BoldTitle | WordWrap, Art::None, "Label_08_01"},
    {K::Label, ids::Label_08_02, ids::TabSheet08, 144, 103, 305, 44, nullptr, WordWrap, Art::None, "Label_08_02"},
    {K::Label, ids::Label19, ids::TabSheet08, 144, 148, 342, 17, u"セットアップを終了するには「完了」をクリックしてください。", 0, Art::None, "Label19"},
    {K::CheckBox, ids::CheckBox_08_01, ids::TabSheet08, 144, 183, 342, 17, nullptr, TabStop | GroupStart, Art::None, "CheckBox_08_01"},

    // The button bar, in tab order: Back, Next, Cancel, Print, Reset.
    {K::Panel, ids::Panel_Down, 0, 0, PageHeight, W, ButtonBarHeight, nullptr, Face, Art::None, "Panel_Down"},
    {K::Button, ids::Button_Prev, ids::Panel_Down, 224, 10, 82, 25, u"戻る", Hidden | TabStop | GroupStart, Art::None, "Button_Prev"},
    {K::Button, ids::Button_Next, ids::Panel_Down, 312, 10, 81, 25, u"次へ", DefaultButton | TabStop, Art::None, "Button_Next"},
    {K::Button, ids::Button_Cansel, ids::Panel_Down, 415, 10, 75, 25, u"キャンセル", CancelButton | TabStop, Art::None, "Button_Cansel"},
    {K::Button, ids::Button_Print, ids::Panel_Down, 136, 10, 82, 25, u"印刷", Hidden | TabStop, Art::None, "Button_印刷"},
    {K::Button, ids::Button_Reset, ids::Panel_Down, 12, 10, 82, 25, u"リセット", Hidden | TabStop, Art::None, "Button_Reset"},
};
#undef HEADER
}  // namespace

const std::vector<ControlSpec>& WindowDescription() { return kRows; }

const ControlSpec& SpecOf(int id) {
    for (const ControlSpec& row : kRows) {
        if (row.id == id) return row;
    }
    throw std::out_of_range("unknown control id");
}
}  // namespace layout
