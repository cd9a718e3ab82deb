#pragma once

#include <QString>

// Reads a decimal integer the forgiving way the stored files need: leading
// blanks and one sign are allowed, reading stops at the first character that
// is no digit, and a text without digits reads as 0. Values beyond the range
// of int are clamped to it instead of overflowing.
int KxStrToInt(const QString& strText);
