#pragma once

// The step table as the player holds it after reading it from the end of its own file.

#include <cstdint>
#include <string>
#include <vector>

namespace kq::player {

struct Way
{
    int kind = 1; // WindowsTable::WayKind
    int step = -1;
    std::wstring fault;
};

struct Button
{
    std::wstring caption; // "&" before the access key, "&&" for an "&"
    std::wstring key;     // the access key as a letter, or empty
    Way way;
};

struct Step
{
    bool present = false; // a step that shows nothing is never arrived at
    int type = 0;
    std::wstring caption;
    std::wstring text;
    int icon = -1; // the strip's cell; 0 an empty box, -1 no box
    std::vector<Button> buttons;
    Way closeBox;
    Way end;
    int interval = 0; // milliseconds per tick of the bar, or of the pause
};

struct Picture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // blue, green, red, alpha from the low byte up
};

struct Table
{
    int style = 0;
    Way start;
    std::wstring faultCaption;
    std::vector<Picture> pictures; // WindowsTable::Picture order; empty when not carried
    std::vector<Step> steps;
};

// Reads the table from the bytes of the player's file, checking every length and every step a
// way names; false when the bytes carry no whole table.
bool readTable(const std::vector<unsigned char> &file, Table &table);

} // namespace kq::player
