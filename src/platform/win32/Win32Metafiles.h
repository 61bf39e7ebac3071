// Metafile pictures (.emf, .wmf) played through GDI into a 32-bit DIB; the
// imaging component has no decoder for them.
#pragma once
#include <memory>
#include <string>

#include "platform/win32/Win32Pictures.h"

namespace metafiles {

// True when the bytes start like an enhanced metafile, a placeable Windows
// metafile or a Windows metafile without the placeable header.
bool Recognised(const std::string& bytes);

// Plays a recognised metafile into a picture of its own size; throws AppError
// with the decoder's message when GDI cannot read or play it.
std::shared_ptr<Win32Picture> Decode(const std::string& bytes);

}  // namespace metafiles
