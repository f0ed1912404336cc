// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QRadioButton>

// A radio button with a chosen background and caption colour (the function-family choices of
// the control panel). Option buttons with the same parent form one group, or put them in a
// QButtonGroup. valueClicked reports that the button became the chosen one, by a click or by
// setChecked from the program; choosing the button that is already chosen reports nothing.
// Callers that only want to show a choice without acting on it block the signals
// (QSignalBlocker) around setChecked.
class OptionButton : public QRadioButton
{
    Q_OBJECT

public:
    explicit OptionButton(QWidget* parent = nullptr);
    explicit OptionButton(const QString& text, QWidget* parent = nullptr);

    // Background colour; an invalid colour returns to the window's own background.
    void setBackColor(const QColor& color);
    QColor backColor() const { return back; }

    // Caption colour; an invalid colour returns to the style's own text colour.
    void setTextColor(const QColor& color);
    QColor textColor() const { return text; }

signals:
    void valueClicked();

private:
    void ApplyColors();

    QColor back;
    QColor text;
};
