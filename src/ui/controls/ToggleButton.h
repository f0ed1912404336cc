// SPDX-License-Identifier: MIT
#pragma once

#include "ui/controls/ColorButton.h"

// A coloured button that stays pressed or released (operate/standby, HOLD, the sign key).
// valueClicked reports every change of state, whether the user clicked the button or the
// program called setChecked / toggle / setPressed: the windows run their toggle handler from
// this one signal, so keys that invert the toggle act exactly like a click. Setting the state
// the button already has reports nothing.
class ToggleButton : public ColorButton
{
    Q_OBJECT

public:
    explicit ToggleButton(QWidget* parent = nullptr);
    explicit ToggleButton(const QString& text, QWidget* parent = nullptr);

    bool isPressed() const { return isChecked(); }
    void setPressed(bool pressed) { setChecked(pressed); }

signals:
    // The state changed; pressed is the new state.
    void valueClicked(bool pressed);
};
