// Reading a whole text file the way the installer reads Information.txt and
// license.txt: opened while others may read but not write, then decoded by
// its byte-order mark or the system's ANSI code page (see TextDecoding.h).
#pragma once
#include <string>

class Codec;
class FileSystem;

// Reads a whole file with share-deny-write, or throws the file-open error
// AppError("ファイル %s は開けません。 %s "); a file too large for memory gives
// it too, with the system's description.
std::string ReadFileOrThrow(FileSystem& fs, const std::u16string& path);
// The same, decoded by its byte-order mark (running out of memory while
// decoding is the file-open error as well).
std::u16string ReadTextFileOrThrow(FileSystem& fs, Codec& codec, const std::u16string& path);
