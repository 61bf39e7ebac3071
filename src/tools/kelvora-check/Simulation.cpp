#include "Simulation.h"

#include <memory>
#include <stdexcept>
#include <unordered_map>

#include "install/InstallContext.h"
#include "install/InstallationRun.h"
#include "log/SetupLog.h"
#include "platform/Codec.h"
#include "platform/Dialogs.h"
#include "platform/FileSystem.h"
#include "platform/Links.h"
#include "platform/Pictures.h"
#include "platform/Platform.h"
#include "platform/PrintDevice.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "wizard/Kelvorainst.h"

namespace check {

namespace {

constexpr size_t kUnknown = static_cast<size_t>(-1);

// System error codes as the file operations report them.
constexpr uint32_t kFileNotFound = 2;
constexpr uint32_t kPathNotFound = 3;
constexpr uint32_t kAccessDenied = 5;
constexpr uint32_t kAlreadyExists = 183;

SimEvent Ev(SimEvent::Kind kind, std::u16string path = {}, std::u16string other = {}, std::u16string text = {}) {
    SimEvent e;
    e.kind = kind;
    e.path = std::move(path);
    e.other = std::move(other);
    e.text = std::move(text);
    return e;
}

SysResult Failure(uint32_t code, const char16_t* description) {
    SysResult r;
    r.ok = false;
    r.code = code;
    r.description = description;
    return r;
}

// A path that the system's completion would give back unchanged: a drive's
// full path with single "\" separators and no name it rewrites ("." or "..",
// a trailing dot or blank, a device name). The copy asks about every file
// several times with such paths.
bool AlreadyFull(const std::u16string& p) {
    const auto letter = [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    if (p.size() < 3 || !letter(p[0]) || p[1] != u':' || p[2] != u'\\') return false;
    size_t start = 3;
    while (start < p.size()) {
        size_t end = p.find(u'\\', start);
        if (end == std::u16string::npos) end = p.size();
        if (end == start) return false;  // a doubled separator
        const std::u16string_view name(p.data() + start, end - start);
        if (name.back() == u'.' || name.back() == u' ') return false;
        for (char16_t c : name) {
            if (c == u'/' || c == u':' || c < 32) return false;
        }
        // CON, PRN, AUX, NUL, COM1-9 and LPT1-9, with any extension, name devices.
        std::u16string_view stem = name.substr(0, name.find(u'.'));
        while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
        if (stem.size() == 3 || stem.size() == 4) {
            char16_t upper[4] = {};
            for (size_t i = 0; i < stem.size(); ++i)
                upper[i] = (stem[i] >= u'a' && stem[i] <= u'z') ? static_cast<char16_t>(stem[i] - 32) : stem[i];
            const std::u16string_view u(upper, stem.size());
            if (u == u"CON" || u == u"PRN" || u == u"AUX" || u == u"NUL") return false;
            if (u.size() == 4 && (u.substr(0, 3) == u"COM" || u.substr(0, 3) == u"LPT") && u[3] >= u'1' && u[3] <= u'9')
                return false;
        }
        start = end + 1;
    }
    return true;
}

bool IsAbsolute(const std::u16string& p) {
    return text::StartsWith(p, u"\\\\") || text::StartsWith(p, u"//") ||
           (p.size() >= 3 && p[1] == u':' && (p[2] == u'\\' || p[2] == u'/'));
}

std::u16string WithSeparator(const std::u16string& folder) {
    return text::EndsWith(folder, u"\\") ? folder : folder + u"\\";
}

// A full path without its trailing separators; a drive root keeps its own.
std::u16string Trimmed(std::u16string full) {
    while (full.size() > 1 && full.back() == u'\\' && full[full.size() - 2] != u':') full.pop_back();
    return full;
}

// The folder a full, trimmed path lies in; empty for a root.
std::u16string ParentOf(const std::u16string& full) {
    const size_t cut = full.find_last_of(u'\\');
    if (cut == std::u16string::npos || cut + 1 >= full.size()) return {};
    if (cut == 2 && full[1] == u':') return full.substr(0, 3);
    if (text::StartsWith(full, u"\\\\") && full.find(u'\\', 2) >= cut) return {};  // a server's name
    return full.substr(0, cut);
}

// Records the events and tells each the number of log lines written so far.
class Recorder {
public:
    const SetupLog* log = nullptr;
    std::vector<SimEvent> events;

    size_t Add(SimEvent e) {
        e.logLines = log ? log->Lines().size() : kUnknown;
        events.push_back(std::move(e));
        return events.size() - 1;
    }
};

// The distribution folder as it is, plus everything the installer made.
class SimulatedFileSystem : public FileSystem {
public:
    SimulatedFileSystem(FileSystem& base, Codec& codec, Recorder& rec, const SimulationOptions& o)
        : base_(base), codec_(codec), rec_(rec), opt_(o) {
        if (o.symbolicFolders) {
            for (const std::u16string& folder : {o.desktopFolder, o.programsFolder}) {
                if (folder.empty()) continue;
                symbolic_.push_back(codec_.UpperCase(folder));
                Entry e;
                e.folder = true;
                e.name = folder;
                Put(codec_.UpperCase(folder), e);
            }
        }
    }

    bool FileExists(const std::u16string& path) override { return FileAt(Full(path)); }
    bool FolderExists(const std::u16string& path) override { return FolderAt(Full(path)); }

    // Relative paths complete against the working folder the installer was
    // started in, not the checker's.
    std::u16string FullPath(const std::u16string& path) override {
        if (path.empty() || Symbolic(path) || AlreadyFull(path)) return path;
        const std::u16string& work = opt_.workingFolder;
        if (IsAbsolute(path)) return base_.FullPath(path);
        if (path[0] == u'\\' || path[0] == u'/') return base_.FullPath(work.substr(0, 2) + path);
        if (path.size() >= 2 && path[1] == u':') return base_.FullPath(path);
        return base_.FullPath(WithSeparator(work) + path);
    }

    std::u16string ExecutablePath() override { return WithSeparator(opt_.exeDir) + opt_.installerName; }

    SysResult CreateOneFolder(const std::u16string& path) override {
        const std::u16string full = Full(path);
        if (FolderAt(full) || FileAt(full)) return Failure(kAlreadyExists, u"Cannot create a file when that file already exists.");
        const std::u16string parent = ParentOf(full);
        if (parent.empty() || !FolderAt(parent)) return Failure(kPathNotFound, u"The system cannot find the path specified.");
        Entry e;
        e.folder = true;
        e.name = text::NamePart(full);
        Put(codec_.UpperCase(full), e);
        rec_.Add(Ev(SimEvent::Kind::FolderCreated, full));
        return SysResult::Ok();
    }

    SysResult CopyOneFile(const std::u16string& source, const std::u16string& target) override {
        const std::u16string from = Full(source);
        const std::u16string to = Full(target);
        uint64_t bytes = 0;
        const SysResult r = PlaceFile(from, to, bytes);
        if (!r.ok) return r;
        SimEvent ev = Ev(SimEvent::Kind::FileCopied, to, from);
        ev.bytes = bytes;
        rec_.Add(ev);
        return r;
    }

    SysResult MoveReplacing(const std::u16string& fromPath, const std::u16string& toPath) override {
        const std::u16string from = Full(fromPath);
        const std::u16string to = Full(toPath);
        uint64_t bytes = 0;
        const SysResult r = PlaceFile(from, to, bytes);
        if (!r.ok) return r;
        Gone(from);
        rec_.Add(Ev(SimEvent::Kind::FileMoved, to, from));
        return r;
    }

    SysResult DeleteOneFile(const std::u16string& path) override {
        const std::u16string full = Full(path);
        if (!FileAt(full)) return Failure(kFileNotFound, u"The system cannot find the file specified.");
        if (ReadOnlyAt(full)) return Failure(kAccessDenied, u"Access is denied.");
        Gone(full);
        rec_.Add(Ev(SimEvent::Kind::FileRemoved, full));
        return SysResult::Ok();
    }

    bool IsReadOnly(const std::u16string& path) override { return ReadOnlyAt(Full(path)); }

    SysResult SetReadOnly(const std::u16string& path, bool readOnly) override {
        const std::u16string full = Full(path);
        if (!FileAt(full)) return Failure(kFileNotFound, u"The system cannot find the file specified.");
        Entry e = EntryOf(full);
        e.readOnly = readOnly;
        Put(codec_.UpperCase(full), e);
        return SysResult::Ok();
    }

    // Nothing on the simulated machine holds a file open.
    bool InUse(const std::u16string&) override { return false; }

    SysResult ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) override {
        entries.clear();
        const std::u16string full = Full(folder);
        if (!FolderAt(full)) return Failure(kPathNotFound, u"The system cannot find the path specified.");
        const std::u16string key = codec_.UpperCase(full);
        const Entry* own = Find(full);
        std::vector<FolderEntry> listed;
        if (!own && !Unreal(full)) base_.ListFolder(full, listed);
        const std::u16string prefix = WithSeparator(key);
        for (const FolderEntry& e : listed) {
            const std::u16string entryKey = prefix + codec_.UpperCase(e.name);
            listed_[entryKey] = e.isFolder;
            if (overlay_.find(entryKey) == overlay_.end()) entries.push_back(e);
        }
        if (const auto made = children_.find(key); made != children_.end()) {
            for (const std::u16string& child : made->second) {
                const Entry& e = overlay_.at(child);
                if (e.exists) entries.push_back({e.name, e.folder});
            }
        }
        return SysResult::Ok();
    }

    SysResult ReadAllDenyWrite(const std::u16string& path, std::string& bytes) override {
        const std::u16string full = Full(path);
        SysResult r;
        if (const Entry* e = Find(full)) {
            if (!e->exists) r = Failure(kFileNotFound, u"The system cannot find the file specified.");
            else if (e->folder) r = Failure(kAccessDenied, u"Access is denied.");
            else if (!e->origin.empty()) r = base_.ReadAllDenyWrite(e->origin, bytes);
            else bytes.clear();  // written by the run; its content is not kept
        } else {
            r = base_.ReadAllDenyWrite(full, bytes);
        }
        SimEvent ev = Ev(SimEvent::Kind::Read, full);
        ev.ok = r.ok;
        rec_.Add(ev);
        return r;
    }

    SysResult CreateExclusive(const std::u16string& path, std::unique_ptr<OutFile>& file) override {
        const std::u16string full = Full(path);
        if (FolderAt(full) || ReadOnlyAt(full)) return Failure(kAccessDenied, u"Access is denied.");
        if (!FolderAt(ParentOf(full))) return Failure(kPathNotFound, u"The system cannot find the path specified.");
        Entry e;
        e.name = text::NamePart(full);
        e.size = 0;
        Put(codec_.UpperCase(full), e);
        const size_t at = rec_.Add(Ev(SimEvent::Kind::FileWritten, full));
        file = std::make_unique<CountingFile>(rec_, at);
        return SysResult::Ok();
    }

    SysResult OutOfMemory() override { return base_.OutOfMemory(); }

    // A file the simulated system made outside the file operations (a shortcut).
    void RecordFile(const std::u16string& path) {
        Entry e;
        e.name = text::NamePart(Full(path));
        e.size = 0;
        Put(Key(path), e);
    }

private:
    // What a copy and a move both ask of the system: a file to take and a
    // writable place in an existing folder. On success `from`'s entry stands
    // at `to` too.
    SysResult PlaceFile(const std::u16string& from, const std::u16string& to, uint64_t& bytes) {
        if (!FileAt(from)) return Failure(kFileNotFound, u"The system cannot find the file specified.");
        if (FolderAt(to) || ReadOnlyAt(to)) return Failure(kAccessDenied, u"Access is denied.");
        if (!FolderAt(ParentOf(to))) return Failure(kPathNotFound, u"The system cannot find the path specified.");
        Entry e = EntryOf(from);
        e.name = text::NamePart(to);
        bytes = e.size.value_or(0);
        Put(codec_.UpperCase(to), e);
        return SysResult::Ok();
    }

    struct Entry {
        bool exists = true;
        bool folder = false;
        // The attribute; a copy of a real file asks its origin when first needed.
        std::optional<bool> readOnly = false;
        std::u16string name;    // as written when it was made
        std::u16string origin;  // the file of the real folder whose content this is; empty for a new one
        std::optional<uint64_t> size;
    };

    class CountingFile : public OutFile {
    public:
        CountingFile(Recorder& rec, size_t event) : rec_(rec), event_(event) {}
        SysResult Write(const std::string& bytes) override {
            rec_.events[event_].bytes += bytes.size();
            return SysResult::Ok();
        }

    private:
        Recorder& rec_;
        size_t event_;
    };

    std::u16string Full(const std::u16string& path) { return Trimmed(FullPath(path)); }
    std::u16string Key(const std::u16string& path) { return codec_.UpperCase(Full(path)); }

    // What lies at a full path: in the record, or else in the real folder.
    bool FileAt(const std::u16string& full) {
        const std::u16string key = codec_.UpperCase(full);
        if (const auto e = overlay_.find(key); e != overlay_.end()) return e->second.exists && !e->second.folder;
        if (const auto seen = listed_.find(key); seen != listed_.end()) return !seen->second;
        return !Unreal(full) && base_.FileExists(full);
    }
    bool FolderAt(const std::u16string& full) {
        const std::u16string key = codec_.UpperCase(full);
        if (const auto e = overlay_.find(key); e != overlay_.end()) return e->second.exists && e->second.folder;
        if (const auto seen = listed_.find(key); seen != listed_.end()) return seen->second;
        return !Unreal(full) && base_.FolderExists(full);
    }
    bool ReadOnlyAt(const std::u16string& full) {
        const auto found = overlay_.find(codec_.UpperCase(full));
        if (found == overlay_.end()) return !Unreal(full) && base_.IsReadOnly(full);
        Entry& e = found->second;
        if (!e.exists || e.folder) return false;
        if (!e.readOnly) e.readOnly = base_.IsReadOnly(e.origin);
        return *e.readOnly;
    }

    // Paths the real folder cannot answer for: below a symbolic folder or a
    // folder the simulation made (the record holds all there is there).
    bool Unreal(const std::u16string& full) {
        if (Symbolic(full)) return true;
        const std::u16string parent = ParentOf(full);
        if (parent.empty()) return false;
        const Entry* e = Find(parent);
        return e && e->folder;
    }

    bool Symbolic(const std::u16string& path) {
        if (symbolic_.empty() || path.empty() || path[0] != u'<') return false;
        const std::u16string upper = codec_.UpperCase(path);
        for (const std::u16string& root : symbolic_) {
            if (text::StartsWith(upper, root) && (upper.size() == root.size() || upper[root.size()] == u'\\')) return true;
        }
        return false;
    }

    const Entry* Find(const std::u16string& full) {
        const auto found = overlay_.find(codec_.UpperCase(full));
        return found == overlay_.end() ? nullptr : &found->second;
    }

    // The entry of an existing file: its own, or one for the real folder's file.
    Entry EntryOf(const std::u16string& full) {
        if (const Entry* e = Find(full)) return *e;
        Entry e;
        e.name = text::NamePart(full);
        e.origin = full;
        e.readOnly.reset();
        if (opt_.fileSize) e.size = opt_.fileSize(full);
        return e;
    }

    void Put(const std::u16string& key, const Entry& e) {
        if (overlay_.insert_or_assign(key, e).second) children_[ParentOf(key)].push_back(key);
    }

    void Gone(const std::u16string& full) {
        Entry e;
        e.exists = false;
        e.name = text::NamePart(full);
        Put(codec_.UpperCase(full), e);
    }

    FileSystem& base_;
    Codec& codec_;
    Recorder& rec_;
    const SimulationOptions& opt_;
    std::unordered_map<std::u16string, Entry> overlay_;  // by upper-cased full path
    // The keys of the record below each upper-cased folder, in the order made.
    std::unordered_map<std::u16string, std::vector<std::u16string>> children_;
    std::vector<std::u16string> symbolic_;     // upper-cased
    // What listing the real folder showed, by upper-cased full path: a folder
    // (true) or a file. The real folder does not change during the run.
    std::unordered_map<std::u16string, bool> listed_;
};

class SimulatedDialogs : public Dialogs {
public:
    SimulatedDialogs(Recorder& rec, bool confirm) : rec_(rec), confirm_(confirm) {}
    int ShowMessage(const std::u16string& text, const std::u16string& caption, unsigned flags) override {
        const bool question = (flags & 0x0F) == mb::OkCancel;
        SimEvent e = Ev(SimEvent::Kind::MessageBox, {}, caption, text);
        e.flags = flags;
        e.answer = question && !confirm_ ? mb::IdCancel : mb::IdOk;
        rec_.Add(e);
        return e.answer;
    }
    void ErrorBox(const std::u16string& text, const std::u16string&) override {
        rec_.Add(Ev(SimEvent::Kind::ErrorBox, {}, {}, text));
    }
    bool BrowseForFolder(const std::u16string&, std::u16string&) override { return false; }

private:
    Recorder& rec_;
    bool confirm_;
};

// A program that ends as soon as it is waited for.
class EndedProcess : public StartedProcess {
public:
    bool WaitForEndOrMessage() override { return true; }
};

class SimulatedShell : public Shell {
public:
    SimulatedShell(Recorder& rec, const SimulationOptions& o) : rec_(rec), opt_(o) {}
    std::u16string SpecialFolder(int csidl, unsigned) override {
        if (csidl == csidl::DesktopDirectory) return opt_.desktopFolder;
        if (csidl == csidl::Programs) return opt_.programsFolder;
        return {};
    }
    intptr_t ShellExecuteRunas(const std::u16string& file, const std::u16string&, const std::u16string& directory) override {
        rec_.Add(Ev(SimEvent::Kind::ProgramStarted, file, directory));
        return 42;  // accepted
    }
    std::unique_ptr<StartedProcess> ShellExecuteExRunas(const std::u16string& file, const std::u16string&,
                                                        const std::u16string& directory) override {
        SimEvent e = Ev(SimEvent::Kind::ProgramStarted, file, directory);
        e.waited = true;
        rec_.Add(e);
        return std::make_unique<EndedProcess>();
    }
    void DebugOutput(const std::u16string&) override {}

private:
    Recorder& rec_;
    const SimulationOptions& opt_;
};

// Saves a shortcut where its folder exists, as the link object does.
class SimulatedLinks : public Links {
public:
    SimulatedLinks(Recorder& rec, SimulatedFileSystem& fs) : rec_(rec), fs_(fs) {}
    LinkOutcome WriteLink(const LinkRequest& request) override {
        LinkOutcome outcome;
        const std::u16string folder = text::FolderPart(request.file);
        if (!folder.empty() && fs_.FolderExists(folder)) {
            fs_.RecordFile(request.file);
            rec_.Add(Ev(SimEvent::Kind::LinkSaved, request.file, request.target, request.icon.value_or(u"")));
        } else {
            outcome.saveResult = static_cast<int32_t>(0x80070003);  // the path was not found
            rec_.Add(Ev(SimEvent::Kind::LinkRefused, request.file, request.target));
        }
        return outcome;
    }

private:
    Recorder& rec_;
    SimulatedFileSystem& fs_;
};

class BlankPicture : public Picture {
public:
    int Width() const override { return 0; }
    int Height() const override { return 0; }
};

// Pictures are not decoded: their extension is what the installer judges first.
class SimulatedPictures : public Pictures {
public:
    std::shared_ptr<Picture> Decode(const std::string&, const std::u16string&) override {
        return std::make_shared<BlankPicture>();
    }
};

// Nothing is printed in the simulation: the print dialog is always cancelled.
class SimulatedPrint : public PrintSystem {
public:
    void RequireDefaultPrinter() override {}
    bool ShowPrintDialog() override { return false; }
    PrintDevice& CurrentPrinter() override { throw std::logic_error("no printer in the simulation"); }
    std::u16string CurrentPrinterName() override { return {}; }
};

// A window with no controls on the screen.
class SimulatedUi : public Ui {
public:
    std::u16string caption;
    bool closed = false;
    void Bind(FormEvents&) override {}
    void Unbind() override {}
    std::unique_ptr<ControlPeer> CreatePeer(const ControlSpec&) override { return nullptr; }
    std::unique_ptr<TimerPeer> CreateTimer(int) override { return nullptr; }
    void SetCaption(const std::u16string& c) override { caption = c; }
    void SetClientSize(int, int) override {}
    void ShowMainWindow() override {}
    void CloseMainWindow() override { closed = true; }
    void DispatchPending() override {}
    void KeepAlive() override {}
};

// The run's view: the packager's choice of tasks, and whether the run got to
// the end.
class ChosenTasks : public InstallRunView {
public:
    explicit ChosenTasks(const SimulationOptions& o) : opt_(o) {}
    bool DesktopShortcutChosen() override { return opt_.desktopShortcut; }
    bool StartMenuShortcutChosen() override { return opt_.startMenuShortcut; }
    void StartProgress(int) override {}
    void AdvanceProgress() override {}
    void ArmFinish() override { armed = true; }
    bool armed = false;

private:
    const SimulationOptions& opt_;
};

std::u16string Ticked(bool on) { return on ? u"ticked" : u"not ticked"; }

}  // namespace

SimulatedRun SimulateInstaller(FileSystem& folder, Codec& codec, const SimulationOptions& options) {
    Recorder rec;
    SimulatedFileSystem fs(folder, codec, rec, options);
    SimulatedDialogs dialogs(rec, options.confirm);
    SimulatedShell shell(rec, options);
    SimulatedLinks links(rec, fs);
    SimulatedPictures pictures;
    SimulatedPrint print;
    SimulatedUi ui;
    Platform platform{fs, codec, dialogs, shell, links, pictures, print, ui};
    AppState state;
    SimulatedRun run;

    const auto phase = [&](std::u16string what) { rec.Add(Ev(SimEvent::Kind::Phase, {}, {}, std::move(what))); };
    phase(u"start-up: the window is built and reads its settings, the licence and the side picture");
    std::unique_ptr<TfrmKelvoraInstall> form = BuildMainWindow(platform, state);
    if (form) {
        run.windowBuilt = true;
        rec.log = &form->Log();
        phase(u"first showing of the window: its start-up questions, or the update");
        if (form->ShowFirstTime() && !ui.closed) {
            // The user goes through the pages to the installing page, whose
            // timer starts the run with the tasks chosen.
            run.installationRan = true;
            phase(u"installation run: desktop shortcut " + Ticked(options.desktopShortcut) + u", start-menu shortcut " +
                  Ticked(options.startMenuShortcut));
            form->PageControl.SetActivePageIndex(form->TabSheet07.Index());
            ChosenTasks tasks(options);
            InstallContext ctx{state.settings, form->Log(), platform};
            form->Guard([&] { RunInstallation(ctx, tasks); });
            if (tasks.armed) {
                run.finishReached = true;
                phase(u"finish page, its box to start the product " + Ticked(options.startOnFinish) + u": the wizard ends");
                form->Guard([&] {
                    form->Timer_02Timer();
                    form->CheckBox_08_01.SetChecked(options.startOnFinish);
                    form->Button_NextClick();
                });
            }
        }
        phase(u"exit: the window closes and saves the setup log");
        form->Destroy();
        run.log = form->Log().Lines();
        run.windowCaption = form->WindowCaption();
        rec.log = nullptr;
        form.reset();
    }
    run.events = std::move(rec.events);
    return run;
}

}  // namespace check
