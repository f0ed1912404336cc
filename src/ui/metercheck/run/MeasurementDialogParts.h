// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;

// Pieces the two measurement dialogs share. Their controls sit at fixed places of the client
// area (the digit buttons of the exact-reading dialog must line up with the digits), so the
// frames are drawn behind the controls rather than holding them.
namespace MeasurementDialogParts {

// Light green of the typed indication, 0x95E393 as a Windows colour value.
inline QColor EntryBackground()
{
    return QColor(0x93, 0xE3, 0x95);
}

// "Courier" bold with a character cell 36 units high: the typed indication and the output.
QFont DisplayFont();
// The values in the frames.
QFont ValueFont();

QGroupBox* Frame(QWidget* dialog, const QString& title, const QRect& geometry);
// A label and a button of the dialog, found by their object name `name`.
QLabel* Label(QWidget* dialog, const char* name, const QRect& geometry, const QFont& font,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
QPushButton* Button(QWidget* dialog, const char* name, const QString& text, const QRect& geometry);

} // namespace MeasurementDialogParts
