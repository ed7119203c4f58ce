// The Windows player: a program that plays the step table a build appended to it, with the
// windows of the system and nothing but the libraries every Windows has.

#include "player.h"
#include "table.h"
#include "tableformat.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

using namespace kq::player;

// The bytes of the program's own file.
std::vector<unsigned char> ownFile()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::vector<unsigned char> bytes;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < (1ll << 30)) {
        bytes.resize(std::size_t(size.QuadPart));
        DWORD read = 0;
        if (!ReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr) ||
            read != bytes.size())
            bytes.clear();
    }
    CloseHandle(file);
    return bytes;
}

// Whether the command line holds the word, standing alone.
bool hasSwitch(const wchar_t *commandLine, const wchar_t *word)
{
    const std::size_t length = std::wcslen(word);
    for (const wchar_t *at = commandLine; (at = std::wcsstr(at, word)) != nullptr; at += length) {
        const bool starts = at == commandLine || at[-1] == L' ' || at[-1] == L'\t';
        const bool ends = at[length] == L'\0' || at[length] == L' ' || at[length] == L'\t';
        if (starts && ends)
            return true;
    }
    return false;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int)
{
    Table table;
    // A player without a table of its own has nothing to play, as a runner without its data.
    if (!readTable(ownFile(), table))
        return 0;
    const Player::Mode mode =
        hasSwitch(commandLine, kq::WindowsTable::TestSwitch)    ? Player::Mode::Test
        : hasSwitch(commandLine, kq::WindowsTable::TraceSwitch) ? Player::Mode::Trace
                                                                : Player::Mode::Plain;
    Player player(instance, std::move(table), mode);
    return player.run();
}

// The player throws nothing; where the library would end on an error it cannot report, it ends
// without the default handler, which would bring the whole C++ name demangler into the program.
namespace __gnu_cxx {
void __verbose_terminate_handler()
{
    ExitProcess(255);
}
} // namespace __gnu_cxx
