// The path acceptance rules of the file operations over paths built from the
// characters that matter (drive letters, separators, dots, the refused
// characters, blanks, long runs). The system's path completion is modelled
// the Windows way, or, in every other run, returns text the fuzzer chooses,
// since the rules must hold whatever the system answers.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "install/PathRules.h"
#include "platform/FileSystem.h"

namespace {

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

class ModelFileSystem : public FileSystem {
public:
    bool dictated = false;
    std::u16string dictatedResult;
    std::u16string current = u"C:\\Work";

    bool FileExists(const std::u16string&) override { return false; }
    bool FolderExists(const std::u16string& path) override {
        // Drives C: and D: exist; nothing else matters to the rules.
        return path.size() == 3 && path[1] == u':' && path[2] == u'\\' && (Upper(path[0]) == u'C' || Upper(path[0]) == u'D');
    }
    std::u16string FullPath(const std::u16string& path) override {
        if (dictated) return dictatedResult;
        return Complete(path);
    }
    std::u16string ExecutablePath() override { return u"C:\\Dist\\KelvoraInstall.exe"; }
    SysResult CreateOneFolder(const std::u16string&) override { return {}; }
    SysResult CopyOneFile(const std::u16string&, const std::u16string&) override { return {}; }
    SysResult MoveReplacing(const std::u16string&, const std::u16string&) override { return {}; }
    SysResult DeleteOneFile(const std::u16string&) override { return {}; }
    bool IsReadOnly(const std::u16string&) override { return false; }
    SysResult SetReadOnly(const std::u16string&, bool) override { return {}; }
    bool InUse(const std::u16string&) override { return false; }
    SysResult ListFolder(const std::u16string&, std::vector<FolderEntry>&) override { return {}; }
    SysResult ReadAllDenyWrite(const std::u16string&, std::string&) override { return {}; }
    SysResult CreateExclusive(const std::u16string&, std::unique_ptr<OutFile>&) override { return {}; }
    SysResult OutOfMemory() override { return {false, 8, u"not enough memory"}; }

    // GetFullPathNameW in brief: "\\?\" untouched, forward slashes turned,
    // drive-relative and rooted paths placed on their drive, "." and ".."
    // resolved, a trailing separator kept.
    std::u16string Complete(std::u16string p) const {
        if (p.empty()) return p;
        if (p.rfind(u"\\\\?\\", 0) == 0) return p;
        for (char16_t& c : p) {
            if (c == u'/') c = u'\\';
        }
        std::u16string head;
        std::u16string rest;
        if (p.rfind(u"\\\\", 0) == 0) {
            // \\server\share stays the root.
            size_t n = p.find(u'\\', 2);
            if (n != std::u16string::npos) n = p.find(u'\\', n + 1);
            head = p.substr(0, n);
            rest = n == std::u16string::npos ? std::u16string() : p.substr(n);
        } else if (p.size() >= 2 && p[1] == u':' && IsLetter(p[0])) {
            head = p.substr(0, 2);
            rest = u"\\" + p.substr(2);
        } else if (p[0] == u'\\') {
            head = current.substr(0, 2);
            rest = p;
        } else {
            head = current.substr(0, 2);
            rest = current.substr(2) + u"\\" + p;
        }
        const bool trailing = rest.size() > 1 && rest.back() == u'\\';
        std::vector<std::u16string> parts;
        size_t start = 0;
        while (start <= rest.size()) {
            size_t end = rest.find(u'\\', start);
            if (end == std::u16string::npos) end = rest.size();
            const std::u16string part = rest.substr(start, end - start);
            if (part == u"..") {
                if (!parts.empty()) parts.pop_back();
            } else if (!part.empty() && part != u".") {
                parts.push_back(part);
            }
            start = end + 1;
        }
        std::u16string out = head;
        for (const std::u16string& part : parts) out += u"\\" + part;
        if (parts.empty() || trailing) out += u"\\";
        return out;
    }
};

// Each byte picks a character that the rules care about; a few bytes give
// raw code units or repeat the previous character, so long paths come quickly.
std::u16string BuildPath(fuzz::Input& in, size_t maxBytes) {
    static const char16_t kAlphabet[] = u"C:\\/.a?\"<>| \t\u3042\0Dx\\\\*Zz:..";
    constexpr size_t kCount = sizeof kAlphabet / sizeof kAlphabet[0] - 1;
    // A few times the longest limit is long enough; longer paths only slow the run.
    constexpr size_t kMaxUnits = 1500;
    std::u16string out;
    for (size_t i = 0; i < maxBytes && in.Left() && out.size() < kMaxUnits; ++i) {
        const uint8_t b = in.Byte();
        if (b == 0xFF) break;  // ends this path
        if (b == 0xFE) {
            out.push_back(static_cast<char16_t>(in.Word()));
        } else if (b >= 0xF0) {
            const char16_t last = out.empty() ? u'a' : out.back();
            out.append(static_cast<size_t>(b - 0xF0) * 20 + 1, last);
        } else {
            out.push_back(kAlphabet[b % kCount]);
        }
    }
    return out;
}

bool HasRefused(const std::u16string& s) {
    for (char16_t c : s) {
        if (c < 32 || c == u'"' || c == u'<' || c == u'>' || c == u'|') return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const uint8_t mode = in.Byte();
    ModelFileSystem fs;
    if (mode & 4) fs.current = u"D:\\";
    fs.dictated = (mode & 8) != 0;
    const std::u16string path = BuildPath(in, 2048);
    if (fs.dictated) fs.dictatedResult = BuildPath(in, 2048);

    for (PathKind kind : {PathKind::Folder, PathKind::File}) {
        for (bool forCreation : {false, true}) {
            const PathVerdict verdict = AcceptPath(fs, path, kind, forCreation);
            FUZZ_CHECK(verdict == AcceptPath(fs, path, kind, forCreation));
            if (verdict != PathVerdict::Accepted) continue;
            const std::u16string full = fs.FullPath(path);
            FUZZ_CHECK(path.find_first_not_of(u' ') != std::u16string::npos);
            FUZZ_CHECK(!HasRefused(path) && !HasRefused(full));
            FUZZ_CHECK(!full.empty());
            if (full.rfind(u"\\\\?\\", 0) != 0) FUZZ_CHECK(full.size() < (kind == PathKind::Folder ? 248u : 260u));
            if (kind == PathKind::Folder && forCreation && full.rfind(u"\\\\", 0) != 0) {
                FUZZ_CHECK(fs.FolderExists(full.substr(0, 2) + u"\\"));
            }
        }
    }
    // The folder rules are the stricter ones: a folder that may be read may be
    // named as a file too, and one that may be created may also be read.
    if (AcceptPath(fs, path, PathKind::Folder, false) == PathVerdict::Accepted) {
        FUZZ_CHECK(AcceptPath(fs, path, PathKind::File, false) == PathVerdict::Accepted);
    }
    if (AcceptPath(fs, path, PathKind::Folder, true) == PathVerdict::Accepted) {
        FUZZ_CHECK(AcceptPath(fs, path, PathKind::Folder, false) == PathVerdict::Accepted);
    }
    return 0;
}
