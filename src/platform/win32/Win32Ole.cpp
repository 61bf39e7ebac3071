#include "platform/win32/Win32Ole.h"

#include <windows.h>
#include <ole2.h>

namespace ole {
namespace {
bool g_tried = false;
bool g_initialized = false;
}  // namespace

void EnsureInitialized() {
    if (g_tried) return;
    g_tried = true;
    g_initialized = SUCCEEDED(OleInitialize(nullptr));
}

void Uninitialize() {
    if (g_initialized) OleUninitialize();
    g_initialized = false;
}

}  // namespace ole
