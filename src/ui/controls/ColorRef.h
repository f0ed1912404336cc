// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QtGlobal>

// Colours written as Windows colour values, 0x00BBGGRR (for example 0x95E393, the light green
// of the meter check's grids and buttons).
constexpr quint32 ColorRefFromRgb(int red, int green, int blue)
{
    return quint32(red & 0xFF) | quint32(green & 0xFF) << 8 | quint32(blue & 0xFF) << 16;
}

inline QColor ColorFromColorRef(quint32 value)
{
    return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
}
