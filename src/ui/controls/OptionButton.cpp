// SPDX-License-Identifier: MIT
#include "ui/controls/OptionButton.h"

OptionButton::OptionButton(QWidget* parent) : OptionButton(QString(), parent) {}

OptionButton::OptionButton(const QString& text, QWidget* parent) : QRadioButton(text, parent)
{
    connect(this, &QAbstractButton::toggled, this, [this](bool checked) {
        if (checked)
            emit valueClicked();
    });
}

void OptionButton::setBackColor(const QColor& color)
{
    back = color;
    ApplyColors();
}

void OptionButton::setTextColor(const QColor& color)
{
    text = color;
    ApplyColors();
}

void OptionButton::ApplyColors()
{
    QString sheet;
    if (back.isValid())
        sheet += QStringLiteral("background-color: %1;").arg(back.name());
    if (text.isValid())
        sheet += QStringLiteral("color: %1;").arg(text.name());
    setStyleSheet(sheet.isEmpty() ? QString() : QStringLiteral("QRadioButton { %1 }").arg(sheet));
}
