// Conversions between the portable UTF-16 strings and the Windows wide strings
// (both 16-bit on Windows), and the system's wording of an error code.
#pragma once
#include <windows.h>

#include <string>

#include "platform/FileSystem.h"

inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline std::u16string U(const wchar_t* s) { return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string(); }
inline std::u16string U(const std::wstring& s) { return U(s.c_str()); }

// The system's description of an error code, as FormatMessageW words it.
std::u16string SystemErrorText(DWORD code);

// A failed SysResult for an error code.
SysResult SysFailure(DWORD code);
