// Scripted stand-ins for the system services, recording what was asked of them.
#pragma once
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fakes/FakeFileSystem.h"
#include "platform/Dialogs.h"
#include "platform/Links.h"
#include "platform/Pictures.h"
#include "platform/Platform.h"
#include "platform/PrintDevice.h"
#include "platform/Shell.h"
#include "platform/Ui.h"
#include "platform/native/NativeCodec.h"

struct AskedBox {
    std::u16string text;
    std::u16string caption;
    unsigned flags;
};

class FakeDialogs : public Dialogs {
public:
    std::vector<AskedBox> boxes;          // message boxes in the order asked
    std::vector<AskedBox> errors;         // error boxes (flags 0x10)
    std::deque<int> answers;              // answers for the next boxes; IDOK when empty
    std::function<void(const AskedBox&)> onBox;  // runs while a box is "open"
    // Folder browser.
    std::vector<std::u16string> browseStarts;  // the starting folder of each browse
    std::deque<std::pair<bool, std::u16string>> browseAnswers;

    int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned flags) override;
    void ErrorBox(const std::u16string& text, const std::u16string& title) override;
    bool BrowseForFolder(const std::u16string& prompt, std::u16string& folder) override;
};

class FakeProcess : public StartedProcess {
public:
    explicit FakeProcess(int messagesBeforeEnd, std::function<void()> onMessage)
        : remaining_(messagesBeforeEnd), onMessage_(std::move(onMessage)) {}
    bool WaitForEndOrMessage() override;
    int waits = 0;

private:
    int remaining_;
    std::function<void()> onMessage_;
};

struct StartedProgram {
    std::u16string how;  // "ShellExecute" or "ShellExecuteEx"
    std::u16string file, parameters, directory;
};

class FakeShell : public Shell {
public:
    std::map<int, std::u16string> folders = {{0x0002, u"C:\\Users\\u\\Start Menu\\Programs"},
                                             {0x0010, u"C:\\Users\\u\\Desktop"}};
    std::vector<StartedProgram> started;
    std::vector<std::u16string> debugOutput;
    intptr_t shellExecuteResult = 42;
    bool refuseElevation = false;     // ShellExecuteEx gives no process
    int messagesDuringWait = 0;       // messages that arrive before a started program ends
    std::function<void()> onWaitMessage;
    std::vector<unsigned> specialFolderBuffers;

    std::u16string SpecialFolder(int csidl, unsigned bufferSize) override;
    intptr_t ShellExecuteRunas(const std::u16string& file, const std::u16string& parameters,
                               const std::u16string& directory) override;
    std::unique_ptr<StartedProcess> ShellExecuteExRunas(const std::u16string& file, const std::u16string& parameters,
                                                        const std::u16string& directory) override;
    void DebugOutput(const std::u16string& text) override { debugOutput.push_back(text); }
};

class FakeLinks : public Links {
public:
    std::vector<LinkRequest> written;
    LinkOutcome next;  // what the next WriteLink gives back
    FakeFileSystem* fs = nullptr;  // when set, a saved link becomes a file there
    LinkOutcome WriteLink(const LinkRequest& request) override;
};

class FakePicture : public Picture {
public:
    FakePicture(int w, int h) : w_(w), h_(h) {}
    int Width() const override { return w_; }
    int Height() const override { return h_; }

private:
    int w_, h_;
};

class FakePictures : public Pictures {
public:
    std::vector<std::u16string> decoded;  // extensions
    std::u16string failWith;              // a decoder error for every picture, when set
    int width = 150, height = 340;
    std::shared_ptr<Picture> Decode(const std::string& bytes, const std::u16string& extension) override;
};

// A device with fixed metrics: every character is charWidth wide and lineHeight
// high; the page is pageWidth x pageHeight in portrait and turned in landscape.
class FakePrintDevice : public PrintDevice {
public:
    int pageWidth = 1000, pageHeight = 1400, charWidth = 10, lineHeight = 50;
    bool startFails = false;   // BeginDocument leaves no running job
    bool printing = false;
    Orientation orientation = Orientation::Portrait;
    std::u16string title, fontName;
    int fontSize = 0, pages = 0, jobs = 0, aborts = 0;
    uint32_t fontColor = 0xFFFFFFFF, penColor = 0xFFFFFFFF;
    int penWidth = 0;
    struct Draw {
        int page, x, y;
        std::u16string text;
    };
    std::vector<Draw> draws;
    // "BeginDocument <title> <orientation>", "NewPage", "EndDocument", "AbortDocument".
    std::vector<std::u16string> calls;
    // Runs while a page is spooled (new page, end of document), as the abort
    // check dispatching waiting messages does.
    std::function<void()> onSpool;

    int PageWidth() override { return orientation == Orientation::Portrait ? pageWidth : pageHeight; }
    int PageHeight() override { return orientation == Orientation::Portrait ? pageHeight : pageWidth; }
    int TextWidth(const std::u16string& text) override { return charWidth * static_cast<int>(text.size()); }
    int TextHeight(const std::u16string&) override { return lineHeight; }
    void DrawTextAt(int x, int y, const std::u16string& text) override;
    void NewPage() override;
    void BeginDocument() override;
    void EndDocument() override;
    void AbortDocument() override;
    bool IsPrinting() override { return printing; }
    void SetDocumentTitle(const std::u16string& t) override { title = t; }
    void SetOrientation(Orientation o) override { orientation = o; }
    void SetFontName(const std::u16string& name) override { fontName = name; }
    void SetFontSize(int points) override { fontSize = points; }
    void SetFontColor(uint32_t rgb) override { fontColor = rgb; }
    void SetPenWidth(int width) override { penWidth = width; }
    void SetPenColor(uint32_t rgb) override { penColor = rgb; }

    // The texts drawn on one page, top to bottom.
    std::vector<std::u16string> TextsOnPage(int page) const;
};

class FakePrintSystem : public PrintSystem {
public:
    FakePrintDevice device;
    bool hasDefaultPrinter = true;
    std::deque<bool> dialogAnswers;  // true = OK; OK when empty
    int dialogs = 0;
    // The orientation chosen in the dialog on OK, when set.
    bool chooseLandscape = false;
    std::u16string name = u"Fake Printer";
    void RequireDefaultPrinter() override;
    // Refuses an OK while a job runs, as the real printer does.
    bool ShowPrintDialog() override;
    PrintDevice& CurrentPrinter() override { return device; }
    std::u16string CurrentPrinterName() override { return name; }
};

class FakeTimerPeer : public TimerPeer {
public:
    explicit FakeTimerPeer(int& starts) : starts_(starts) {}
    void Start(unsigned) override { ++starts_; }
    void Stop() override {}

private:
    int& starts_;
};

class FakeUi : public Ui {
public:
    FormEvents* events = nullptr;
    std::u16string caption;
    std::pair<int, int> clientSize{0, 0};
    bool shown = false;
    int closes = 0;
    int dispatches = 0;
    int timerStarts = 0;
    std::vector<int> peersCreated;
    void Bind(FormEvents& e) override { events = &e; }
    void Unbind() override { events = nullptr; }
    std::unique_ptr<ControlPeer> CreatePeer(const ControlSpec& row) override;
    std::unique_ptr<TimerPeer> CreateTimer(int) override { return std::make_unique<FakeTimerPeer>(timerStarts); }
    void SetCaption(const std::u16string& c) override { caption = c; }
    void SetClientSize(int width, int height) override { clientSize = {width, height}; }
    void ShowMainWindow() override { shown = true; }
    void CloseMainWindow() override { ++closes; }
    void DispatchPending() override;
    std::function<void()> onDispatch;
    int keepAlives = 0;
    std::function<void()> onKeepAlive;
    void KeepAlive() override {
        ++keepAlives;
        if (onKeepAlive) onKeepAlive();
    }
};

// All fakes together, ready to hand to the form.
struct FakePlatform {
    FakeFileSystem fs;
    NativeCodec codec;
    FakeDialogs dialogs;
    FakeShell shell;
    FakeLinks links;
    FakePictures pictures;
    FakePrintSystem print;
    FakeUi ui;
    Platform platform{fs, codec, dialogs, shell, links, pictures, print, ui};
};
