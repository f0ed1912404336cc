// SPDX-License-Identifier: MIT
#include "ui/panel/ReadoutDisplay.h"

#include "ui/base/DialogUnits.h"

#include <QPainter>

ReadoutDisplay::ReadoutDisplay(QWidget* parent) : QWidget(parent)
{
    setFixedSize(DialogUnits::Size(212, 64));
}

void ReadoutDisplay::Draw()
{
    shown = CurrentContent();
    drawn = true;
    update();
}

ReadoutContent ReadoutDisplay::Shown() const
{
    return drawn ? shown : CurrentContent();
}

void ReadoutDisplay::paintEvent(QPaintEvent*)
{
    if (!drawn) {
        shown = CurrentContent();
        drawn = true;
    }
    QPainter painter(this);
    PaintReadout(painter, shown, fonts);
}
