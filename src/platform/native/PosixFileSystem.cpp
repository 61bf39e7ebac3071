#include "platform/native/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <cwctype>
#include <fstream>

#include "platform/Text.h"

namespace {

SysResult Failure(int err) {
    SysResult r;
    r.ok = false;
    r.code = static_cast<uint32_t>(err);
    r.description = text::FromUtf8(std::strerror(err));
    return r;
}

char16_t Upper(char16_t c) { return static_cast<char16_t>(std::towupper(static_cast<wint_t>(c))); }

bool SameName(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (Upper(a[i]) != Upper(b[i])) return false;
    }
    return true;
}

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

class PosixOutFile : public OutFile {
public:
    explicit PosixOutFile(int fd) : fd_(fd) {}
    ~PosixOutFile() override { close(fd_); }
    SysResult Write(const std::string& bytes) override {
        size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
            if (n < 0) return Failure(errno);
            done += static_cast<size_t>(n);
        }
        return SysResult::Ok();
    }

private:
    int fd_;
};

}  // namespace

PosixFileSystem::PosixFileSystem(std::string hostRoot, char16_t drive)
    : hostRoot_(std::move(hostRoot)), drive_(Upper(drive)) {
    while (hostRoot_.size() > 1 && hostRoot_.back() == '/') hostRoot_.pop_back();
    currentFolder = Root();
}

std::u16string PosixFileSystem::Root() const { return std::u16string(1, drive_) + u":\\"; }

std::u16string PosixFileSystem::FullPath(const std::u16string& path) {
    if (path.empty()) return path;
    std::u16string p = path;
    for (char16_t& c : p) {
        if (c == u'/') c = u'\\';
    }
    const bool unc = text::StartsWith(p, u"\\\\");
    std::u16string head;
    std::u16string rest;
    if (unc) {
        head = u"\\\\";
        rest = p.substr(2);
    } else if (p.size() >= 2 && IsLetter(p[0]) && p[1] == u':') {
        head = p.substr(0, 2) + u"\\";
        // "X:name" is relative to the drive's current folder: the root, unless it is ours.
        if (p.size() > 2 && p[2] != u'\\' && Upper(p[0]) == Upper(currentFolder[0]))
            rest = currentFolder.substr(3) + u"\\" + p.substr(2);
        else
            rest = p.substr(2);
    } else if (p[0] == u'\\') {
        head = currentFolder.substr(0, 2) + u"\\";
        rest = p;
    } else {
        head = currentFolder.substr(0, 3);
        rest = currentFolder.substr(3) + u"\\" + p;
    }
    const bool trailing = p.back() == u'\\' && p.size() > 1;
    std::vector<std::u16string> parts;
    size_t start = 0;
    while (start <= rest.size()) {
        size_t end = rest.find(u'\\', start);
        if (end == std::u16string::npos) end = rest.size();
        const std::u16string part = rest.substr(start, end - start);
        if (part == u"..") {
            if (!parts.empty() && !(unc && parts.size() <= 2)) parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::u16string out = head;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i) out += u"\\";
        out += parts[i];
    }
    if (trailing && !parts.empty()) out += u"\\";
    return out;
}

bool PosixFileSystem::Split(const std::u16string& path, char16_t& drive, std::vector<std::u16string>& names) {
    const std::u16string full = FullPath(path);
    if (full.size() < 3 || full[1] != u':' || full[2] != u'\\') return false;
    drive = Upper(full[0]);
    names.clear();
    size_t start = 3;
    while (start < full.size()) {
        size_t end = full.find(u'\\', start);
        if (end == std::u16string::npos) end = full.size();
        if (end > start) names.push_back(full.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

std::optional<std::string> PosixFileSystem::HostPath(const std::u16string& path) {
    char16_t drive;
    std::vector<std::u16string> names;
    if (!Split(path, drive, names) || drive != drive_) return std::nullopt;
    std::string host = hostRoot_;
    struct stat st;
    for (const std::u16string& name : names) {
        const std::string exact = host + "/" + text::ToUtf8(name);
        if (lstat(exact.c_str(), &st) == 0) {
            host = exact;
            continue;
        }
        // Windows finds the entry whatever the letter case of its name.
        DIR* dir = opendir(host.c_str());
        if (!dir) return std::nullopt;
        std::optional<std::string> match;
        while (dirent* e = readdir(dir)) {
            if (SameName(text::FromUtf8(e->d_name), name)) {
                match = host + "/" + e->d_name;
                break;
            }
        }
        closedir(dir);
        if (!match) return std::nullopt;
        host = *match;
    }
    return host;
}

std::optional<std::string> PosixFileSystem::HostPathForNew(const std::u16string& path) {
    const std::u16string full = FullPath(path);
    std::u16string folder = text::FolderPart(full);
    const std::u16string name = text::NamePart(full);
    if (name.empty()) return std::nullopt;
    const std::optional<std::string> parent = HostPath(folder);
    if (!parent) return std::nullopt;
    return *parent + "/" + text::ToUtf8(name);
}

std::optional<uint64_t> PosixFileSystem::FileSize(const std::u16string& path) {
    const std::optional<std::string> host = HostPath(path);
    struct stat st;
    if (!host || stat(host->c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
    return static_cast<uint64_t>(st.st_size);
}

bool PosixFileSystem::FileExists(const std::u16string& path) {
    const std::optional<std::string> host = HostPath(path);
    struct stat st;
    return host && stat(host->c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool PosixFileSystem::FolderExists(const std::u16string& path) {
    char16_t drive;
    std::vector<std::u16string> names;
    if (Split(path, drive, names) && drive == u'C' && drive_ != u'C' && names.empty()) return true;
    const std::optional<std::string> host = HostPath(path);
    struct stat st;
    return host && stat(host->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

SysResult PosixFileSystem::CreateOneFolder(const std::u16string& path) {
    const std::optional<std::string> host = HostPathForNew(path);
    if (!host) return Failure(ENOENT);
    if (FolderExists(path)) return Failure(EEXIST);
    if (mkdir(host->c_str(), 0777) != 0) return Failure(errno);
    return SysResult::Ok();
}

SysResult PosixFileSystem::CopyOneFile(const std::u16string& source, const std::u16string& target) {
    const std::optional<std::string> from = HostPath(source);
    if (!from || !FileExists(source)) return Failure(ENOENT);
    std::optional<std::string> to = HostPath(target);
    if (!to) to = HostPathForNew(target);
    if (!to) return Failure(ENOENT);
    std::ifstream in(*from, std::ios::binary);
    std::ofstream out(*to, std::ios::binary | std::ios::trunc);
    if (!in || !out) return Failure(EACCES);
    out << in.rdbuf();
    if (!out) return Failure(EIO);
    return SysResult::Ok();
}

SysResult PosixFileSystem::MoveReplacing(const std::u16string& from, const std::u16string& to) {
    const std::optional<std::string> source = HostPath(from);
    if (!source || !FileExists(from)) return Failure(ENOENT);
    std::optional<std::string> target = HostPath(to);
    if (!target) target = HostPathForNew(to);
    if (!target) return Failure(ENOENT);
    if (rename(source->c_str(), target->c_str()) != 0) return Failure(errno);
    return SysResult::Ok();
}

SysResult PosixFileSystem::DeleteOneFile(const std::u16string& path) {
    const std::optional<std::string> host = HostPath(path);
    if (!host || !FileExists(path)) return Failure(ENOENT);
    if (unlink(host->c_str()) != 0) return Failure(errno);
    return SysResult::Ok();
}

// A file nobody may write stands for the read-only attribute.
bool PosixFileSystem::IsReadOnly(const std::u16string& path) {
    const std::optional<std::string> host = HostPath(path);
    struct stat st;
    return host && stat(host->c_str(), &st) == 0 && S_ISREG(st.st_mode) && !(st.st_mode & 0222);
}

SysResult PosixFileSystem::SetReadOnly(const std::u16string& path, bool readOnly) {
    const std::optional<std::string> host = HostPath(path);
    struct stat st;
    if (!host || stat(host->c_str(), &st) != 0) return Failure(ENOENT);
    const mode_t mode = readOnly ? (st.st_mode & ~0222) : (st.st_mode | S_IWUSR);
    if (chmod(host->c_str(), mode & 07777) != 0) return Failure(errno);
    return SysResult::Ok();
}

SysResult PosixFileSystem::ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    const std::optional<std::string> host = HostPath(folder);
    if (!host) return Failure(ENOENT);
    DIR* dir = opendir(host->c_str());
    if (!dir) return Failure(errno);
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        bool isFolder = e->d_type == DT_DIR;
        if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
            struct stat st;
            isFolder = stat((*host + "/" + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        entries.push_back({text::FromUtf8(name), isFolder});
    }
    closedir(dir);
    return SysResult::Ok();
}

SysResult PosixFileSystem::ReadAllDenyWrite(const std::u16string& path, std::string& bytes) {
    bytes.clear();
    const std::optional<std::string> host = HostPath(path);
    if (!host) return Failure(ENOENT);
    std::ifstream in(*host, std::ios::binary);
    if (!in) return Failure(errno ? errno : EACCES);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) return Failure(EIO);
    return SysResult::Ok();
}

SysResult PosixFileSystem::OutOfMemory() { return Failure(ENOMEM); }

SysResult PosixFileSystem::CreateExclusive(const std::u16string& path, std::unique_ptr<OutFile>& file) {
    std::optional<std::string> host = HostPath(path);
    if (!host) host = HostPathForNew(path);
    if (!host) return Failure(ENOENT);
    const int fd = open(host->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return Failure(errno);
    file = std::make_unique<PosixOutFile>(fd);
    return SysResult::Ok();
}
