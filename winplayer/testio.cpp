#include "testio.h"

#include <windows.h>

namespace kq::player {

namespace {

std::string utf8(const std::wstring &text)
{
    if (text.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(std::size_t(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

std::wstring fromUtf8(const std::string &bytes)
{
    if (bytes.empty())
        return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring text(std::size_t(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), text.data(), size);
    return text;
}

std::string quoted(const std::wstring &text)
{
    static const char Hex[] = "0123456789abcdef";
    std::string result = "\"";
    for (const char c : utf8(text)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            result += '\\';
            result += c;
        } else if (byte < 0x20) {
            result += "\\u00";
            result += Hex[byte >> 4];
            result += Hex[byte & 15];
        } else {
            result += c;
        }
    }
    return result + '"';
}

} // namespace

void EventLine::separate()
{
    if (mLine.size() > 1)
        mLine += ',';
}

EventLine &EventLine::text(const std::wstring &value)
{
    separate();
    mLine += quoted(value);
    return *this;
}

EventLine &EventLine::number(long long value)
{
    separate();
    char digits[24];
    int at = sizeof(digits);
    const bool negative = value < 0;
    unsigned long long rest = negative ? 0ull - static_cast<unsigned long long>(value)
                                       : static_cast<unsigned long long>(value);
    do {
        digits[--at] = char('0' + rest % 10);
        rest /= 10;
    } while (rest > 0);
    if (negative)
        digits[--at] = '-';
    mLine.append(digits + at, sizeof(digits) - std::size_t(at));
    return *this;
}

EventLine &EventLine::texts(const std::vector<std::wstring> &values)
{
    separate();
    mLine += '[';
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0)
            mLine += ',';
        mLine += quoted(values[i]);
    }
    mLine += ']';
    return *this;
}

void EventLine::write() const
{
    const std::string line = mLine + "]\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), line.data(), DWORD(line.size()), &written, nullptr);
}

bool readPress(std::wstring &press)
{
    std::string line;
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    for (;;) {
        char c = 0;
        DWORD read = 0;
        if (!ReadFile(in, &c, 1, &read, nullptr) || read == 0) {
            if (line.empty())
                return false;
            break;
        }
        if (c == '\n')
            break;
        if (c != '\r')
            line += c;
    }
    press = fromUtf8(line);
    return true;
}

} // namespace kq::player
