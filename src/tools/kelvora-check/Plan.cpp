// The plan: the simulated run's events as steps, each with the setup-log lines
// the installer wrote after it and before the next one.
#include "Plan.h"

#include "platform/Codec.h"
#include "platform/Dialogs.h"
#include "platform/Text.h"

namespace check {

namespace {

constexpr size_t kUnknown = static_cast<size_t>(-1);

std::u16string Quoted(const std::u16string& s) { return u"\"" + s + u"\""; }

std::u16string Count(uint64_t n, const char16_t* what) {
    return text::FromInt(static_cast<long long>(n)) + u" " + what + (n == 1 ? u"" : u"s");
}

// A box's text on one line: its line breaks become " / ", none at the ends.
std::u16string OneLine(const std::u16string& s) {
    std::u16string out;
    bool pendingBreak = false;
    for (char16_t c : s) {
        if (c == u'\r' || c == u'\n') {
            pendingBreak = !out.empty();
            continue;
        }
        if (pendingBreak) out += u" / ";
        pendingBreak = false;
        out += c;
    }
    return out;
}

// The folder a full path lies in, without its separator.
std::u16string FolderOf(const std::u16string& path) {
    std::u16string folder = text::FolderPart(path);
    if (folder.size() > 1 && folder.back() == u'\\' && folder[folder.size() - 2] != u':') folder.pop_back();
    return folder;
}

bool Inside(Codec& codec, const std::u16string& path, const std::u16string& folder) {
    const std::u16string p = codec.UpperCase(path);
    std::u16string f = codec.UpperCase(folder);
    if (!text::EndsWith(f, u"\\")) f += u"\\";
    return text::StartsWith(p, f);
}

// The deepest folder that holds every one of `folders` (each included).
std::u16string CommonFolder(Codec& codec, const std::vector<std::u16string>& folders) {
    if (folders.empty()) return {};
    std::u16string common = folders.front();
    std::u16string commonUpper = codec.UpperCase(common);
    for (const std::u16string& f : folders) {
        const std::u16string upper = codec.UpperCase(f);
        while (!common.empty() && upper != commonUpper &&
               !text::StartsWith(upper, text::EndsWith(commonUpper, u"\\") ? commonUpper : commonUpper + u"\\")) {
            const std::u16string up = FolderOf(common);
            common = up == common ? std::u16string() : up;
            commonUpper = codec.UpperCase(common);
        }
    }
    return common;
}

// Adds a folder unless it is the one added last: a copy meets each folder's files together.
void AddFolder(std::vector<std::u16string>& folders, std::u16string folder) {
    if (folders.empty() || folders.back() != folder) folders.push_back(std::move(folder));
}

// Consecutive file-system changes, told as one step.
struct Changes {
    std::vector<std::u16string> folders;            // created, in order
    std::vector<std::u16string> sourceFolders;      // of the files copied
    std::vector<std::u16string> targetFolders;
    uint64_t files = 0;
    uint64_t bytes = 0;
    uint64_t removed = 0;  // files deleted (temporary copies left from an earlier run)

    void Describe(Codec& codec, PlanStep& step) const {
        std::vector<std::u16string> clauses;
        const std::u16string target = CommonFolder(codec, targetFolders);
        std::vector<std::u16string> above;  // created on the way to the copy's folder, or alone
        uint64_t below = 0;
        for (const std::u16string& f : folders) {
            if (files && Inside(codec, f, target)) ++below;
            else above.push_back(f);
        }
        if (!above.empty()) {
            std::u16string list;
            for (const std::u16string& f : above) list += (list.empty() ? u"" : u", ") + f;
            clauses.push_back((above.size() == 1 ? u"create folder " : u"create folders ") + list);
        }
        if (files) {
            clauses.push_back(u"copy " + CommonFolder(codec, sourceFolders) + u" into " + target);
            step.detail = Count(files, u"file") + u", " + Count(below, u"folder") + u", " + Count(bytes, u"byte");
        }
        if (removed) clauses.push_back(u"remove " + Count(removed, u"file"));
        for (const std::u16string& p : clauses) step.action += (step.action.empty() ? u"" : u"; ") + p;
    }
};

std::u16string Describe(const SimEvent& e) {
    using K = SimEvent::Kind;
    switch (e.kind) {
        case K::Phase: return e.text;
        case K::Read: return (e.ok ? u"read " : u"fail to read ") + e.path;
        case K::FileWritten: return u"write " + e.path + u" (" + Count(e.bytes, u"byte") + u")";
        case K::LinkSaved:
            return u"save the shortcut " + e.path + u" to " + e.other + (e.text.empty() ? u", no icon" : u", icon " + e.text);
        case K::LinkRefused: return u"the shortcut " + e.path + u" to " + e.other + u" cannot be saved: its folder does not exist";
        case K::MessageBox:
            return u"message box " + Quoted(e.other) + u": " + OneLine(e.text) + u" → " +
                   (e.answer == mb::IdOk ? u"OK" : u"Cancel");
        case K::ErrorBox: return u"error box: " + OneLine(e.text);
        case K::ProgramStarted:
            return u"start " + e.path + u" elevated in " + e.other + (e.waited ? u" and wait until it ends" : u"");
        default: return {};
    }
}

bool IsChange(SimEvent::Kind k) {
    using K = SimEvent::Kind;
    return k == K::FolderCreated || k == K::FileCopied || k == K::FileMoved || k == K::FileRemoved;
}

}  // namespace

std::vector<PlanStep> PlanOf(const SimulatedRun& run, Codec& codec) {
    std::vector<PlanStep> plan;
    size_t written = 0;  // log lines given to a step so far
    Changes changes;     // gathered for the last step while `gathering`
    bool gathering = false;

    const auto closeChanges = [&] {
        if (gathering) changes.Describe(codec, plan.back());
        changes = Changes{};
        gathering = false;
    };
    const auto giveLines = [&](size_t upTo) {
        if (upTo == kUnknown || upTo <= written) return;
        if (plan.empty()) plan.push_back({});
        for (; written < upTo && written < run.log.size(); ++written) plan.back().logLines.push_back(run.log[written]);
        // The lines close the changes before them: what follows is a step of its own.
        closeChanges();
    };
    // While the window is built its log cannot be watched: what it does
    // belongs to the step of its building.
    const auto folded = [&](const SimEvent& e) { return e.logLines == kUnknown && !plan.empty(); };

    for (const SimEvent& e : run.events) {
        giveLines(e.logLines);
        if (IsChange(e.kind)) {
            if (!gathering) {
                if (!folded(e)) plan.push_back({});
                gathering = true;
            }
            if (e.kind == SimEvent::Kind::FolderCreated) changes.folders.push_back(e.path);
            if (e.kind == SimEvent::Kind::FileRemoved) ++changes.removed;
            if (e.kind == SimEvent::Kind::FileCopied) {
                ++changes.files;
                changes.bytes += e.bytes;
                AddFolder(changes.sourceFolders, FolderOf(e.other));
                AddFolder(changes.targetFolders, FolderOf(e.path));
            }
            continue;
        }
        closeChanges();
        const std::u16string what = Describe(e);
        if (e.kind != SimEvent::Kind::Phase && folded(e)) plan.back().action += u"; " + what;
        else plan.push_back({what, {}, {}});
    }
    closeChanges();
    giveLines(run.log.size());
    return plan;
}

}  // namespace check
