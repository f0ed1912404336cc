// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>

class QAbstractButton;
class QWidget;

// Colours and faces of the control panel's keys and labels, shared by both halves.
namespace PanelLook {

inline const QColor dialogGrey(192, 192, 192);
inline const QColor disabledText(128, 128, 128);
inline const QColor sourceHeadingText(0, 0, 255);
inline const QColor sourceHeadingBack(255, 255, 128);
inline const QColor meterHeadingText(2, 62, 200);
inline const QColor meterHeadingBack(128, 255, 255);
inline const QColor familyText(0, 0, 255);
inline const QColor keypadFace(182, 180, 143);
inline const QColor cancelText(255, 0, 0);
inline const QColor stepFace(214, 213, 192);
inline const QColor resetFace(255, 143, 140);
inline const QColor valueFace(204, 232, 255);

// Arial at a size given in points (at 96 dpi, so that the panel keeps its proportions).
QFont Arial(double points, bool bold);

inline QFont HeadingFont()
{
    return Arial(15.75, true);
}
inline QFont KeyFont()
{
    return Arial(9.75, true);
} // keypad, step keys, O/S, Hold
inline QFont ResetFont()
{
    return Arial(8.25, true);
} // "RESET"
inline QFont ValueFont()
{
    return Arial(8.25, false);
} // value buttons
inline QFont FamilyFont()
{
    return Arial(8.25, true);
} // family option buttons

// Places a child given in the dialog's units, measured from the dialog's top left, inside a
// half whose top left is (originX, originY) in the same units.
void Place(QWidget* widget, int originX, int originY, int x, int y, int w, int h);

// Pixels a choice (radio button, check box, family option) keeps free after its caption.
constexpr int captionSpare = 3;

// A compact gap between a choice's mark and its caption, so that the longest range captions
// ("4000 Ohm") fit their rows at every scale.
void CompactChoice(QAbstractButton* choice);

// The width a choice needs for its mark and its caption, with captionSpare to spare.
int NeededWidth(const QWidget* choice);

// Widens a choice placed at its described size when its caption needs more room.
void FitWidth(QWidget* choice);

// Lays choices out in rows of `columns`, from `left` to `right` (pixels in their half), the
// rows at `tops` and `height` pixels high: each column as wide as its widest choice needs,
// the room left over shared out between the columns.
void PlaceGrid(const QList<QAbstractButton*>& choices, int columns, int left, int right,
               const QList<int>& tops, int height);

} // namespace PanelLook
