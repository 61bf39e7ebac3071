// Decoding of the text files the installer reads (Information.txt, license.txt):
// a byte-order mark picks UTF-8, UTF-16 LE or UTF-16 BE; without one the bytes
// are in the system's ANSI code page.
#pragma once
#include <string>
#include <vector>

class Codec;

enum class TextEncoding { Ansi, Utf8Bom, Utf16LE, Utf16BE };

TextEncoding DetectEncoding(const std::string& bytes);

// The text without its byte-order mark. Invalid UTF-8 and a lone trailing byte
// of UTF-16 become U+FFFD; ANSI bytes go through the system's conversion.
std::u16string DecodeText(const std::string& bytes, Codec& codec);

// Splits at CR LF, lone CR and lone LF. The text ends at its first NUL. A
// break at the very end adds no empty line; an empty text gives no lines.
std::vector<std::u16string> SplitLines(const std::u16string& text);
