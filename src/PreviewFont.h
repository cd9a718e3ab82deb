#pragma once

#include <QColor>
#include <QString>

// How the message editor's preview shows a message: the sign's colour, and
// the character height and typeface of the sign's font. Height and face
// depend on the model of the current card (g_pCurCard; without one the
// first model is assumed).

// 0 red, 1 green, 2 yellow; any other value red.
QColor ColorIndexToRgb(int nColor);

// The character height in twentieths of a point: 20 times the pixel height
// of the sign font (16, 32, then 48 and 64 on the second model, 16 and 32 on
// the first); any other font 16.
int FontIndexToHeight(int nFont);

// The typeface on the first model ("宋体" for fonts 0 and 1, "黑体" for 2 and
// 3); empty where the preview keeps its own face (second model, other fonts).
QString FontIndexToFace(int nFont);
