// SPDX-License-Identifier: MIT
#include "core/panel/PanelKeys.h"

PanelKeyAction PanelKeyFor(int key, Qt::KeyboardModifiers modifiers)
{
    using A = PanelKeyAction::Kind;
    if (modifiers & Qt::AltModifier)
        return {};
    // Digits of both the main keyboard and the numeric pad.
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return {A::Keypad, QChar('0' + (key - Qt::Key_0))};
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Minus:
    case Qt::Key_Equal:      // the unshifted main-keyboard plus key
    case Qt::Key_Underscore: // the shifted main-keyboard minus key
        return {A::PlusMinus, {}};
    case Qt::Key_Period:
    case Qt::Key_Comma: // the numeric pad's decimal key under a Polish layout, and the comma key
        return {A::Keypad, QLatin1Char('.')};
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_E:
        return {A::Enter, {}};
    case Qt::Key_Backspace:
    case Qt::Key_C:
        return {A::CancelEntry, {}};
    case Qt::Key_O:
    case Qt::Key_S:
        return {A::OperateToggle, {}};
    case Qt::Key_H:
        return {A::HoldToggle, {}};
    case Qt::Key_Up:
        return {A::StepUp, {}};
    case Qt::Key_Down:
        return {A::StepDown, {}};
    case Qt::Key_Left:
        return {A::StepFastUp, {}};
    case Qt::Key_Right:
        return {A::StepFastDown, {}};
    case Qt::Key_Home:
        return {A::DeltaUp, {}};
    case Qt::Key_End:
        return {A::DeltaDown, {}};
    case Qt::Key_PageUp:
        return {A::MUp, {}};
    case Qt::Key_PageDown:
        return {A::MDown, {}};
    case Qt::Key_Delete:
        return {A::ResetPanel, {}};
    case Qt::Key_R:
        return {A::ResetStatistics, {}};
    default:
        return {};
    }
}
