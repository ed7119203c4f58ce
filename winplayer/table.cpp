#include "table.h"

#include "tableformat.h"

#include <cstring>

namespace kq::player {

namespace {

namespace Format = kq::WindowsTable;

// Reads values from a span of bytes; after any read past its end it stays failed.
class Reader
{
public:
    Reader(const unsigned char *data, std::size_t size) : mData(data), mSize(size) {}

    bool ok() const { return mOk; }
    bool atEnd() const { return mAt == mSize; }

    bool magic(const char *expected, std::size_t length)
    {
        if (!take(length))
            return false;
        return (mOk = std::memcmp(mData + mAt - length, expected, length) == 0);
    }

    int integer()
    {
        if (!take(4))
            return 0;
        const unsigned char *p = mData + mAt - 4;
        return int(std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                   std::uint32_t(p[3]) << 24);
    }

    // A count of things of `unit` bytes each that must still fit in what is left.
    int count(std::size_t unit)
    {
        const int n = integer();
        if (n < 0 || std::size_t(n) > (mSize - mAt) / unit)
            mOk = false;
        return mOk ? n : 0;
    }

    std::wstring text()
    {
        const int length = count(2);
        std::wstring result;
        result.reserve(std::size_t(length));
        for (int i = 0; i < length && take(2); ++i) {
            const unsigned char *p = mData + mAt - 2;
            result.push_back(wchar_t(p[0] | p[1] << 8));
        }
        return result;
    }

    void fail() { mOk = false; }

private:
    bool take(std::size_t bytes)
    {
        if (!mOk || bytes > mSize - mAt)
            return (mOk = false);
        mAt += bytes;
        return true;
    }

    const unsigned char *mData;
    std::size_t mSize;
    std::size_t mAt = 0;
    bool mOk = true;
};

Way readWay(Reader &in)
{
    Way way;
    way.kind = in.integer();
    way.step = in.integer();
    if (way.kind == Format::WayFault)
        way.fault = in.text();
    else if (way.kind < Format::WayStep || way.kind > Format::WayFault)
        in.fail();
    return way;
}

Picture readPicture(Reader &in)
{
    Picture picture;
    picture.width = in.integer();
    picture.height = in.integer();
    if (picture.width < 0 || picture.height < 0 || picture.width > Format::MaxPictureSide ||
        picture.height > Format::MaxPictureSide) {
        in.fail();
        return {};
    }
    const std::size_t pixels = std::size_t(picture.width) * std::size_t(picture.height);
    picture.pixels.reserve(pixels);
    for (std::size_t i = 0; i < pixels && in.ok(); ++i)
        picture.pixels.push_back(std::uint32_t(in.integer()));
    return picture;
}

Step readStep(Reader &in)
{
    Step step;
    step.present = in.integer() == 1;
    if (!step.present)
        return step;
    step.type = in.integer();
    step.caption = in.text();
    step.text = in.text();
    step.icon = in.integer();
    const int buttons = in.count(12);
    for (int i = 0; i < buttons && in.ok(); ++i) {
        Button button;
        button.caption = in.text();
        button.key = in.text();
        button.way = readWay(in);
        step.buttons.push_back(button);
    }
    step.closeBox = readWay(in);
    step.end = readWay(in);
    step.interval = in.integer();
    if (step.type < Format::Message || step.type > Format::Pause || buttons > 2 ||
        step.interval < 0)
        in.fail();
    return step;
}

// Every way leads to a step that is there, or nowhere.
bool leadsToSteps(const Way &way, const std::vector<Step> &steps)
{
    if (way.kind != Format::WayStep)
        return true;
    return way.step >= 0 && std::size_t(way.step) < steps.size() && steps[way.step].present;
}

bool allWaysLead(const Table &table)
{
    if (!leadsToSteps(table.start, table.steps))
        return false;
    for (const Step &step : table.steps) {
        if (!step.present)
            continue;
        for (const Button &button : step.buttons)
            if (!leadsToSteps(button.way, table.steps))
                return false;
        if (!leadsToSteps(step.closeBox, table.steps) || !leadsToSteps(step.end, table.steps))
            return false;
    }
    return true;
}

std::uint32_t trailerLength(const unsigned char *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

} // namespace

bool readTable(const std::vector<unsigned char> &file, Table &table)
{
    if (file.size() < std::size_t(Format::TrailerSize))
        return false;
    const unsigned char *trailer = file.data() + file.size() - Format::TrailerSize;
    if (std::memcmp(trailer + 4, Format::TrailerMagic, sizeof(Format::TrailerMagic)) != 0)
        return false;
    const std::uint32_t length = trailerLength(trailer);
    if (length > std::uint32_t(Format::MaxTableBytes) ||
        length > file.size() - std::size_t(Format::TrailerSize))
        return false;
    Reader in(trailer - length, length);
    if (!in.magic(Format::TableMagic, sizeof(Format::TableMagic)))
        return false;
    table.style = in.integer();
    table.start = readWay(in);
    table.faultCaption = in.text();
    const int pictures = in.count(8);
    for (int i = 0; i < pictures && in.ok(); ++i)
        table.pictures.push_back(readPicture(in));
    const int steps = in.count(4);
    for (int i = 0; i < steps && in.ok(); ++i)
        table.steps.push_back(readStep(in));
    return in.ok() && in.atEnd() && allWaysLead(table);
}

} // namespace kq::player
