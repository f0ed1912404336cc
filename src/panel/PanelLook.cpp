// SPDX-License-Identifier: MIT
#include "panel/PanelLook.h"

#include "base/DialogUnits.h"

#include <QWidget>

QFont PanelLook::Arial(double points, bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    font.setBold(bold);
    return font;
}

void PanelLook::Place(QWidget* widget, int originX, int originY, int x, int y, int w, int h)
{
    using namespace DialogUnits;
    widget->setGeometry(QRect(X(x) - X(originX), Y(y) - Y(originY), X(w), Y(h)));
}
