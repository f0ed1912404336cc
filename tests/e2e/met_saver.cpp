// SPDX-License-Identifier: MIT
// A stand-in for the program while it saves: fills the document with one of two known
// contents and writes it with the program's own save routine, once or in a loop for ever.
//   met_saver reference A|B <path>   writes that document once
//   met_saver loop <path>            writes B, A, B, A ... to <path> until killed
// The loop prints "saving" before its first save starts so that the killer knows.

#include "core/base/MessageService.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

class StderrMessages : public MessageService
{
public:
    MessageAnswer Show(const QString& text, const QString&, MessageIcon, MessageButtons,
                       QObject*) override
    {
        QTextStream(stderr) << text << '\n';
        return MessageAnswer::Ok;
    }
};

// Every range and point slot filled, so that the two documents differ all through the file.
void FillDocument(MeterCheckDoc& doc, char tag)
{
    ClearDocument(doc);
    doc.formatVersion = 1.0;
    doc.meterName = QStringLiteral("Miernik %1 — woltomierz").arg(tag);
    doc.meterNumber = QStringLiteral("NR-%1-0042").arg(tag);
    doc.method = tag == 'A' ? CheckMethod::ExactSetting : CheckMethod::ExactReading;
    for (int r = 0; r < maxRanges; ++r) {
        MeterRange& range = doc.ranges[r];
        range.rangeDefined = 1;
        range.rangeValue = QString::number(tag == 'A' ? 10 + r : 500 + r);
        range.rangeUnit = tag == 'A' ? QStringLiteral("V") : QStringLiteral("mV");
        range.classReading = QStringLiteral("0.%1").arg(r);
        range.classRange = QStringLiteral("0.0%1").arg(tag == 'A' ? 5 : 2);
        for (int p = 0; p < maxPoints; ++p) {
            MeterPoint& point = range.points[p];
            point.pointDefined = 1;
            point.marked = p % 2;
            point.setting = QStringLiteral("%1%2.%3").arg(tag).arg(r).arg(p);
            point.reading = QStringLiteral("%1.%2").arg(tag == 'A' ? p : 99 - p).arg(r);
            point.unit = range.rangeUnit;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    StderrMessages messages;
    MeterCheckSession session; // one file image for every save, as in the program
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("reference")) {
        FillDocument(session.document, args[2] == QLatin1String("A") ? 'A' : 'B');
        return SaveDocument(session, args[3], messages) ? 0 : 1;
    }
    if (args.size() == 3 && args[1] == QLatin1String("loop")) {
        std::puts("saving");
        std::fflush(stdout);
        for (char tag = 'B';; tag = tag == 'A' ? 'B' : 'A') {
            FillDocument(session.document, tag);
            if (!SaveDocument(session, args[2], messages))
                return 1;
        }
    }
    QTextStream(stderr) << "usage: met_saver reference A|B <path> | met_saver loop <path>\n";
    return 2;
}
