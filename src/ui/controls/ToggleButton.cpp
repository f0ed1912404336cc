// SPDX-License-Identifier: MIT
#include "ui/controls/ToggleButton.h"

ToggleButton::ToggleButton(QWidget* parent) : ToggleButton(QString(), parent) {}

ToggleButton::ToggleButton(const QString& text, QWidget* parent) : ColorButton(text, parent)
{
    setCheckable(true);
    // toggled comes both from clicks and from setChecked, and only on a real change.
    connect(this, &QAbstractButton::toggled, this, &ToggleButton::valueClicked);
}
