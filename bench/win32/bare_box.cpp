// The yardstick for the installer's start-up: a program that only shows a
// message box, with the same manifest-free, static build.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    MessageBoxW(nullptr, L"このセットアップ作業は、新規インストール用です。\n\n", L"セットアップ確認", MB_ICONQUESTION);
    return 0;
}
