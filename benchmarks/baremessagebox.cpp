// The yardstick of the Windows program's start-up: a Windows program that shows one message
// box of the system and nothing else.

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    MessageBoxW(nullptr, L"A bare message box", L"Bare", MB_OK);
    return 0;
}
