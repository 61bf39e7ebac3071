// Folder creation and copying for the installation run and the update mode.
// Nothing here throws: every failure becomes the result and, for the two
// folder operations, one setup-log line per call.
#include "install/FileOperations.h"

#include <vector>

#include "install/InstallContext.h"
#include "install/PathRules.h"
#include "log/SetupLog.h"
#include "platform/Codec.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "platform/Ui.h"

namespace {

// The length of the part of a full path that is never created: "C:\",
// "\\server\share\", "\\?\C:\" or "\\?\UNC\server\share\".
size_t RootLength(const std::u16string& full) {
    size_t start = 0;
    if (text::StartsWith(full, u"\\\\?\\UNC\\")) {
        start = 8;
    } else if (text::StartsWith(full, u"\\\\?\\")) {
        start = 4;
        if (full.size() >= start + 2 && full[start + 1] == u':') return std::min(full.size(), start + 3);
        return full.size();
    } else if (full.size() >= 2 && full[1] == u':') {
        return std::min<size_t>(full.size(), 3);
    } else if (text::StartsWith(full, u"\\\\")) {
        start = 2;
    } else {
        return 0;
    }
    // Server and share names.
    const size_t server = full.find(u'\\', start);
    if (server == std::u16string::npos) return full.size();
    const size_t share = full.find(u'\\', server + 1);
    return share == std::u16string::npos ? full.size() : share + 1;
}

// A drive root, plain or after the extended-length prefix, keeps its separator.
std::u16string WithoutTrailingSeparators(std::u16string path) {
    while (path.size() > 1 && path.back() == u'\\' && path[path.size() - 2] != u':') path.pop_back();
    return path;
}

// Creates every missing level of an accepted folder path. A level the system
// refuses ends the creation there; the caller judges the outcome by looking.
void CreateLevels(FileSystem& fs, const std::u16string& path) {
    const std::u16string full = WithoutTrailingSeparators(fs.FullPath(path));
    size_t pos = RootLength(full);
    while (pos < full.size()) {
        size_t end = full.find(u'\\', pos);
        if (end == std::u16string::npos) end = full.size();
        if (end > pos) {  // doubled separators make no level of their own
            const std::u16string level = full.substr(0, end);
            if (!fs.FolderExists(level)) {
                const SysResult r = fs.CreateOneFolder(level);
                if (!r.ok && !fs.FolderExists(level)) return;
            }
        }
        pos = end + 1;
    }
}

bool Accepted(FileSystem& fs, const std::u16string& path, PathKind kind, bool forCreation) {
    return AcceptPath(fs, path, kind, forCreation) == PathVerdict::Accepted;
}

std::u16string Join(const std::u16string& folder, const std::u16string& name) {
    return !folder.empty() && folder.back() == u'\\' ? folder + name : folder + u"\\" + name;
}

// The depth-first walk the tree operations share: every entry below `source`,
// in listing order, with the path it has below `target`. `skipKey` (upper
// case) is a target inside the source: its subtree is passed by, or a copy
// would copy its own copies without end. The walk runs inside a handler; the
// window stays alive meanwhile.
//   onFile(source, target, targetFolder)  false ends the walk
//   onFolder(source, target)              whether to enter the sub-folder
//   onUnlisted(source, target)            an entered sub-folder that cannot be listed
// False when `source` itself cannot be listed.
template <class OnFile, class OnFolder, class OnUnlisted>
bool WalkTree(InstallContext& ctx, const std::u16string& source, const std::u16string& target,
              const std::u16string& skipKey, OnFile onFile, OnFolder onFolder, OnUnlisted onUnlisted) {
    // One folder of the walk: its entries and how far they have been handled.
    struct Frame {
        std::u16string source, target;
        std::vector<FolderEntry> entries;
        size_t next = 0;
    };
    FileSystem& fs = ctx.platform.fs;
    Codec& codec = ctx.platform.codec;
    Ui& ui = ctx.platform.ui;
    std::vector<Frame> stack;
    stack.push_back({source, target, {}, 0});
    if (!fs.ListFolder(source, stack.back().entries).ok) return false;
    while (!stack.empty()) {
        ui.KeepAlive();
        Frame& frame = stack.back();
        if (frame.next == frame.entries.size()) {
            stack.pop_back();
            continue;
        }
        const FolderEntry& entry = frame.entries[frame.next++];
        std::u16string s = Join(frame.source, entry.name);
        std::u16string t = Join(frame.target, entry.name);
        if (!entry.isFolder) {
            if (!onFile(s, t, frame.target)) return true;
            continue;
        }
        if (s.size() == skipKey.size() && codec.UpperCase(s) == skipKey) continue;
        if (!onFolder(s, t)) continue;
        Frame sub{std::move(s), std::move(t), {}, 0};
        if (!fs.ListFolder(sub.source, sub.entries).ok) {
            onUnlisted(sub.source, sub.target);
            continue;
        }
        stack.push_back(std::move(sub));  // `frame` is not used past this point
    }
    return true;
}

// Each file is copied under this name beside its target and renamed into
// place once it is complete, so that a full disk or an interrupted run never
// leaves a truncated file under a product file's name. One copy runs at a
// time, so one fixed name per folder is enough; a leftover of an interrupted
// run is removed when a later copy enters the folder.
constexpr char16_t kTemporaryName[] = u"~KelvoraInstall.$$$";

std::u16string TemporaryIn(const std::u16string& folder) { return Join(folder, kTemporaryName); }

// Removes a temporary copy, which carries its source's attributes and so may be read-only.
void Discard(FileSystem& fs, const std::u16string& temporary) {
    if (!fs.FileExists(temporary)) return;
    if (fs.IsReadOnly(temporary)) fs.SetReadOnly(temporary, false);
    fs.DeleteOneFile(temporary);
}

// Copies `source` over `target` by way of `temporary` (in the target's folder).
// A read-only target is replaced like any other: a product installed from a
// disc carries the disc's attribute and must still take an update. On failure
// the previous target is left as it was, attribute included.
SysResult CopyIntoPlace(FileSystem& fs, const std::u16string& source, const std::u16string& target,
                        const std::u16string& temporary) {
    SysResult r = fs.CopyOneFile(source, temporary);
    if (!r.ok) {
        Discard(fs, temporary);
        return r;
    }
    r = fs.MoveReplacing(temporary, target);
    // The attribute is asked only when the replacement was refused: most
    // targets are new or writable, and the copy is measured per file.
    if (!r.ok && fs.IsReadOnly(target)) {
        fs.SetReadOnly(target, false);
        r = fs.MoveReplacing(temporary, target);
        if (!r.ok) fs.SetReadOnly(target, true);
    }
    if (!r.ok) Discard(fs, temporary);
    return r;
}

void FailedLine(InstallContext& ctx, const std::u16string& source, const std::u16string& target) {
    ctx.log.AddLog(u"NG : File Copy : " + source + u" " + target);
}

// A folder whose target could not be created: its own line, then one line for
// each file below it, in the order the walk would have met them, so the log
// names every file that is missing. `skip` is a target inside the source,
// which the walk passes by too.
void FolderLeftBehind(InstallContext& ctx, const std::u16string& source, const std::u16string& target,
                      const std::u16string& skip) {
    FailedLine(ctx, source, target);
    // A sub-folder that cannot be listed has no files to name.
    WalkTree(
        ctx, source, target, skip,
        [&](const std::u16string& s, const std::u16string& t, const std::u16string&) {
            FailedLine(ctx, s, t);
            return true;
        },
        [](const std::u16string&, const std::u16string&) { return true; },
        [](const std::u16string&, const std::u16string&) {});
}

// Copies the tree below `sourceRoot` into `targetRoot`, depth-first, each
// sub-folder's target created before its contents. Returns false when any
// file or folder was left behind; each of those gets its own line.
bool Walk(InstallContext& ctx, const std::u16string& sourceRoot, const std::u16string& targetRoot) {
    FileSystem& fs = ctx.platform.fs;
    Codec& codec = ctx.platform.codec;
    const auto failedLine = [&](const std::u16string& s, const std::u16string& t) { FailedLine(ctx, s, t); };

    const std::u16string source = WithoutTrailingSeparators(fs.FullPath(sourceRoot));
    const std::u16string target = WithoutTrailingSeparators(fs.FullPath(targetRoot));
    // A target inside the source is passed by.
    const std::u16string targetKey = codec.UpperCase(target);
    // The same folder on both sides (written differently enough to pass the
    // pair test): the system refuses to copy a file onto itself, and a copy by
    // way of a temporary name must not turn that into a success.
    const bool ontoItself = codec.UpperCase(source) == targetKey;

    if (!fs.FolderExists(target)) {
        FolderLeftBehind(ctx, source, target, targetKey);
        return false;
    }

    Discard(fs, TemporaryIn(target));
    bool complete = true;
    const bool listed = WalkTree(
        ctx, source, target, targetKey,
        [&](const std::u16string& s, const std::u16string& t, const std::u16string& folder) {
            if (ontoItself || !CopyIntoPlace(fs, s, t, TemporaryIn(folder)).ok) {
                failedLine(s, t);
                complete = false;
            }
            return true;
        },
        [&](const std::u16string& s, const std::u16string& t) {
            if (fs.CreateOneFolder(t).ok) return true;
            if (!fs.FolderExists(t)) {
                // Nothing below a folder that could not be created can be copied.
                FolderLeftBehind(ctx, s, t, targetKey);
                complete = false;
                return false;
            }
            Discard(fs, TemporaryIn(t));  // a folder made just now holds none
            return true;
        },
        [&](const std::u16string& s, const std::u16string& t) {
            failedLine(s, t);
            complete = false;
        });
    if (!listed) {
        failedLine(source, target);
        return false;
    }
    return complete;
}

// A read-only file refuses every open for writing for that reason alone, so
// it is asked with the attribute cleared for the moment of the question.
bool HeldByAnotherProgram(FileSystem& fs, const std::u16string& path) {
    if (!fs.IsReadOnly(path)) return fs.InUse(path);
    if (!fs.SetReadOnly(path, false).ok) return fs.InUse(path);
    const bool held = fs.InUse(path);
    fs.SetReadOnly(path, true);
    return held;
}

}  // namespace

std::u16string FileInUse(InstallContext& ctx, const std::u16string& sourceRoot, const std::u16string& targetRoot) {
    FileSystem& fs = ctx.platform.fs;
    Codec& codec = ctx.platform.codec;
    if (!Accepted(fs, sourceRoot, PathKind::Folder, false) || !Accepted(fs, targetRoot, PathKind::Folder, false)) return {};
    const std::u16string source = WithoutTrailingSeparators(fs.FullPath(sourceRoot));
    const std::u16string target = WithoutTrailingSeparators(fs.FullPath(targetRoot));
    const std::u16string targetKey = codec.UpperCase(target);
    if (codec.UpperCase(source) == targetKey || !fs.FolderExists(source) || !fs.FolderExists(target)) return {};

    std::u16string held;
    WalkTree(
        ctx, source, target, targetKey,
        [&](const std::u16string&, const std::u16string& t, const std::u16string&) {
            if (fs.FileExists(t) && HeldByAnotherProgram(fs, t)) held = t;
            return held.empty();
        },
        // A target folder that is not there yet holds nothing to replace.
        [&](const std::u16string&, const std::u16string& t) { return fs.FolderExists(t); },
        [](const std::u16string&, const std::u16string&) {});
    return held;
}

bool CreateFolder(InstallContext& ctx, const std::u16string& path) {
    FileSystem& fs = ctx.platform.fs;
    bool failed = true;
    if (Accepted(fs, path, PathKind::Folder, true)) {
        CreateLevels(fs, path);
        // A level the system refused leaves the folder missing: that is a failure too.
        failed = !fs.FolderExists(path);
    }
    ctx.log.AddLog((failed ? u"NG : Folder Crate : " : u"OK : Folder Crate : ") + path);
    return failed;
}

bool CopyFolder(InstallContext& ctx, const std::u16string& source, const std::u16string& target) {
    FileSystem& fs = ctx.platform.fs;
    Codec& codec = ctx.platform.codec;
    bool failed = true;
    if (Accepted(fs, target, PathKind::Folder, true)) {
        CreateLevels(fs, target);
        const bool pairOk = Accepted(fs, source, PathKind::Folder, false) && fs.FolderExists(source) &&
                            codec.UpperCase(fs.FullPath(source)) != codec.UpperCase(fs.FullPath(target));
        if (pairOk) {
            CreateLevels(fs, target);
            failed = !Walk(ctx, source, target);
        }
    }
    ctx.log.AddLog((failed ? u"NG : Folder Copy : " : u"OK : Folder Copy : ") + source + u" " + target);
    return failed;
}

bool CopySingleFile(InstallContext& ctx, const std::u16string& source, const std::u16string& target) {
    FileSystem& fs = ctx.platform.fs;
    if (!fs.FileExists(source)) return true;
    if (!Accepted(fs, source, PathKind::File, false) || !Accepted(fs, target, PathKind::File, false)) return true;
    const std::u16string folder = text::FolderPart(fs.FullPath(target));
    if (folder.empty() || !fs.FolderExists(folder)) return true;
    const std::u16string temporary = TemporaryIn(folder);
    Discard(fs, temporary);
    return !CopyIntoPlace(fs, source, target, temporary).ok;
}
