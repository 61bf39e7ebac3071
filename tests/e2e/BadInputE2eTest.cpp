// Hostile distribution folders, one table: each row prepares a folder, runs
// the real installer to its end as a person would (the start-up boxes, then
// either the close on the welcome page or the whole wizard through the
// installation), and checks every message box in order, the exit code and the
// setup log byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "Driver.h"
#include "wizard/ControlIds.h"

using namespace e2e;

namespace {

const wchar_t* kNotice = L"セットアップ確認";
const wchar_t* kAbandon = L"セットアップ中止確認";
const wchar_t* kNoticeText = L"このセットアップ作業は、新規インストール用です。\n\n";
const wchar_t* kErrorCaption = L"Kelvorainstall";
const wchar_t* kCopyFailed = L"注意";

std::string Utf16Le(const std::wstring& s) {
    std::string out;
    for (wchar_t c : s) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}


enum class Walk {
    Close,    // the close on the welcome page, confirmed
    Install,  // the whole wizard, "インストール", then "完了" or, after a failed copy, the close
};

struct Seen {
    std::wstring caption;
    std::wstring text;
};

struct Outcome {
    std::vector<Seen> boxes;  // every message box, in order
    std::wstring caption;     // the window's caption once it showed
    std::wstring memo;        // the licence page's text
    bool finished = false;    // the finished page was reached
    DWORD exitCode = STILL_ACTIVE;
    std::string log;
};

// Answers every box that opens until none has opened for `quietMs`.
void AnswerBoxes(Installer& app, Outcome& out, DWORD quietMs) {
    while (auto box = app.WaitBox(quietMs)) {
        out.boxes.push_back({box->caption, box->text});
        app.Answer(*box, box->caption == kAbandon ? IDOK : box->buttons.front());
    }
}

Outcome RunToEnd(const Dist& dist, Walk walk) {
    Outcome out;
    Installer app(dist);
    // Start-up: error boxes of the creation step, then the notice, then the window.
    while (!app.WaitVisible(200)) {
        if (!app.Running()) break;
        if (auto box = app.WaitBox(200)) {
            out.boxes.push_back({box->caption, box->text});
            app.Answer(*box, IDOK);
        }
    }
    AnswerBoxes(app, out, 300);
    out.caption = app.Caption();
    out.memo = app.Text(ids::Memo02);
    if (walk == Walk::Install && app.Running()) {
        app.AgreeToLicence();  // the install folder
        app.Click(ids::Button_Next);  // the start-menu folder
        app.Click(ids::Button_Next);  // the tasks: no shortcuts, so the user's folders stay untouched
        if (app.Checked(ids::CheckBox_05_DesktopIcon)) app.Click(ids::CheckBox_05_DesktopIcon);
        if (app.Checked(ids::CheckBox_05_QuickIcon)) app.Click(ids::CheckBox_05_QuickIcon);
        app.Click(ids::Button_Next);  // the ready page
        app.ClickAsync(ids::Button_Next);
        // The run: boxes of further setups or of a failed copy, or the finished page.
        while (app.Running() && !app.Visible(ids::TabSheet08)) {
            if (auto box = app.WaitBox(100)) {
                out.boxes.push_back({box->caption, box->text});
                app.Answer(*box, IDOK);
                if (box->caption == kCopyFailed) break;
            }
        }
        out.finished = app.Visible(ids::TabSheet08);
        if (out.finished) app.ClickAsync(ids::Button_Next);  // "完了"
    }
    if (!out.finished) app.PostClose();
    AnswerBoxes(app, out, 500);
    out.exitCode = app.WaitExit(60000);
    out.log = dist.SetupLog();
    return out;
}

// What a row expects. Paths in the log depend on the row's folder, so the log
// is built from it.
struct Row {
    const wchar_t* name;
    Walk walk;
    std::function<void(const Dist&)> prepare;
    std::function<std::vector<std::wstring>(const Dist&)> boxes;  // captions, in order
    std::function<std::wstring(const Dist&)> log;
    std::function<void(const Dist&, const Outcome&)> more;  // further checks, may be empty
};

std::wstring NoLicence(const Dist& d) { return L"NG : File Not Found : " + d.ExeDir() + L"\\license.txt\r\n"; }
std::wstring Licence(const Dist& d) { return L"OK : File Found : " + d.ExeDir() + L"\\license.txt\r\n"; }
std::wstring Target(const Dist& d) { return d.root + L"\\Installed\\VORN6"; }

const std::wstring kDefaultCaption = L" VORN6 x86版  セットアップ";

// A product folder and an install folder inside the row's own folder.
void Product(const Dist& d) {
    d.Write(L"VORN6\\VORN6.exe", "MZ program");
    d.Write(L"VORN6\\sub\\data.txt", "data");
}
std::string ApplicationSection(const Dist& d, const std::string& extra) {
    return "[Application]\r\nFolderName=" + Ascii(Target(d)) + "\r\n" + extra;
}

// The log of an installation whose copy went through, with no shortcuts chosen.
std::wstring Installed(const Dist& d, const std::wstring& source, const std::wstring& extra = L"") {
    return NoLicence(d) + L"OK : Folder Crate : C:\\Vorn\\Data\r\n" + L"OK : Folder Copy : " + source + L" " +
           Target(d) + L"\r\n" + extra;
}
// The log of an installation whose copy into `target` was refused.
std::wstring CopyRefused(const Dist& d, const std::wstring& target) {
    return NoLicence(d) + L"OK : Folder Crate : C:\\Vorn\\Data\r\n" + L"NG : Folder Copy : " + d.ExeDir() +
           L"VORN6\\ " + target + L"\r\n";
}

std::vector<std::wstring> NoticeOnly(const Dist&) { return {kNotice, kAbandon}; }
std::vector<std::wstring> NoticeThenCopyFailure(const Dist&) { return {kNotice, kCopyFailed, kAbandon}; }
std::vector<std::wstring> NoticeThenFinished(const Dist&) { return {kNotice}; }

// 10 000 characters of words, for the values the wizard shows in its labels,
// memos and message boxes. Values of 100 000 characters there take Wine's
// controls minutes to lay out (2.5 minutes for an unbroken caption, 5 for an
// unbroken further setup's name, over 3 for both with blanks), too long for
// the suite; the values only used as names and paths have 100 000.
std::string Words() {
    std::string w;
    while (w.size() < 10000) w += "Kelvora ";
    w.resize(10000);
    w.back() = 'K';
    return w;
}

// A folder more than 300 characters below `top`, as an extended-length path.
std::wstring DeepFolder(const std::wstring& top) {
    std::wstring deep = L"\\\\?\\" + top;
    while (deep.size() < 320) deep += L"\\deepfolder";
    return deep;
}

std::string LongPathFolder() {
    std::string folder = "C:\\";
    while (folder.size() < 300) folder += "abcdefghi\\";
    return folder.substr(0, 300);
}

const Row kRows[] = {
    {L"info-binary", Walk::Close,
     [](const Dist& d) {
         std::string bytes = "\x89PNG\r\n\x1a\n";
         for (int i = 0; i < 4096; ++i) bytes.push_back(static_cast<char>((i * 37 + 11) & 0xFF));
         d.Write(L"Information.txt", bytes);
     },
     NoticeOnly, NoLicence,
     [](const Dist&, const Outcome& o) { EXPECT_EQ(o.caption, kDefaultCaption); }},
    {L"info-10mb", Walk::Close,
     [](const Dist& d) {
         std::string text = "\xEF\xBB\xBF[Caption]\r\nAppCaption=Large\r\n";
         const std::string filler = "; a comment line that only makes the file large, and then some more\r\n";
         while (text.size() < 10 * 1024 * 1024) text += filler;
         text += "[Caption]\r\nAppCaption=Never seen\r\n";
         d.Write(L"Information.txt", text);
     },
     NoticeOnly, NoLicence,
     [](const Dist&, const Outcome& o) { EXPECT_EQ(o.caption, L" Large  セットアップ"); }},
    {L"info-utf16-odd", Walk::Close,
     [](const Dist& d) { d.Write(L"Information.txt", "\xFF\xFE" + Utf16Le(L"[Caption]\r\nAppCaption=奇数") + "A"); },
     NoticeOnly, NoLicence,
     // The lone last byte becomes a replacement character at the end of the value.
     [](const Dist&, const Outcome& o) { EXPECT_EQ(o.caption, L" 奇数\uFFFD  セットアップ"); }},
    {L"info-only-bom", Walk::Close, [](const Dist& d) { d.Write(L"Information.txt", "\xEF\xBB\xBF"); }, NoticeOnly,
     NoLicence, [](const Dist&, const Outcome& o) { EXPECT_EQ(o.caption, kDefaultCaption); }},
    {L"info-100k-values", Walk::Install,
     [](const Dist& d) {
         Product(d);
         const std::string run(100000, 'x');
         d.Information("[Caption]\r\nAppCaption=" + Words() + "\r\nSetupOtherName01=" + Words() + "\r\nImage01=" + run +
                       "\r\n" +
                       ApplicationSection(d, "ShortCutApp=" + run + "\r\nShortCutName=" + run + "\r\nShortCutIco=" + run +
                                                 "\r\nSetupOtherApp01=" + std::string(100000, 'a') + "\r\nUpDate=" + run +
                                                 "\r\nUpDateShortCut=" + run + "\r\n"));
     },
     [](const Dist&) {
         const std::string w = Words();
         return std::vector<std::wstring>{kNotice, std::wstring(w.begin(), w.end()) + L" のセットアップ"};
     },
     [](const Dist& d) {
         const std::wstring app(100000, L'a');
         return Installed(d, d.ExeDir() + L"VORN6\\",
                          L"Other App : " + app + L"\r\n" + L"NG : File Not Found : " + d.ExeDir() + L"\\" + app + L"\r\n");
     },
     [](const Dist&, const Outcome& o) {
         const std::string w = Words();
         EXPECT_EQ(o.caption, L" " + std::wstring(w.begin(), w.end()) + L"  セットアップ");
         EXPECT_TRUE(o.finished);
     }},
    {L"folder-bad-characters", Walk::Install,
     [](const Dist& d) { Product(d); d.Information("[Application]\r\nFolderName=C:\\bad|name<here>\r\n"); },
     NoticeThenCopyFailure, [](const Dist& d) { return CopyRefused(d, L"C:\\bad|name<here>"); }, nullptr},
    {L"folder-300-characters", Walk::Install,
     [](const Dist& d) { Product(d); d.Information("[Application]\r\nFolderName=" + LongPathFolder() + "\r\n"); },
     NoticeThenCopyFailure,
     [](const Dist& d) {
         const std::string f = LongPathFolder();
         return CopyRefused(d, std::wstring(f.begin(), f.end()));
     },
     nullptr},
    {L"folder-missing-drive", Walk::Install,
     [](const Dist& d) { Product(d); d.Information("[Application]\r\nFolderName=Q:\\Drosvik\\VORN6\r\n"); },
     NoticeThenCopyFailure, [](const Dist& d) { return CopyRefused(d, L"Q:\\Drosvik\\VORN6"); }, nullptr},
    {L"folder-unc", Walk::Install,
     [](const Dist& d) {
         // One file, one level down: its line is the only one below the target's.
         d.Write(L"VORN6\\sub\\data.txt", "data");
         d.Information("[Application]\r\nFolderName=\\\\nohost\\share\\VORN6\r\n");
     },
     // The path passes the rules; the share cannot be reached, so nothing is
     // copied, and the file left behind is named.
     NoticeThenCopyFailure,
     [](const Dist& d) {
         const std::wstring target = L"\\\\nohost\\share\\VORN6";
         return NoLicence(d) + L"OK : Folder Crate : C:\\Vorn\\Data\r\n" + L"NG : File Copy : " + d.ExeDir() + L"VORN6 " +
                target + L"\r\n" + L"NG : File Copy : " + d.ExeDir() + L"VORN6\\sub\\data.txt " + target +
                L"\\sub\\data.txt\r\n" + L"NG : Folder Copy : " + d.ExeDir() + L"VORN6\\ " + target + L"\r\n";
     },
     nullptr},
    {L"copyfolder-dotdot", Walk::Install,
     [](const Dist& d) {
         // The product folder named through ".." lies beside the distribution folder.
         WriteBytes(d.root + L"\\outside\\VORN6.exe", "MZ outside");
         d.Information(ApplicationSection(d, "CopyFolderName=..\\outside\\\r\n"));
     },
     NoticeThenFinished, [](const Dist& d) { return Installed(d, d.ExeDir() + L"..\\outside\\"); },
     [](const Dist& d, const Outcome& o) {
         EXPECT_TRUE(o.finished);
         EXPECT_EQ(ReadBytes(Target(d) + L"\\VORN6.exe"), "MZ outside");
     }},
    {L"copyfolder-empty", Walk::Install,
     [](const Dist& d) { Product(d); d.Information(ApplicationSection(d, "CopyFolderName=\r\n")); },
     // The whole distribution folder is the product folder then.
     NoticeThenFinished, [](const Dist& d) { return Installed(d, d.ExeDir()); },
     [](const Dist& d, const Outcome& o) {
         EXPECT_TRUE(o.finished);
         EXPECT_TRUE(FileExists(Target(d) + L"\\KelvoraInstall.exe"));
         EXPECT_EQ(ReadBytes(Target(d) + L"\\VORN6\\sub\\data.txt"), "data");
     }},
    {L"image-empty-png", Walk::Close,
     [](const Dist& d) {
         d.Information("[Caption]\r\nImage01=empty.png\r\n");
         d.Write(L"empty.png", "");
     },
     [](const Dist&) { return std::vector<std::wstring>{kErrorCaption, kNotice, kAbandon}; },
     [](const Dist& d) { return NoLicence(d) + L"OK : Load Image File : " + d.ExeDir() + L"empty.png\r\n"; },
     [](const Dist&, const Outcome& o) {
         ASSERT_FALSE(o.boxes.empty());
         EXPECT_FALSE(o.boxes[0].text.empty()) << "the decoder's error";
     }},
    {L"image-folder", Walk::Close,
     [](const Dist& d) {
         d.Information("[Caption]\r\nImage01=side.png\r\n");
         MakeFolders(d.dir + L"\\side.png");
     },
     // A folder is no picture file: nothing is loaded, nothing is logged.
     NoticeOnly, NoLicence, nullptr},
    {L"licence-5mb", Walk::Close,
     [](const Dist& d) {
         std::string text = "\xEF\xBB\xBF第1条 使用許諾\r\n";
         const std::string line = "Customers may not rent, lease or lend the Software to anyone at any time.\r\n";
         while (text.size() < 5 * 1024 * 1024) text += line;
         d.Write(L"license.txt", text);
     },
     NoticeOnly, Licence,
     [](const Dist&, const Outcome& o) { EXPECT_EQ(o.memo.rfind(L"第1条 使用許諾\r\nCustomers may not", 0), 0u); }},
    {L"product-300-character-path", Walk::Install,
     [](const Dist& d) {
         Product(d);
         MakeFolders(DeepFolder(d.dir + L"\\VORN6"));
         WriteBytes(DeepFolder(d.dir + L"\\VORN6") + L"\\far.txt", "far");
         d.Information(ApplicationSection(d, ""));
     },
     // Wine's file system takes paths past the Windows limit, so everything is
     // copied and the copy is reported done; the log must not claim more.
     NoticeThenFinished, [](const Dist& d) { return Installed(d, d.ExeDir() + L"VORN6\\"); },
     [](const Dist& d, const Outcome& o) {
         EXPECT_TRUE(o.finished);
         EXPECT_EQ(ReadBytes(Target(d) + L"\\sub\\data.txt"), "data");
         EXPECT_EQ(ReadBytes(DeepFolder(Target(d)) + L"\\far.txt"), "far");
     }},
};

class BadInput : public ::testing::TestWithParam<Row> {};

}  // namespace

TEST_P(BadInput, RunsToTheEndWithExitCodeZeroAndTheExpectedLog) {
    const Row& row = GetParam();
    RemoveTree(L"C:\\Vorn");
    Dist dist(std::wstring(L"bad-") + row.name);
    row.prepare(dist);
    const Outcome out = RunToEnd(dist, row.walk);
    EXPECT_EQ(out.exitCode, 0u);
    std::vector<std::wstring> captions;
    for (const Seen& box : out.boxes) captions.push_back(box.caption);
    EXPECT_EQ(captions, row.boxes(dist));
    for (const Seen& box : out.boxes) {
        if (box.caption == kNotice) {
            EXPECT_EQ(box.text, kNoticeText);
        }
    }
    EXPECT_EQ(out.log, Sjis(row.log(dist)));
    EXPECT_TRUE(FileExists(dist.work + L"\\Setuplog.txt"));
    if (row.more) row.more(dist, out);
}

INSTANTIATE_TEST_SUITE_P(Table, BadInput, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             std::string name;
                             for (const wchar_t* p = info.param.name; *p; ++p) {
                                 name.push_back(*p == L'-' ? '_' : static_cast<char>(*p));
                             }
                             return name;
                         });
