#pragma once

#include "link/NumberText.h"

#include <QByteArray>
#include <QString>

// How the control panel reads a reply to "P": the first nine characters, "-" among them for
// a negative value, the first one dropped, "~" over-range, "_" under-range, else the number.
struct PanelReading
{
    bool positive = true;
    bool over = false;
    bool under = false;
    double magnitude = 0;
};

inline PanelReading ReadAsPanel(const QByteArray& reply)
{
    const QString kept = QString::fromLatin1(reply.left(9));
    PanelReading r;
    r.positive = !kept.contains(QLatin1Char('-'));
    const QString rest = kept.mid(1);
    r.over = rest.contains(QLatin1Char('~'));
    r.under = !r.over && rest.contains(QLatin1Char('_'));
    r.magnitude = qAbs(ParseNumber(rest));
    return r;
}
