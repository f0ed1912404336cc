// SPDX-License-Identifier: MIT
#include "ui/metercheck/run/MeasurementDialogParts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace MeasurementDialogParts {

QFont DisplayFont()
{
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter);
    font.setBold(true);
    // A cell of 36 pixels (ascent + descent) is an em of about 32 pixels.
    font.setPixelSize(32);
    return font;
}

QFont ValueFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setBold(true);
    font.setPixelSize(16);
    return font;
}

QGroupBox* Frame(QWidget* dialog, const QString& title, const QRect& geometry)
{
    auto* frame = new QGroupBox(title, dialog);
    frame->setGeometry(geometry);
    frame->lower();
    return frame;
}

QLabel* Label(QWidget* dialog, const char* name, const QRect& geometry, const QFont& font,
              Qt::Alignment alignment)
{
    auto* label = new QLabel(dialog);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setFont(font);
    label->setAlignment(alignment);
    label->setContentsMargins(0, 0, 0, 0);
    label->setIndent(0);
    return label;
}

QPushButton* Button(QWidget* dialog, const char* name, const QString& text, const QRect& geometry)
{
    auto* button = new QPushButton(text, dialog);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    return button;
}

} // namespace MeasurementDialogParts
