// SPDX-License-Identifier: MIT
#include "ui/controls/ColorButton.h"

ColorButton::ColorButton(QWidget* parent) : QPushButton(parent) {}

ColorButton::ColorButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {}

void ColorButton::setBackColor(const QColor& color)
{
    back = color;
    ApplyColors();
}

void ColorButton::setTextColor(const QColor& color)
{
    text = color;
    ApplyColors();
}

void ColorButton::ApplyColors()
{
    if (!back.isValid() && !text.isValid()) {
        setStyleSheet(QString());
        return;
    }
    const QString caption = text.isValid() ? text.name() : QStringLiteral("palette(button-text)");
    QString sheet;
    if (back.isValid()) {
        // A two-pixel bevel drawn from the face colour, as the instrument-style keys have.
        const QString face = back.name();
        const QString light = back.lighter(135).name();
        const QString dark = back.darker(160).name();
        // Pressed (and a toggle held down) is sunken with a plainly darker face, so that a
        // pressed "Hold" or "O/S" cannot be taken for a released one at a glance.
        const QString sunken = back.darker(145).name();
        sheet = QStringLiteral("QPushButton { background-color: %1; color: %2;"
                               " border-width: 2px; border-style: solid;"
                               " border-color: %3 %4 %4 %3; padding: 1px 2px; }"
                               "QPushButton:focus { border-color: %3 #000000 #000000 %3; }"
                               "QPushButton:pressed, QPushButton:checked { background-color: %5;"
                               " border-color: %4 %3 %3 %4; padding: 2px 1px 0px 3px; }"
                               "QPushButton:disabled { color: %6; }")
                    .arg(face, caption, light, dark, sunken, back.darker(150).name());
    } else {
        sheet = QStringLiteral("QPushButton { color: %1; }").arg(caption);
    }
    setStyleSheet(sheet);
}
