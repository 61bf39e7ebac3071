// The yardstick once more, carrying the installer's manifest (common controls
// 6 and per-monitor DPI awareness), which costs every program at its start.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"このセットアップ作業は、新規インストール用です。\n\n", L"セットアップ確認", MB_ICONQUESTION);
    return 0;
}
