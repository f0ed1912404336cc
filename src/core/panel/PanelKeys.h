// SPDX-License-Identifier: MIT
#pragma once

#include <QChar>
#include <Qt>

// What a key-down means to the control panel. The panel looks at every key-down in its
// window before the focused control does, and passes the key on afterwards.
struct PanelKeyAction
{
    enum class Kind
    {
        None,
        Keypad, // a digit or "." on the keypad; `key` holds it
        PlusMinus,
        Enter,
        CancelEntry,
        OperateToggle,
        HoldToggle,
        StepUp,
        StepDown,
        StepFastUp,
        StepFastDown,
        DeltaUp,
        DeltaDown,
        MUp,
        MDown,
        ResetPanel,
        ResetStatistics,
    };
    Kind kind = Kind::None;
    QChar key;
};

// Keys held with Alt belong to the window's menus and mnemonics, not to the panel.
PanelKeyAction PanelKeyFor(int key, Qt::KeyboardModifiers modifiers);
