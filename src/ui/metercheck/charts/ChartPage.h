// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/report/ChartData.h"

#include <QWidget>

class ChartControl;
class MessageService;
class QPainter;
class QPrinter;
class QRectF;
struct MeterCheckDoc;

// A tab page of the meter check window holding one chart of a range of a document. The page
// has no state of its own: every DrawChart reads the document again.
class ChartPage : public QWidget
{
    Q_OBJECT

public:
    // Draws the chart of a range. A range never measured is not drawn (the chart keeps what it
    // showed). Without a marked point the page is hidden and "Nie zaznaczono punktów do
    // wykresu." is shown. Returns true when the chart now shows the range.
    bool DrawChart(int range);

    // Draws the chart of the range and prints it as a print job of its own, on one page.
    // Returns false when there was nothing to print or the printer could not be started.
    bool PrintChart(int range, QPrinter& printer);
    // Draws the chart of the range and paints it into `area` of a page already started (any
    // coordinate system: the chart is scaled into the area, keeping its proportions).
    bool PrintChart(int range, QPainter& painter, const QRectF& area);

    // Paints what the chart shows now into `area`, keeping its proportions (drawn for paper,
    // as the report draws it).
    void RenderChart(QPainter& painter, const QRectF& area) const;

    // What the chart shows now.
    const ChartData& Data() const { return data; }

protected:
    ChartPage(const MeterCheckDoc& doc, MessageService& messages, QWidget* parent);
    virtual ChartData BuildChart(int range) const = 0;

    const MeterCheckDoc& doc;

private:
    MessageService& messages;
    ChartControl* chart = nullptr;
    ChartData data;
};
