#pragma once

// The step table a Windows program carries after the player's own image, as the editor writes
// it and the player reads it. Everything is little-endian. The file ends in the trailer: the
// table's length in bytes (32 bits) and TrailerMagic; the table stands right before it.
//
// The table:  TableMagic, style, start way, words, art, step count, steps.
//   integer:  32 bits, signed.
//   text:     its length in UTF-16 units (integer), then the units; never read as a format.
//   way:      kind (WayKind), step number, and for a fault the text shown for it.
//   words:    the caption of the box that shows a fault.
//   art:      the icon strip, and in the skinned style the button skins (resting, hover,
//             pressed) and the bar's pictures (skin, light); each a picture: width, height,
//             then width * height pixels of 32 bits (blue, green, red, alpha).
//   step:     present (integer 0 or 1); if present: type, caption, text, icon, button count,
//             each button (caption with "&" before its access key, the key, way), close way,
//             end way, interval in milliseconds.

namespace kq::WindowsTable {

inline constexpr char TrailerMagic[8] = {'K', 'Q', 'S', 'T', 'E', 'P', 'S', '1'};
inline constexpr int TrailerSize = 4 + int(sizeof(TrailerMagic));
inline constexpr char TableMagic[4] = {'K', 'Q', 'T', '1'};

// A table larger than this is no table of ours: 99 steps of the longest texts stay far below.
inline constexpr int MaxTableBytes = 16 * 1024 * 1024;
// Pictures larger than this are refused when read.
inline constexpr int MaxPictureSide = 1024;

enum WayKind : int { WayStep = 0, WayEnd = 1, WayStays = 2, WayFault = 3 };
enum StepType : int { Message = 0, Progress = 1, Pause = 2 };

// The pictures of the art, in their order.
enum Picture : int {
    IconStrip = 0,
    SkinResting = 1,
    SkinHover = 2,
    SkinPressed = 3,
    BarSkin = 4,
    BarLight = 5,
    PictureCount = 6
};

inline constexpr int SkinnedStyle = 1;
inline constexpr int IconSize = 32;
// The bar's ticks: one per cent, and the step ends on the tick after the hundredth.
inline constexpr int BarTicks = 100;

// Command-line switches of the player for tests. With TraceSwitch it writes each window,
// pause and end it shows to standard output, one JSON array a line; with TestSwitch it also
// reads one press a line from standard input whenever a window waits, runs pauses and bars
// only when told, and ends with ["ran out"] when the presses do.
inline constexpr wchar_t TraceSwitch[] = L"--kq-trace";
inline constexpr wchar_t TestSwitch[] = L"--kq-test";

} // namespace kq::WindowsTable
