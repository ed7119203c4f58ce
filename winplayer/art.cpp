#include "art.h"

#include "tableformat.h"

#include <algorithm>

namespace kq::player {

namespace {

constexpr int CapWidth = 6;
constexpr int GlintWidth = 90;

BITMAPINFO describe(const Picture &picture)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height; // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::uint32_t blend(std::uint32_t pixel, COLORREF background)
{
    const std::uint32_t alpha = pixel >> 24;
    const auto channel = [alpha](std::uint32_t over, std::uint32_t under) {
        return (over * alpha + under * (255 - alpha)) / 255;
    };
    const std::uint32_t blue = channel(pixel & 0xff, GetBValue(background));
    const std::uint32_t green = channel(pixel >> 8 & 0xff, GetGValue(background));
    const std::uint32_t red = channel(pixel >> 16 & 0xff, GetRValue(background));
    return blue | green << 8 | red << 16 | 0xff000000u;
}

int percentToWidth(int percent, int width)
{
    return percent * width / 100;
}

} // namespace

void drawPicture(HDC dc, const Picture &picture, int sourceX, int sourceWidth, RECT target)
{
    if (picture.pixels.empty() || sourceWidth <= 0 || sourceX < 0 ||
        sourceX + sourceWidth > picture.width)
        return;
    const BITMAPINFO info = describe(picture);
    StretchDIBits(dc, target.left, target.top, target.right - target.left,
                  target.bottom - target.top, sourceX, 0, sourceWidth, picture.height,
                  picture.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}

void drawIconCell(HDC dc, const Picture &strip, int cell, int left, int top, COLORREF background)
{
    constexpr int Size = WindowsTable::IconSize;
    Picture laid;
    laid.width = Size;
    laid.height = Size;
    laid.pixels.assign(std::size_t(Size * Size), blend(0, background));
    const bool inStrip = cell >= 0 && (cell + 1) * Size <= strip.width && strip.height >= Size;
    for (int y = 0; inStrip && y < Size; ++y)
        for (int x = 0; x < Size; ++x)
            laid.pixels[std::size_t(y * Size + x)] =
                blend(strip.pixels[std::size_t(y * strip.width + cell * Size + x)], background);
    drawPicture(dc, laid, 0, Size, {left, top, left + Size, top + Size});
}

void drawSkinnedButton(HDC dc, const Picture &skin, RECT bounds, const wchar_t *caption,
                       bool focused)
{
    const int w = bounds.right - bounds.left;
    const int h = bounds.bottom - bounds.top;
    const int l = bounds.left;
    const int t = bounds.top;
    if (skin.pixels.empty()) {
        HBRUSH face = CreateSolidBrush(RGB(240, 240, 240));
        FillRect(dc, &bounds, face);
        DeleteObject(face);
    } else {
        drawPicture(dc, skin, 3, 3, {l + CapWidth, t, l + w, t + h});
        drawPicture(dc, skin, 0, CapWidth, {l, t, l + CapWidth, t + h});
        drawPicture(dc, skin, skin.width - CapWidth, CapWidth, {l + w - CapWidth, t, l + w, t + h});
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT text = bounds;
    DrawTextW(dc, caption, -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (focused) {
        RECT frame{l + 3, t + 3, l + w - 3, t + h - 3};
        DrawFocusRect(dc, &frame);
    }
}

void drawSkinnedBar(HDC dc, const Picture &skin, const Picture &light, RECT bounds, int value,
                    int glintLeft)
{
    const int w = bounds.right - bounds.left;
    const int l = bounds.left;
    const int t = bounds.top;
    const int b = bounds.bottom;
    drawPicture(dc, skin, 2, 1, {l, t, l + w, b});
    drawPicture(dc, skin, 1, 1, {l + 1, t, l + 1 + percentToWidth(value + 1, w), b});
    const int visible = std::min(glintCut(value, w) - glintLeft, GlintWidth);
    if (visible > 0 && visible <= light.width) {
        // The part left of the bar is cut off, as a painter clips it.
        const int cut = std::max(0, -glintLeft);
        if (visible > cut)
            drawPicture(dc, light, cut, visible - cut,
                        {l + glintLeft + cut, t, l + glintLeft + visible, b});
    }
    drawPicture(dc, skin, 0, 1, {l, t, l + 1, b});
    drawPicture(dc, skin, 0, 1, {l + w - 1, t, l + w, b});
}

int glintCut(int value, int width)
{
    return percentToWidth(value, width) + 2;
}

} // namespace kq::player
