#include "text/TextFile.h"

#include <new>
#include <stdexcept>

#include "platform/AppError.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"
#include "text/TextDecoding.h"

namespace {
[[noreturn]] void ThrowOpenError(FileSystem& fs, const std::u16string& path, const SysResult& r) {
    throw AppError(text::Format(u"ファイル %s は開けません。 %s ", {fs.FullPath(path), TrimDescription(r.description)}));
}
}  // namespace

std::string ReadFileOrThrow(FileSystem& fs, const std::u16string& path) {
    std::string bytes;
    SysResult r;
    try {
        r = fs.ReadAllDenyWrite(path, bytes);
    } catch (const std::bad_alloc&) {
        r = fs.OutOfMemory();
    } catch (const std::length_error&) {
        // Longer than a string can be: no memory could hold it.
        r = fs.OutOfMemory();
    }
    if (!r.ok) ThrowOpenError(fs, path, r);
    return bytes;
}

std::u16string ReadTextFileOrThrow(FileSystem& fs, Codec& codec, const std::u16string& path) {
    const std::string bytes = ReadFileOrThrow(fs, path);
    try {
        return DecodeText(bytes, codec);
    } catch (const std::bad_alloc&) {
        ThrowOpenError(fs, path, fs.OutOfMemory());
    } catch (const std::length_error&) {
        ThrowOpenError(fs, path, fs.OutOfMemory());
    }
}
