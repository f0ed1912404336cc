// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/metercheck/document/DocumentSlots.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include "RecordingMessageService.h"
#include "ScopedDocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

// A document with something in every kind of field.
void FillSample(MeterCheckDoc& doc)
{
    ClearDocument(doc);
    doc.formatVersion = 1.0;
    doc.meterName = QStringLiteral("Miernik łączności µ°");
    doc.meterNumber = QStringLiteral("Nr 123/ŚŻ");
    doc.method = CheckMethod::ExactReading;
    MeterRange& r = doc.ranges[0];
    r.rangeValue = "400";
    r.rangeUnit = "V";
    r.classReading = "0.5";
    r.classRange = "0.1";
    r.constTerm = "2.0";
    r.constUnit = "mV";
    r.calFunction = 3;
    r.rangeDefined = 1;
    r.rangeMeasured = 1;
    r.points[0] = {"100.0", "100.012", "-0.012", "0.7", "0.034", "V", 1, 1, 0, 1};
    r.points[1] = {"200.0", "", "", "", "", "V", 0, 1, 0, 0};
    MeterRange& t = doc.ranges[1];
    t.rangeValue = "1370";
    t.sensorName = "B (PtRh30-PtRh6)";
    t.rangeUnit = "°C";
    t.function = RangeFunction::Thermocouple;
    t.calFunction = 13;
    t.coldJunction = ColdJunction::To;
    t.toValue = "23.0";
    t.rlValue = "10.0";
    t.constUnit = "°C";
    t.rangeDefined = 1;
}

} // namespace

class TestDocFile : public QObject
{
    Q_OBJECT

    ScopedDocument session;
    MeterCheckDoc& doc = session.document;

private slots:
    void init() { session.Reset(); }

    void clearedDocumentIsVersionThenZeros()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("pusty.met");
        RecordingMessageService messages;
        QVERIFY(SaveDocument(session, path, messages));
        QVERIFY(messages.messages.isEmpty());
        const QByteArray bytes = ReadAll(path);
        QCOMPARE(bytes.size(), 126072);
        QCOMPARE(bytes.left(8), Hex("000000000000F03F"));
        QCOMPARE(bytes.mid(8), QByteArray(126072 - 8, '\0'));
    }

    void saveLoadSaveIsIdentical()
    {
        QTemporaryDir dir;
        RecordingMessageService messages;
        FillSample(doc);
        QVERIFY(SaveDocument(session, dir.filePath("a.met"), messages));
        ClearDocument(doc);
        doc.formatVersion = 7.0;
        QVERIFY(LoadDocument(session, dir.filePath("a.met"), messages));
        QCOMPARE(doc.formatVersion, 1.0);
        QCOMPARE(doc.meterName, QStringLiteral("Miernik łączności µ°"));
        QCOMPARE(doc.ranges[1].sensorName, QStringLiteral("B (PtRh30-PtRh6)"));
        QCOMPARE(doc.ranges[0].points[0].setting, QStringLiteral("100.012"));
        QCOMPARE(doc.ranges[0].calFunction, qint16(3));
        QVERIFY(SaveDocument(session, dir.filePath("b.met"), messages));
        QCOMPARE(ReadAll(dir.filePath("b.met")), ReadAll(dir.filePath("a.met")));
        QVERIFY(messages.messages.isEmpty());
    }

    void fieldBytes_data()
    {
        DataColumns<int, QByteArray>("offset", "bytes");
        const int r1 = MetFile::RangeOffset(1);
        const int p0 = MetFile::PointOffset(0, 0);
        DataRow("method int16 little-endian", 68, Hex("0100"));
        DataRow("name in windows-1250", 8,
                QByteArray("Miernik \xB3\xB9"
                           "czno\x9C"
                           "ci \xB5\xB0",
                           21));
        DataRow("degree C is three bytes", r1 + 22, Hex("B04300"));
        DataRow("function of range 1", r1 + 28, Hex("0300"));
        DataRow("calFunction 13", r1 + 30, Hex("0D00"));
        DataRow("coldJunction To", r1 + 32, Hex("0200"));
        DataRow("toValue", r1 + 34, QByteArray("23.0", 5));
        DataRow("longest sensor name fills its field", r1 + 5, QByteArray("B (PtRh30-PtRh6)", 17));
        DataRow("rangeDefined", r1 + 68, Hex("01"));
        DataRow("point 0 setting of seven characters", p0 + 8, QByteArray("100.012", 8));
        DataRow("point flags reserved marked defined measured", p0 + 45, Hex("00010101"));
        DataRow("unmarked defined point", p0 + 49 + 45, Hex("000001"));
        DataRow("rangeMeasured of range 0", MetFile::RangeOffset(0) + 2519, Hex("01"));
    }
    void fieldBytes()
    {
        QFETCH(int, offset);
        QFETCH(QByteArray, bytes);
        FillSample(doc);
        const QByteArray image = MetFile::PackDocument(session);
        QCOMPARE(image.size(), MET_FILE_SIZE);
        QCOMPARE(image.mid(offset, bytes.size()).toHex(' '), bytes.toHex(' '));
    }

    void lastRangeAndPadding()
    {
        QCOMPARE(MetFile::RangeOffset(49), 123550);
        doc.ranges[49].rangeValue = "9999";
        doc.ranges[49].rangeDefined = 1;
        doc.ranges[49].rangeMeasured = 1;
        doc.ranges[49].points[49].unit = "kOhm";
        const QByteArray image = MetFile::PackDocument(session);
        QCOMPARE(image.mid(123550, 5), QByteArray("9999", 5));
        QCOMPARE(image.mid(MetFile::PointOffset(49, 49) + 40, 5), QByteArray("kOhm", 5));
        QCOMPARE(image.mid(126068, 4).toHex(' '), QByteArray("00 01 00 00"));
    }

    void markedDefinedPointBytes()
    {
        MeterPoint& p = doc.ranges[3].points[7];
        p.marked = 1;
        p.pointDefined = 1;
        const QByteArray image = MetFile::PackDocument(session);
        const int at = MetFile::PointOffset(3, 7);
        QCOMPARE(at, 70 + 2520 * 3 + 69 + 49 * 7);
        QCOMPARE(image.mid(at + 45, 3).toHex(' '), QByteArray("00 01 01"));
    }

    // Texts longer than their field are cut at a whole character and never touch the next field.
    void longTextsStayInTheirFields_data()
    {
        DataColumns<QString, QByteArray>("name", "stored");
        DataRow("ascii", QString(40, 'x'), QByteArray(29, 'x'));
        DataRow("polish letters are one byte each", QString(35, QChar(0x0142)),
                QByteArray(29, '\xB3'));
        DataRow("outside the code page is one question mark", QString::fromUtf8("a€😀bЖ"),
                QByteArray("a\x80?b?"));
        DataRow("surrogate pair at the cut", QString(28, 'y') + QString::fromUtf8("😀😀"),
                QByteArray(28, 'y') + "?");
    }
    void longTextsStayInTheirFields()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, stored);
        doc.meterName = name;
        doc.meterNumber = "N1";
        const QByteArray image = MetFile::PackDocument(session);
        QCOMPARE(image.mid(8, stored.size() + 1), stored + '\0');
        QCOMPARE(image.mid(38, 3), QByteArray("N1\0", 3));
    }

    void fitTextCutsWholeCharacters()
    {
        QCOMPARE(MetFile::FitText("13200.00", 8), QStringLiteral("13200.0"));
        QCOMPARE(MetFile::FitText(QString::fromUtf8("ab😀c"), 4), QString::fromUtf8("ab😀"));
        QCOMPARE(MetFile::FitText("°C", 6), QStringLiteral("°C"));
    }

    // The one rule for every text typed for the file: what it cannot hold, each character once.
    void charactersNotHeld_data()
    {
        DataColumns<QString, QString>("text", "notHeld");
        DataRow("polish letters, degree and micro sign", QString::fromUtf8("Zażółć °C µV"), "");
        DataRow("outside windows-1250, in order, once", QString::fromUtf8("Zażółć ∑€ 日本 ☃ ∑"),
                QString::fromUtf8("∑日本☃"));
        DataRow("greek mu is not the micro sign", QString::fromUtf8("μV"), QString::fromUtf8("μ"));
        DataRow("a pair of surrogates is one character", QString::fromUtf8("a😀b😀"),
                QString::fromUtf8("😀"));
        DataRow("a zero would end the field", QString("a") + QChar(0) + "b", QString(QChar(0)));
        DataRow("the control character 0x1A is a byte of its own", QString("a\x1A"), "");
    }
    void charactersNotHeld()
    {
        QFETCH(QString, text);
        QFETCH(QString, notHeld);
        QCOMPARE(MetFile::CharactersNotHeld(text), notHeld);
    }

    // Bytes behind a terminator come from the image (the file loaded last), and are ignored.
    void bytesBehindTerminatorCarriedOver()
    {
        QTemporaryDir dir;
        RecordingMessageService messages;
        QByteArray file(MET_FILE_SIZE, '\0');
        const QByteArray oldName = QByteArray("Stara nazwa") + '\0' + QByteArray(17, 'Z') + 'Q';
        QCOMPARE(oldName.size(), 30);
        file.replace(8, 30, oldName);
        // A field without any zero: read up to the end of the field only.
        file.replace(38, 30, QByteArray(30, 'N'));
        file[68] = '\x01';
        WriteAll(dir.filePath("in.met"), file);
        QVERIFY(LoadDocument(session, dir.filePath("in.met"), messages));
        QCOMPARE(doc.meterName, QStringLiteral("Stara nazwa"));
        QCOMPARE(doc.meterNumber, QString(30, 'N'));
        doc.meterName = "Nowa";
        QVERIFY(SaveDocument(session, dir.filePath("out.met"), messages));
        const QByteArray out = ReadAll(dir.filePath("out.met"));
        QCOMPARE(out.mid(8, 30), QByteArray("Nowa") + '\0' + oldName.mid(5));
        // The unterminated number is written back as 29 characters and a terminator.
        QCOMPARE(out.mid(38, 30), QByteArray(29, 'N') + '\0');
    }

    // Every byte value survives a load and a save, also those the code page leaves undefined.
    void everyByteValueRoundTrips()
    {
        QTemporaryDir dir;
        RecordingMessageService messages;
        QByteArray file(MET_FILE_SIZE, '\0');
        for (int i = 0; i < 255; ++i)
            file[MetFile::PointOffset(10, i / 7) + i % 7] = char(1 + i);
        file.replace(0, 8, Hex("0102030405060708"));
        WriteAll(dir.filePath("all.met"), file);
        QVERIFY(LoadDocument(session, dir.filePath("all.met"), messages));
        session.fileImage.fill('\0');
        QVERIFY(SaveDocument(session, dir.filePath("again.met"), messages));
        QCOMPARE(ReadAll(dir.filePath("again.met")), file);
    }

    void loadReplacesEverySlot()
    {
        QTemporaryDir dir;
        RecordingMessageService messages;
        QVERIFY(SaveDocument(session, dir.filePath("empty.met"), messages));
        FillSample(doc);
        QVERIFY(LoadDocument(session, dir.filePath("empty.met"), messages));
        QCOMPARE(CountRanges(doc), 0);
        QCOMPARE(doc.ranges[0].points[0].setting, QString());
        QCOMPARE(doc.ranges[1].calFunction, qint16(0));
        QCOMPARE(doc.meterName, QString());
    }

    void badFilesAreRefused_data()
    {
        DataColumns<int, QString>("size", "message");
        const QString wrong = QStringLiteral("nie jest plikiem danych miernika");
        DataRow("one byte short", 126071, wrong);
        DataRow("one byte long", 126073, wrong);
        DataRow("empty", 0, wrong);
        DataRow("missing", -1, QStringLiteral("\nPlik lub folder nie istnieje.\n"));
        DataRow("a folder", -2, QStringLiteral("\nTo jest folder, a nie plik.\n"));
        DataRow("a FIFO", -3, QStringLiteral("\nTo jest potok (FIFO), a nie zwykły plik.\n"));
    }
    void badFilesAreRefused()
    {
        QFETCH(int, size);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath("zly.met");
        if (size >= 0)
            WriteAll(path, QByteArray(size, '\x07'));
        if (size == -2)
            QVERIFY(QDir(dir.path()).mkdir("zly.met"));
        if (size == -3) // opening it to read would wait for a writer for ever
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        FillSample(doc);
        const QByteArray imageBefore = MetFile::PackDocument(session);
        RecordingMessageService messages;
        QVERIFY(!LoadDocument(session, path, messages));
        QCOMPARE(messages.messages.size(), 1);
        QVERIFY(messages.IsErrorBox(0));
        QVERIFY2(messages.messages[0].text.contains(message),
                 qPrintable(messages.messages[0].text));
        QCOMPARE(messages.messages[0].text.count(path), 1);
        QVERIFY(messages.messages[0].text.endsWith("Dokument nie został wczytany."));
        // Neither the document nor the image changed.
        QCOMPARE(session.fileImage, imageBefore);
        QCOMPARE(doc.meterName, QStringLiteral("Miernik łączności µ°"));
        QCOMPARE(doc.ranges[0].points[0].setting, QStringLiteral("100.012"));
        QCOMPARE(MetFile::PackDocument(session), imageBefore);
    }

    void saveIntoMissingFolderFails()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("gone/dok.met");
        RecordingMessageService messages;
        QVERIFY(!SaveDocument(session, path, messages));
        QVERIFY(messages.OnlyError(QStringLiteral("Nie udało się zapisać pliku:\n%1\n"
                                            "Folder docelowy nie istnieje.\nDokument nie został "
                                            "zapisany, plik na dysku pozostał bez zmian.")
                                 .arg(path)));
        QVERIFY(!QFile::exists(path));
    }

    // A write that fails half way (as on a full disk) keeps the old file whole.
    void failedWriteKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("dok.met");
        const QByteArray old(MET_FILE_SIZE, '\x55');
        WriteAll(path, old);

        rlimit saved{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 60000;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        FillSample(doc);
        RecordingMessageService messages;
        const bool saved1 = SaveDocument(session, path, messages);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QVERIFY(!saved1);
        QCOMPARE(messages.messages.size(), 1);
        QCOMPARE(messages.messages[0].text,
                 QStringLiteral("Nie udało się zapisać pliku:\n%1\n"
                                "Plik przekroczyłby dopuszczalny rozmiar.\nDokument nie został "
                                "zapisany, plik na dysku pozostał bez zmian.")
                     .arg(path));
        QCOMPARE(ReadAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"dok.met"});
        // With room again the same document is written.
        QVERIFY(SaveDocument(session, path, messages));
        QCOMPARE(ReadAll(path), session.fileImage);
    }
};

QTEST_GUILESS_MAIN(TestDocFile)
#include "tst_docfile.moc"
