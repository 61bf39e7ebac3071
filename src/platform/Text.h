// Small helpers for the UTF-16 text that the portable code uses everywhere.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace text {

// UTF-8 to UTF-16; invalid sequences become U+FFFD.
std::u16string FromUtf8(std::string_view bytes);
// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string ToUtf8(std::u16string_view s);

// Removes every character with a code of 32 or below from both ends.
std::u16string TrimControls(std::u16string_view s);

bool EndsWith(std::u16string_view s, std::u16string_view tail);
bool StartsWith(std::u16string_view s, std::u16string_view head);

// The folder part of a path: everything up to and including its last "\" or ":".
std::u16string FolderPart(std::u16string_view path);
// The name part of a path: everything after its last "\" or ":".
std::u16string NamePart(std::u16string_view path);

// "%s"-style formatting: each "%s" takes the next argument in turn.
std::u16string Format(std::u16string_view pattern, const std::vector<std::u16string>& args);

std::u16string FromInt(long long value);
// Eight upper-case hexadecimal digits, as error codes are written after "0x".
std::u16string Hex8(uint32_t value);

}  // namespace text
