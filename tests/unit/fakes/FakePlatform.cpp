#include "fakes/FakePlatform.h"

#include "platform/AppError.h"

int FakeDialogs::ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned flags) {
    boxes.push_back({text, caption, flags});
    if (onBox) onBox(boxes.back());
    if (answers.empty()) return mb::IdOk;
    const int a = answers.front();
    answers.pop_front();
    return a;
}

void FakeDialogs::ErrorBox(const std::u16string& text, const std::u16string& title) {
    errors.push_back({text, title, mb::IconError});
}

bool FakeDialogs::BrowseForFolder(const std::u16string&, std::u16string& folder) {
    browseStarts.push_back(folder);
    if (browseAnswers.empty()) return false;
    auto [ok, chosen] = browseAnswers.front();
    browseAnswers.pop_front();
    if (ok) folder = chosen;
    return ok;
}

bool FakeProcess::WaitForEndOrMessage() {
    ++waits;
    if (remaining_ <= 0) return true;
    --remaining_;
    if (onMessage_) onMessage_();
    return false;
}

std::u16string FakeShell::SpecialFolder(int csidl, unsigned bufferSize) {
    specialFolderBuffers.push_back(bufferSize);
    auto it = folders.find(csidl);
    return it == folders.end() ? std::u16string() : it->second;
}

intptr_t FakeShell::ShellExecuteRunas(const std::u16string& file, const std::u16string& parameters,
                                      const std::u16string& directory) {
    started.push_back({u"ShellExecute", file, parameters, directory});
    return shellExecuteResult;
}

std::unique_ptr<StartedProcess> FakeShell::ShellExecuteExRunas(const std::u16string& file,
                                                               const std::u16string& parameters,
                                                               const std::u16string& directory) {
    started.push_back({u"ShellExecuteEx", file, parameters, directory});
    if (refuseElevation) return nullptr;
    return std::make_unique<FakeProcess>(messagesDuringWait, onWaitMessage);
}

LinkOutcome FakeLinks::WriteLink(const LinkRequest& request) {
    written.push_back(request);
    if (fs && next.stage == LinkOutcome::Stage::Saved && next.saveResult == 0) fs->AddFile(request.file, "lnk");
    return next;
}

std::shared_ptr<Picture> FakePictures::Decode(const std::string&, const std::u16string& extension) {
    decoded.push_back(extension);
    if (!failWith.empty()) throw AppError(failWith);
    return std::make_shared<FakePicture>(width, height);
}

static void RequireJob(bool printing) {
    if (!printing) throw AppError(u"プリンタは現在印刷を行っていません");
}

void FakePrintDevice::DrawTextAt(int x, int y, const std::u16string& text) {
    RequireJob(printing);
    draws.push_back({pages, x, y, text});
}

void FakePrintDevice::NewPage() {
    RequireJob(printing);
    calls.push_back(u"NewPage");
    if (onSpool) onSpool();
    ++pages;
}

void FakePrintDevice::BeginDocument() {
    calls.push_back(u"BeginDocument " + title + (orientation == Orientation::Portrait ? u" portrait" : u" landscape"));
    if (startFails) return;
    printing = true;
    ++jobs;
    pages = 1;
}

void FakePrintDevice::EndDocument() {
    RequireJob(printing);
    calls.push_back(u"EndDocument");
    if (onSpool) onSpool();
    printing = false;
}

void FakePrintDevice::AbortDocument() {
    calls.push_back(u"AbortDocument");
    ++aborts;
    printing = false;
}

std::vector<std::u16string> FakePrintDevice::TextsOnPage(int page) const {
    std::vector<std::u16string> texts;
    for (const Draw& d : draws)
        if (d.page == page) texts.push_back(d.text);
    return texts;
}

void FakePrintSystem::RequireDefaultPrinter() {
    if (!hasDefaultPrinter) throw AppError(u"デフォルトのプリンタが現在選択されていません");
}

bool FakePrintSystem::ShowPrintDialog() {
    ++dialogs;
    bool ok = true;
    if (!dialogAnswers.empty()) {
        ok = dialogAnswers.front();
        dialogAnswers.pop_front();
    }
    if (!ok) return false;
    if (device.printing) throw AppError(u"印刷実行中です");
    if (chooseLandscape) device.orientation = Orientation::Landscape;
    return true;
}

std::unique_ptr<ControlPeer> FakeUi::CreatePeer(const ControlSpec& row) {
    peersCreated.push_back(row.id);
    return nullptr;
}

void FakeUi::DispatchPending() {
    ++dispatches;
    if (onDispatch) onDispatch();
}
