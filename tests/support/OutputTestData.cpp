// SPDX-License-Identifier: MIT
#include "OutputTestData.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

QByteArray Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return QByteArray();
    return process.readAllStandardOutput();
}

} // namespace

QString PdfText(const QString& path, int firstPage, int lastPage)
{
    QStringList args{"-enc", "UTF-8"};
    if (firstPage > 0)
        args << "-f" << QString::number(firstPage);
    if (lastPage > 0)
        args << "-l" << QString::number(lastPage);
    args << path << "-";
    return QString::fromUtf8(Run("pdftotext", args));
}

int PdfPages(const QString& path)
{
    const QString info = QString::fromUtf8(Run("pdfinfo", {path}));
    const QRegularExpressionMatch m =
        QRegularExpression("^Pages:\\s+(\\d+)", QRegularExpression::MultilineOption).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QList<PdfWord> PdfWords(const QString& path, int page)
{
    const QString html =
        QString::fromUtf8(Run("pdftotext", {"-enc", "UTF-8", "-bbox", "-f", QString::number(page),
                                            "-l", QString::number(page), path, "-"}));
    QList<PdfWord> words;
    const double mmPerPoint = 25.4 / 72.0;
    static const QRegularExpression word(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">"
        "([^<]*)</word>");
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        QString text = m.captured(5);
        text.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"");
        text.replace("&amp;", "&");
        words.append({text, m.captured(1).toDouble() * mmPerPoint,
                      m.captured(2).toDouble() * mmPerPoint, m.captured(3).toDouble() * mmPerPoint,
                      m.captured(4).toDouble() * mmPerPoint});
    }
    return words;
}

namespace {

QByteArray ZipEntry(const QString& path, const QString& entry)
{
    return Run("unzip", {"-p", path, entry});
}

QStringList SharedStrings(const QByteArray& xml)
{
    QStringList strings;
    QXmlStreamReader reader(xml);
    QString current;
    bool inSi = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && reader.name() == QLatin1String("si")) {
            inSi = true;
            current.clear();
        } else if (reader.isStartElement() && reader.name() == QLatin1String("t") && inSi) {
            current += reader.readElementText();
        } else if (reader.isEndElement() && reader.name() == QLatin1String("si")) {
            strings << current;
            inSi = false;
        }
    }
    return strings;
}

} // namespace

XlsxBook ReadXlsx(const QString& path)
{
    XlsxBook book;
    const QByteArray workbookXml = ZipEntry(path, "xl/workbook.xml");
    if (workbookXml.isEmpty())
        return book;
    const QStringList strings = SharedStrings(ZipEntry(path, "xl/sharedStrings.xml"));

    QXmlStreamReader wb(workbookXml);
    while (!wb.atEnd()) {
        wb.readNext();
        if (!wb.isStartElement())
            continue;
        if (wb.name() == QLatin1String("sheet")) {
            XlsxSheet sheet;
            sheet.name = wb.attributes().value("name").toString();
            book.sheets << sheet;
        } else if (wb.name() == QLatin1String("workbookView")) {
            book.activeSheet = wb.attributes().value("activeTab").toInt();
        }
    }
    // The library numbers the sheet parts in workbook order.
    for (int i = 0; i < book.sheets.size(); ++i) {
        QXmlStreamReader ws(ZipEntry(path, QString("xl/worksheets/sheet%1.xml").arg(i + 1)));
        QString address, type;
        while (!ws.atEnd()) {
            ws.readNext();
            if (ws.isStartElement() && ws.name() == QLatin1String("c")) {
                address = ws.attributes().value("r").toString();
                type = ws.attributes().value("t").toString();
            } else if (ws.isStartElement() && ws.name() == QLatin1String("v")) {
                const QString v = ws.readElementText();
                if (type == QLatin1String("s")) {
                    book.sheets[i].cells[address] = strings.value(v.toInt());
                } else {
                    book.sheets[i].cells[address] = v;
                    book.sheets[i].nonTextCells << address;
                }
            }
        }
    }
    const QByteArray core = ZipEntry(path, "docProps/core.xml");
    const QRegularExpressionMatch t =
        QRegularExpression("<dc:title>([^<]*)</dc:title>").match(QString::fromUtf8(core));
    book.title = t.captured(1);
    book.ok = true;
    return book;
}
