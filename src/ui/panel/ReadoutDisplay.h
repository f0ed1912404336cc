// SPDX-License-Identifier: MIT
#pragma once

#include "ui/panel/ReadoutPainter.h"

#include <QWidget>

// A painted readout of the control panel. It keeps no data of its own: Draw takes what the
// panel's shared state shows at that moment and paints it. A later change of the state shows
// only at the next Draw, so a mark the panel shows briefly stays until then.
class ReadoutDisplay : public QWidget
{
    Q_OBJECT

public:
    explicit ReadoutDisplay(QWidget* parent = nullptr);

    void Draw();
    // What the readout shows now (after the last Draw).
    ReadoutContent Shown() const;

protected:
    virtual ReadoutContent CurrentContent() const = 0;
    void paintEvent(QPaintEvent* event) override;

private:
    ReadoutFonts fonts;
    ReadoutContent shown;
    bool drawn = false;
};
