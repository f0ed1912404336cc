// SPDX-License-Identifier: MIT
#include "ui/metercheck/report/AppendixPage.h"

#include "core/metercheck/report/ConformityAppendix.h"
#include "ui/metercheck/report/PrintJobs.h"
#include "ui/metercheck/report/ProtocolPrinter.h"

#include <QFont>
#include <QPainter>
#include <QPen>

namespace {

// The page in 0.01 mm, y growing downwards.
constexpr int left = 2000;
constexpr int right = 19000;
constexpr int top = 2000;
constexpr int bottom = 27700; // nothing is written below
constexpr int lineHeight = 300;
constexpr int headLinePitch = 450;
constexpr int rowPitch = 410;
constexpr int headingBoxHeight = 900;
constexpr int textBoxWidth = 21000;

struct Column
{
    int from, to;
    const char* lines[2];
};
const Column columns[7] = {
    {2000, 4600, {"Wartość", "nominalna"}},    {4600, 7200, {"Błąd", "rzeczywisty"}},
    {7200, 9800, {"Błąd", "dopuszczalny"}},    {9800, 12200, {"Niepewność", "U (k = 2)"}},
    {12200, 13400, {nullptr, "j.m."}},         {13400, 15000, {nullptr, "TUR"}},
    {15000, 19000, {nullptr, "Stwierdzenie"}},
};

const QColor black(0, 0, 0);
const QColor red(255, 0, 0);

QFont Font(const QString& family, QFont::StyleHint hint, int height, QFont::Weight weight)
{
    QFont font(family);
    font.setStyleHint(hint);
    font.setPixelSize(height); // logical units: 0.01 mm
    font.setWeight(weight);
    return font;
}

QFont TitleFont()
{
    return Font(QStringLiteral("Arial"), QFont::SansSerif, 400, QFont::Bold);
}
QFont TextFont(QFont::Weight weight = QFont::Normal)
{
    return Font(QStringLiteral("Arial"), QFont::SansSerif, lineHeight, weight);
}
QFont TableFont()
{
    return Font(QStringLiteral("Courier"), QFont::TypeWriter, lineHeight, QFont::Normal);
}

// Lays the appendix out line by line, starting a new page where the next part does not fit.
class AppendixPainter
{
public:
    AppendixPainter(PrintJobs& jobs, QPainter& painter, const ConformityAppendix& appendix,
                    MessageService& messages)
        : jobs(jobs), painter(painter), appendix(appendix), messages(messages)
    {}

    bool Paint()
    {
        painter.save();
        painter.setBackgroundMode(Qt::TransparentMode);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(black, 15));
        Title(appendix.title);
        painter.setFont(TextFont());
        for (const QString& line : appendix.lines) {
            Text(left, y, line);
            y += headLinePitch;
        }
        bool anyLow = false;
        for (const AppendixRange& range : appendix.ranges) {
            if (!RangeTable(range))
                return End(false);
            for (const AppendixRow& row : range.rows)
                anyLow = anyLow || row.turLow;
        }
        if (anyLow) {
            if (!Room(headLinePitch + 200))
                return End(false);
            y += 200;
            painter.setFont(TextFont());
            painter.setPen(QPen(red, painter.pen().widthF()));
            Text(left, y, appendix.turNote);
            painter.setPen(QPen(black, painter.pen().widthF()));
        }
        return End(true);
    }

private:
    bool End(bool whole)
    {
        painter.restore();
        return whole;
    }

    void Text(int x, int atY, const QString& text, Qt::Alignment align = Qt::AlignLeft)
    {
        QRectF box(x, atY, textBoxWidth, lineHeight * 2);
        if (align & Qt::AlignHCenter)
            box.moveLeft(x - textBoxWidth / 2.0);
        else if (align & Qt::AlignRight)
            box.moveRight(x);
        painter.drawText(box, align | Qt::AlignTop | Qt::TextDontClip, text);
    }

    void Title(const QString& text)
    {
        y = top;
        painter.setFont(TitleFont());
        Text(left, y, text);
        y += 800;
    }

    // A new page when `height` more does not fit on this one; false when it cannot start.
    bool Room(int height) { return y + height <= bottom || NewPage(); }

    bool NewPage()
    {
        jobs.EndPage();
        if (!jobs.BeginPage()) {
            ShowPrintError(QStringLiteral("Nie można wystartować strony"), messages);
            return false;
        }
        Title(appendix.title + QStringLiteral(" (cd.)"));
        return true;
    }

    void RangeHeading(const AppendixRange& range)
    {
        painter.setFont(TextFont(QFont::Bold));
        Text(left, y, range.heading);
        Text(right, y, QStringLiteral("Skrót zapisu: ") + range.shortHash, Qt::AlignRight);
        y += headLinePitch;
        painter.setFont(TextFont());
        painter.drawRect(QRectF(QPointF(left, y), QPointF(right, y + headingBoxHeight)));
        for (const Column& c : columns) {
            if (c.from > left)
                painter.drawLine(QPointF(c.from, y), QPointF(c.from, y + headingBoxHeight));
            for (int i = 0; i < 2; ++i) {
                if (c.lines[i])
                    Text((c.from + c.to) / 2, y + 80 + i * 380, QString::fromUtf8(c.lines[i]),
                         Qt::AlignHCenter);
            }
        }
        y += headingBoxHeight;
        tableTop = y;
    }

    void CloseTable()
    {
        for (const Column& c : columns)
            painter.drawLine(QPointF(c.from, tableTop), QPointF(c.from, y));
        painter.drawLine(QPointF(right, tableTop), QPointF(right, y));
    }

    void Row(const AppendixRow& row)
    {
        painter.setFont(TableFont());
        const QString cells[7] = {row.nominal,     row.actualError, row.permissibleError,
                                  row.uncertainty, row.unit,        row.tur,
                                  row.statement};
        for (int i = 0; i < 7; ++i) {
            const bool mark = i == 5 && row.turLow;
            if (mark)
                painter.setPen(QPen(red, painter.pen().widthF()));
            Text((columns[i].from + columns[i].to) / 2, y + 50, cells[i], Qt::AlignHCenter);
            if (mark)
                painter.setPen(QPen(black, painter.pen().widthF()));
        }
        y += rowPitch;
        painter.drawLine(QPointF(left, y), QPointF(right, y));
    }

    bool RangeTable(const AppendixRange& range)
    {
        // The heading never stands alone at the foot of a page.
        y += 300;
        if (!Room(headLinePitch + headingBoxHeight + rowPitch))
            return false;
        RangeHeading(range);
        for (const AppendixRow& row : range.rows) {
            if (y + rowPitch > bottom) {
                CloseTable();
                if (!NewPage())
                    return false;
                RangeHeading(range);
            }
            Row(row);
        }
        CloseTable();
        return true;
    }

    PrintJobs& jobs;
    QPainter& painter;
    const ConformityAppendix& appendix;
    MessageService& messages;
    int y = top;
    int tableTop = top;
};

} // namespace

bool PrintConformityAppendix(PrintJobs& jobs, const ConformityAppendix& appendix,
                             MessageService& messages)
{
    QPainter* painter = BeginPrintJob(jobs, QStringLiteral("Załącznik - R718"), messages);
    if (!painter)
        return false;
    const bool whole = AppendixPainter(jobs, *painter, appendix, messages).Paint();
    if (whole)
        jobs.EndPage();
    jobs.EndJob();
    return whole;
}
