// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QSize>

// The window layouts are given in dialog units of an 8-point "MS Sans Serif" dialog.
// At 96 dpi one horizontal unit is 1.5 px and one vertical unit 1.625 px.
namespace DialogUnits {

constexpr int X(int dluX) { return (dluX * 3 + 1) / 2; }
constexpr int Y(int dluY) { return (dluY * 13 + 4) / 8; }
inline QRect Rect(int x, int y, int w, int h) { return QRect(X(x), Y(y), X(w), Y(h)); }
inline QSize Size(int w, int h) { return QSize(X(w), Y(h)); }

} // namespace DialogUnits
