// The wizard's built-in pictures, drawn in code: the side picture of the
// welcome and finished pages, the header-band icon and the small page icons.
#pragma once
#include <windows.h>

#include "platform/Ui.h"

namespace artwork {

// The size each picture is designed at, in pixels at 96 dpi.
SIZE DesignSize(Art art);

// Draws `art` stretched to `target` over `background`, smoothed.
void Draw(HDC dc, const RECT& target, Art art, COLORREF background);

}  // namespace artwork
