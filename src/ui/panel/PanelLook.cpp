// SPDX-License-Identifier: MIT
#include "ui/panel/PanelLook.h"

#include "ui/base/DialogUnits.h"

#include <QAbstractButton>
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

void PanelLook::CompactChoice(QAbstractButton* choice)
{
    // A style sheet leaves the panel's palette behind: the disabled caption's grey is given
    // again, or it would fade into the face.
    choice->setStyleSheet(QStringLiteral("QRadioButton, QCheckBox { spacing: 4px; }"
                                         "QRadioButton:disabled, QCheckBox:disabled { color: %1; }")
                              .arg(disabledText.name()));
}

int PanelLook::NeededWidth(const QWidget* choice)
{
    return choice->sizeHint().width() + captionSpare;
}

void PanelLook::FitWidth(QWidget* choice)
{
    choice->resize(qMax(choice->width(), NeededWidth(choice)), choice->height());
}

void PanelLook::PlaceGrid(const QList<QAbstractButton*>& choices, int columns, int left, int right,
                          const QList<int>& tops, int height)
{
    QList<int> widths(columns, 0);
    for (int i = 0; i < choices.size(); ++i)
        widths[i % columns] = qMax(widths[i % columns], NeededWidth(choices[i]));
    int needed = 0;
    for (int w : widths)
        needed += w;
    const int extra = qMax(0, right - left - needed) / columns;
    int x = left;
    QList<int> columnX;
    for (int w : widths) {
        columnX << x;
        x += w + extra;
    }
    for (int i = 0; i < choices.size(); ++i)
        choices[i]->setGeometry(columnX[i % columns], tops.value(i / columns), widths[i % columns],
                                height);
}
