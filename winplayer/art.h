#pragma once

// Drawing the pictures the table carries: the icon strip on the window's background, the
// skinned buttons and the skinned bar, as the runner's controls draw them.

#include "table.h"

#include <windows.h>

namespace kq::player {

// Copies columns [sourceX, sourceX + sourceWidth) of the whole height of a picture into the
// rectangle, stretched to fit.
void drawPicture(HDC dc, const Picture &picture, int sourceX, int sourceWidth, RECT target);

// Cell `cell` of the icon strip at left, top, laid over the background colour.
void drawIconCell(HDC dc, const Picture &strip, int cell, int left, int top, COLORREF background);

// A skinned button: left cap, a middle that runs on under the right cap, right cap, then the
// caption in the middle with its access key underlined, and the focus frame.
void drawSkinnedButton(HDC dc, const Picture &skin, RECT bounds, const wchar_t *caption,
                       bool focused);

// The skinned bar at value per cent, the glint at glintLeft.
void drawSkinnedBar(HDC dc, const Picture &skin, const Picture &light, RECT bounds, int value,
                    int glintLeft);

// Where the glint of a bar at `value` per cent and `width` pixels starts over again.
int glintCut(int value, int width);

} // namespace kq::player
