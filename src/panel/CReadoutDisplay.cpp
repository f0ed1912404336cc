// SPDX-License-Identifier: MIT
#include "panel/CReadoutDisplay.h"

#include "base/DialogUnits.h"

#include <QPainter>

CReadoutDisplay::CReadoutDisplay(QWidget* parent) : QWidget(parent)
{
    setFixedSize(DialogUnits::Size(212, 64));
}

void CReadoutDisplay::Draw()
{
    shown = CurrentContent();
    drawn = true;
    update();
}

ReadoutContent CReadoutDisplay::Shown() const
{
    return drawn ? shown : CurrentContent();
}

void CReadoutDisplay::paintEvent(QPaintEvent*)
{
    if (!drawn) {
        shown = CurrentContent();
        drawn = true;
    }
    QPainter painter(this);
    PaintReadout(painter, shown, fonts);
}
