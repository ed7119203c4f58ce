#pragma once

// What the player's test switches read and write: one JSON array a line on standard output for
// each window, pause and end shown, and one press a line from standard input.

#include <string>
#include <vector>

namespace kq::player {

// A JSON array of strings and numbers written as one line, texts in UTF-8.
class EventLine
{
public:
    EventLine &text(const std::wstring &value);
    EventLine &number(long long value);
    EventLine &texts(const std::vector<std::wstring> &values);
    // Writes the line to standard output.
    void write() const;

private:
    void separate();

    std::string mLine = "[";
};

// The next line of standard input without its line break; false at its end.
bool readPress(std::wstring &press);

} // namespace kq::player
