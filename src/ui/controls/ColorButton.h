// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QPushButton>

// A push button whose face colour, caption colour and font the window chooses (the coloured
// keys of the control panel, the value buttons). The colours are applied through a style sheet
// so that they look the same under every widget style: a raised face that looks sunken while
// pressed or, for checkable buttons, while checked. The font is the widget's own (setFont).
class ColorButton : public QPushButton
{
    Q_OBJECT

public:
    explicit ColorButton(QWidget* parent = nullptr);
    explicit ColorButton(const QString& text, QWidget* parent = nullptr);

    // Face colour; an invalid colour returns to the style's own face.
    void setBackColor(const QColor& color);
    QColor backColor() const { return back; }

    // Caption colour; an invalid colour returns to the style's own text colour.
    void setTextColor(const QColor& color);
    QColor textColor() const { return text; }

private:
    void ApplyColors();

    QColor back;
    QColor text;
};
