#include "install/PathRules.h"

#include "platform/FileSystem.h"
#include "platform/Text.h"

namespace {

bool OnlyBlanks(const std::u16string& path) {
    for (char16_t c : path) {
        if (c != u' ') return false;
    }
    return true;  // the empty path too
}

bool HasBadCharacter(const std::u16string& path) {
    for (char16_t c : path) {
        if (c < 32 || c == u'"' || c == u'<' || c == u'>' || c == u'|') return true;
    }
    return false;
}

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

}  // namespace

PathVerdict AcceptPath(FileSystem& fs, const std::u16string& path, PathKind kind, bool forCreation) {
    if (OnlyBlanks(path)) return PathVerdict::Empty;
    if (HasBadCharacter(path)) return PathVerdict::BadCharacter;

    const std::u16string full = fs.FullPath(path);
    if (OnlyBlanks(full)) return PathVerdict::Empty;
    if (HasBadCharacter(full)) return PathVerdict::BadCharacter;

    // "\\?\" lifts the length limit; the drive letter then follows the prefix.
    const bool extended = text::StartsWith(full, u"\\\\?\\");
    const std::u16string_view body = std::u16string_view(full).substr(extended ? 4 : 0);
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] == u':' && !(i == 1 && IsAsciiLetter(body[0]))) return PathVerdict::MisplacedColon;
    }

    const size_t limit = kind == PathKind::Folder ? 248 : 260;
    if (!extended && full.size() >= limit) return PathVerdict::TooLong;

    if (forCreation && kind == PathKind::Folder && !text::StartsWith(full, u"\\\\")) {
        if (full.size() < 2 || full[1] != u':') return PathVerdict::MissingDrive;
        if (!fs.FolderExists(full.substr(0, 2) + u"\\")) return PathVerdict::MissingDrive;
    }
    return PathVerdict::Accepted;
}
