// SPDX-License-Identifier: MIT
#include "ui/app/DialogFont.h"

QFont DialogFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}
