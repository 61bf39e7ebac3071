#include "fakes/FakeFileSystem.h"

#include <iterator>

#include "platform/Text.h"

namespace {
SysResult Fail(uint32_t code, const char16_t* description) { return {false, code, description}; }

std::u16string Upper(std::u16string s) {
    for (char16_t& c : s) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
    }
    return s;
}

std::u16string ParentKey(const std::u16string& key) {
    const size_t p = key.rfind(u'\\');
    return p == std::u16string::npos ? std::u16string() : key.substr(0, p);
}
}  // namespace

class FakeOutFile : public OutFile {
public:
    FakeOutFile(FakeFileSystem& fs, std::u16string key) : fs_(fs), key_(std::move(key)) {}
    SysResult Write(const std::string& bytes) override {
        std::string& data = fs_.files_[key_].bytes;
        if (fs_.writeLimit >= 0 && static_cast<long long>(data.size() + bytes.size()) > fs_.writeLimit) {
            data += bytes.substr(0, static_cast<size_t>(fs_.writeLimit - static_cast<long long>(data.size())));
            return Fail(112, u"ディスクに十分な空き領域がありません。\r\n");
        }
        data += bytes;
        return SysResult::Ok();
    }

private:
    FakeFileSystem& fs_;
    std::u16string key_;
};

FakeFileSystem::FakeFileSystem() {
    AddFolder(u"C:\\");
    AddFolder(currentFolder);
}

std::u16string FakeFileSystem::FullPath(const std::u16string& path) {
    if (path.empty()) return path;
    std::u16string p = path;
    for (char16_t& c : p) {
        if (c == u'/') c = u'\\';
    }
    const bool absolute = p.size() >= 3 && p[1] == u':' && p[2] == u'\\';
    const bool unc = text::StartsWith(p, u"\\\\");
    if (!absolute && !unc) {
        if (p.size() >= 2 && p[1] == u':') p = p.substr(0, 2) + u"\\" + p.substr(2);
        else if (p[0] == u'\\') p = currentFolder.substr(0, 2) + p;
        else p = currentFolder + u"\\" + p;
    }
    // Resolve "." and ".." segments; keep a trailing separator.
    const bool trailing = p.back() == u'\\';
    std::vector<std::u16string> parts;
    size_t start = unc ? 2 : 0;
    std::u16string head = unc ? u"\\\\" : u"";
    while (start <= p.size()) {
        size_t end = p.find(u'\\', start);
        if (end == std::u16string::npos) end = p.size();
        std::u16string part = p.substr(start, end - start);
        if (part == u"..") {
            if (parts.size() > 1) parts.pop_back();
        } else if (part != u"." && !(part.empty() && !parts.empty())) {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::u16string out = head;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += u"\\";
        out += parts[i];
    }
    if (parts.size() == 1 || trailing) out += u"\\";
    return out;
}

std::u16string FakeFileSystem::Key(const std::u16string& path) {
    std::u16string full = FullPath(path);
    std::u16string out;
    for (char16_t c : full) {
        if (c == u'\\' && !out.empty() && out.back() == u'\\' && out.size() > 1) continue;
        out.push_back(c);
    }
    while (out.size() > 2 && out.back() == u'\\') out.pop_back();
    return Upper(out);
}

// The folder part of a path in its own letter case, without the separator
// (the drive root keeps it).
static std::u16string ParentPath(const std::u16string& full) {
    std::u16string p = full;
    while (p.size() > 3 && p.back() == u'\\') p.pop_back();
    const size_t sep = p.rfind(u'\\');
    if (sep == std::u16string::npos || p.size() <= 3) return std::u16string();
    return sep <= 2 ? p.substr(0, sep + 1) : p.substr(0, sep);
}

void FakeFileSystem::AddFolder(const std::u16string& path) {
    const std::u16string key = Key(path);
    std::u16string parent = ParentKey(key);
    // Missing levels get the letter case the path gives them.
    if (!parent.empty() && !folders_.count(parent)) AddFolder(ParentPath(FullPath(path)));
    folders_.emplace(key, text::NamePart(FullPath(path)));
}

void FakeFileSystem::AddFile(const std::u16string& path, const std::string& bytes) {
    const std::u16string key = Key(path);
    AddFolder(ParentPath(FullPath(path)));
    files_[key] = {text::NamePart(path), bytes};
}

void FakeFileSystem::Remove(const std::u16string& path) {
    files_.erase(Key(path));
    folders_.erase(Key(path));
}

bool FakeFileSystem::HasFile(const std::u16string& path) const {
    return files_.count(const_cast<FakeFileSystem*>(this)->Key(path)) != 0;
}

bool FakeFileSystem::HasFolder(const std::u16string& path) const {
    return folders_.count(const_cast<FakeFileSystem*>(this)->Key(path)) != 0;
}

std::string FakeFileSystem::Bytes(const std::u16string& path) const {
    auto it = files_.find(const_cast<FakeFileSystem*>(this)->Key(path));
    return it == files_.end() ? std::string() : it->second.bytes;
}

bool FakeFileSystem::FileExists(const std::u16string& path) {
    return !path.empty() && files_.count(Key(path));
}

bool FakeFileSystem::FolderExists(const std::u16string& path) {
    return !path.empty() && folders_.count(Key(path));
}

SysResult FakeFileSystem::CreateOneFolder(const std::u16string& path) {
    Calls.push_back(u"CreateOneFolder " + path);
    const std::u16string key = Key(path);
    if (folders_.count(key)) return Fail(183, u"既に存在するファイルを作成することはできません。\r\n");
    if (files_.count(key)) return Fail(183, u"既に存在するファイルを作成することはできません。\r\n");
    const std::u16string parent = ParentKey(key);
    if (!folders_.count(parent)) return Fail(3, u"指定されたパスが見つかりません。\r\n");
    for (const auto& ro : readOnlyFolders) {
        if (Key(ro) == parent) return Fail(5, u"アクセスが拒否されました。\r\n");
    }
    folders_.emplace(key, text::NamePart(FullPath(path)));
    return SysResult::Ok();
}

bool FakeFileSystem::Listed(const std::set<std::u16string>& set, const std::u16string& key) {
    for (const auto& path : set) {
        if (Key(path) == key) return true;
    }
    return false;
}

void FakeFileSystem::Unlist(std::set<std::u16string>& set, const std::u16string& key) {
    for (auto it = set.begin(); it != set.end();) {
        it = Key(*it) == key ? set.erase(it) : std::next(it);
    }
}

SysResult FakeFileSystem::CopyOneFile(const std::u16string& source, const std::u16string& target) {
    Calls.push_back(u"CopyOneFile " + source + u" " + target);
    const auto src = files_.find(Key(source));
    if (src == files_.end()) return Fail(2, u"指定されたファイルが見つかりません。\r\n");
    const std::u16string key = Key(target);
    if (!folders_.count(ParentKey(key))) return Fail(3, u"指定されたパスが見つかりません。\r\n");
    if (Listed(readOnlyFiles, key)) return Fail(5, u"アクセスが拒否されました。\r\n");
    if (Listed(lockedFiles, key)) return Fail(32, u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。\r\n");
    const std::string bytes = src->second.bytes;
    const bool readOnly = Listed(readOnlyFiles, Key(source));
    if (copyLimit >= 0 && static_cast<long long>(bytes.size()) > copyLimit) {
        files_[key] = {text::NamePart(target), bytes.substr(0, static_cast<size_t>(copyLimit))};
        return Fail(112, u"ディスクに十分な空き領域がありません。\r\n");
    }
    files_[key] = {text::NamePart(target), bytes};
    if (readOnly) readOnlyFiles.insert(key);
    return SysResult::Ok();
}

SysResult FakeFileSystem::MoveReplacing(const std::u16string& from, const std::u16string& to) {
    Calls.push_back(u"MoveReplacing " + from + u" " + to);
    const std::u16string fromKey = Key(from), toKey = Key(to);
    const auto src = files_.find(fromKey);
    if (src == files_.end()) return Fail(2, u"指定されたファイルが見つかりません。\r\n");
    if (!folders_.count(ParentKey(toKey))) return Fail(3, u"指定されたパスが見つかりません。\r\n");
    if (folders_.count(toKey) || Listed(readOnlyFiles, toKey)) return Fail(5, u"アクセスが拒否されました。\r\n");
    if (Listed(lockedFiles, toKey) || Listed(lockedFiles, fromKey))
        return Fail(32, u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。\r\n");
    FileData moved{text::NamePart(to), src->second.bytes};
    const bool readOnly = Listed(readOnlyFiles, fromKey);
    files_.erase(src);
    Unlist(readOnlyFiles, fromKey);
    files_[toKey] = std::move(moved);
    if (readOnly) readOnlyFiles.insert(toKey);
    return SysResult::Ok();
}

SysResult FakeFileSystem::DeleteOneFile(const std::u16string& path) {
    Calls.push_back(u"DeleteOneFile " + path);
    const std::u16string key = Key(path);
    if (!files_.count(key)) return Fail(2, u"指定されたファイルが見つかりません。\r\n");
    if (Listed(readOnlyFiles, key)) return Fail(5, u"アクセスが拒否されました。\r\n");
    if (Listed(lockedFiles, key)) return Fail(32, u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。\r\n");
    files_.erase(key);
    return SysResult::Ok();
}

bool FakeFileSystem::IsReadOnly(const std::u16string& path) {
    const std::u16string key = Key(path);
    return files_.count(key) && Listed(readOnlyFiles, key);
}

SysResult FakeFileSystem::SetReadOnly(const std::u16string& path, bool readOnly) {
    Calls.push_back(u"SetReadOnly " + path + (readOnly ? u" 1" : u" 0"));
    const std::u16string key = Key(path);
    if (!files_.count(key)) return Fail(2, u"指定されたファイルが見つかりません。\r\n");
    Unlist(readOnlyFiles, key);
    if (readOnly) readOnlyFiles.insert(key);
    return SysResult::Ok();
}

bool FakeFileSystem::InUse(const std::u16string& path) {
    const std::u16string key = Key(path);
    return files_.count(key) && Listed(lockedFiles, key);
}

SysResult FakeFileSystem::ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    const std::u16string key = Key(folder);
    if (!folders_.count(key)) return Fail(3, u"指定されたパスが見つかりません。\r\n");
    for (const auto& [k, name] : folders_) {
        if (k != key && ParentKey(k) == key) entries.push_back({name, true});
    }
    for (const auto& [k, data] : files_) {
        if (ParentKey(k) == key) entries.push_back({data.name, false});
    }
    return SysResult::Ok();
}

SysResult FakeFileSystem::ReadAllDenyWrite(const std::u16string& path, std::string& bytes) {
    for (const auto& l : lockedFiles) {
        if (Key(l) == Key(path)) return Fail(32, u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。\r\n");
    }
    const auto it = files_.find(Key(path));
    if (it == files_.end()) return Fail(2, u"指定されたファイルが見つかりません。\r\n");
    bytes = it->second.bytes;
    return SysResult::Ok();
}

SysResult FakeFileSystem::OutOfMemory() {
    return Fail(8, u"このコマンドを実行するのに十分な記憶域がありません。\r\n");
}

SysResult FakeFileSystem::CreateExclusive(const std::u16string& path, std::unique_ptr<OutFile>& file) {
    const std::u16string key = Key(path);
    const std::u16string parent = ParentKey(key);
    if (!folders_.count(parent)) return Fail(3, u"指定されたパスが見つかりません。\r\n");
    for (const auto& ro : readOnlyFolders) {
        if (Key(ro) == parent) return Fail(5, u"アクセスが拒否されました。\r\n");
    }
    files_[key] = {text::NamePart(path), std::string()};
    file = std::make_unique<FakeOutFile>(*this, key);
    return SysResult::Ok();
}
