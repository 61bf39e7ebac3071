#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <new>
#include <vector>

#include "platform/win32/Win32Text.h"

namespace {
// An owned file handle.
class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (valid()) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

class Win32OutFile : public OutFile {
public:
    explicit Win32OutFile(HANDLE h) : file_(h) {}
    SysResult Write(const std::string& bytes) override {
        size_t done = 0;
        while (done < bytes.size()) {
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
            DWORD written = 0;
            if (!WriteFile(file_.get(), bytes.data() + done, chunk, &written, nullptr) || written == 0) {
                return SysFailure(GetLastError());
            }
            done += written;
        }
        return SysResult::Ok();
    }

private:
    Handle file_;
};
}  // namespace

uint32_t Win32FileSystem::OwnAttributes(const std::u16string& path) { return GetFileAttributesW(W(path)); }

// GetFileAttributesW describes a symbolic link or junction itself, not what it
// leads to, so a link whose target is gone would pass for an existing file.
// For a reparse point the target decides: opened following links, it gives
// its own attributes; a target that is not there makes the link missing. A
// target that exists but refuses even this open (no rights) still exists;
// a file locked by another program opens, as no access is asked for.
uint32_t Win32FileSystem::ExistenceAttributes(const std::u16string& path) {
    const DWORD own = OwnAttributes(path);
    if (own == INVALID_FILE_ATTRIBUTES || !(own & FILE_ATTRIBUTE_REPARSE_POINT)) return own;
    Handle target(CreateFileW(W(path), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!target.valid()) {
        switch (GetLastError()) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_INVALID_NAME:
            case ERROR_CANT_RESOLVE_FILENAME:  // a link that leads round in a circle
                return INVALID_FILE_ATTRIBUTES;
            default:
                return own;
        }
    }
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(target.get(), &info)) return own;
    return info.dwFileAttributes;
}

bool Win32FileSystem::FileExists(const std::u16string& path) {
    if (path.empty()) return false;
    const DWORD a = ExistenceAttributes(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::FolderExists(const std::u16string& path) {
    if (path.empty()) return false;
    const DWORD a = ExistenceAttributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::u16string Win32FileSystem::FullPath(const std::u16string& path) {
    if (path.empty()) return path;
    DWORD size = GetFullPathNameW(W(path), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::vector<wchar_t> buffer(size + 1);
    const DWORD n = GetFullPathNameW(W(path), size + 1, buffer.data(), nullptr);
    if (n == 0 || n > size) return path;
    return U(std::wstring(buffer.data(), n));
}

std::u16string Win32FileSystem::ExecutablePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n < buffer.size()) return U(std::wstring(buffer.data(), n));
        buffer.resize(buffer.size() * 2);
    }
}

SysResult Win32FileSystem::CreateOneFolder(const std::u16string& path) {
    if (CreateDirectoryW(W(path), nullptr)) return SysResult::Ok();
    return SysFailure(GetLastError());
}

SysResult Win32FileSystem::CopyOneFile(const std::u16string& source, const std::u16string& target) {
    if (CopyFileW(W(source), W(target), FALSE)) return SysResult::Ok();
    return SysFailure(GetLastError());
}

SysResult Win32FileSystem::MoveReplacing(const std::u16string& from, const std::u16string& to) {
    if (MoveFileExW(W(from), W(to), MOVEFILE_REPLACE_EXISTING)) return SysResult::Ok();
    return SysFailure(GetLastError());
}

SysResult Win32FileSystem::DeleteOneFile(const std::u16string& path) {
    if (DeleteFileW(W(path))) return SysResult::Ok();
    return SysFailure(GetLastError());
}

bool Win32FileSystem::IsReadOnly(const std::u16string& path) {
    const DWORD a = GetFileAttributesW(W(path));
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY) && (a & FILE_ATTRIBUTE_READONLY);
}

SysResult Win32FileSystem::SetReadOnly(const std::u16string& path, bool readOnly) {
    const DWORD a = GetFileAttributesW(W(path));
    if (a == INVALID_FILE_ATTRIBUTES) return SysFailure(GetLastError());
    DWORD wanted = readOnly ? (a | FILE_ATTRIBUTE_READONLY) : (a & ~FILE_ATTRIBUTE_READONLY);
    if (wanted == a) return SysResult::Ok();
    // No attribute left is written as "normal", the one value that may stand alone.
    if (wanted == 0) wanted = FILE_ATTRIBUTE_NORMAL;
    if (SetFileAttributesW(W(path), wanted)) return SysResult::Ok();
    return SysFailure(GetLastError());
}

// Opened for writing while sharing everything: only another program's handle
// that denies sharing (or a running program's image) refuses it as in use.
bool Win32FileSystem::InUse(const std::u16string& path) {
    Handle file(CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid()) return false;
    const DWORD error = GetLastError();
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

SysResult Win32FileSystem::ListFolder(const std::u16string& folder, std::vector<FolderEntry>& entries) {
    entries.clear();
    std::u16string pattern = folder;
    if (pattern.empty() || (pattern.back() != u'\\' && pattern.back() != u'/')) pattern += u'\\';
    pattern += u'*';
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(W(pattern), &data);
    if (find == INVALID_HANDLE_VALUE) return SysFailure(GetLastError());
    do {
        const std::u16string name = U(data.cFileName);
        if (name == u"." || name == u"..") continue;
        entries.push_back({name, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    } while (FindNextFileW(find, &data));
    const DWORD last = GetLastError();
    FindClose(find);
    if (last != ERROR_NO_MORE_FILES) return SysFailure(last);
    return SysResult::Ok();
}

SysResult Win32FileSystem::ReadAllDenyWrite(const std::u16string& path, std::string& bytes) {
    bytes.clear();
    Handle file(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.valid()) return SysFailure(GetLastError());
    LARGE_INTEGER size;
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0) {
        // A size the string cannot hold would be cut by the cast to size_t.
        if (static_cast<unsigned long long>(size.QuadPart) > bytes.max_size()) return OutOfMemory();
        try {
            bytes.reserve(static_cast<size_t>(size.QuadPart));
        } catch (const std::bad_alloc&) {
            return OutOfMemory();
        }
    }
    char chunk[1 << 16];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) return SysFailure(GetLastError());
        if (read == 0) break;
        if (bytes.size() > bytes.max_size() - read) return OutOfMemory();  // grown while we read
        try {
            bytes.append(chunk, read);
        } catch (const std::bad_alloc&) {
            return OutOfMemory();
        }
    }
    return SysResult::Ok();
}

SysResult Win32FileSystem::OutOfMemory() { return SysFailure(ERROR_NOT_ENOUGH_MEMORY); }

SysResult Win32FileSystem::CreateExclusive(const std::u16string& path, std::unique_ptr<OutFile>& file) {
    HANDLE h = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return SysFailure(GetLastError());
    file = std::make_unique<Win32OutFile>(h);
    return SysResult::Ok();
}
