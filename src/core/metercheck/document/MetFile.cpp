// SPDX-License-Identifier: MIT
#include "core/metercheck/document/MetFile.h"

#include "core/base/FileAccess.h"
#include "core/base/MessageService.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QDir>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <cstring>
#include <optional>

namespace MetFile {

namespace {

constexpr char codePage[] = "windows-1250";

// UTF-16 units of the character at i: 2 for a surrogate pair.
qsizetype CharacterLength(const QString& text, qsizetype i)
{
    return text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
               ? 2
               : 1;
}

void PutInt16(char* at, qint16 value)
{
    qToLittleEndian<qint16>(value, at);
}

qint16 GetInt16(const char* at)
{
    return qFromLittleEndian<qint16>(at);
}

struct RangeLayout
{
    int offset;
    int width;
    QString MeterRange::*text;
};

const RangeLayout rangeTexts[] = {
    {0, 5, &MeterRange::rangeValue},  {5, 17, &MeterRange::sensorName},
    {22, 6, &MeterRange::rangeUnit},  {34, 5, &MeterRange::toValue},
    {39, 5, &MeterRange::rlValue},    {44, 6, &MeterRange::classReading},
    {50, 6, &MeterRange::classRange}, {56, 6, &MeterRange::constTerm},
    {62, 6, &MeterRange::constUnit},
};
constexpr int functionOffset = 28;
constexpr int calFunctionOffset = 30;
constexpr int coldJunctionOffset = 32;
constexpr int rangeDefinedOffset = 68;

struct PointLayout
{
    int offset;
    int width;
    QString MeterPoint::*text;
};

const PointLayout pointTexts[] = {
    {0, 8, &MeterPoint::reading},          {8, 8, &MeterPoint::setting},
    {16, 8, &MeterPoint::actualError},     {24, 8, &MeterPoint::permissibleError},
    {32, 8, &MeterPoint::calibratorError}, {40, 5, &MeterPoint::unit},
};
constexpr int reservedOffset = 45;
constexpr int markedOffset = 46;
constexpr int pointDefinedOffset = 47;
constexpr int pointMeasuredOffset = 48;

// The windows-1250 byte of one character (one or two UTF-16 units), or nothing when the code
// page lacks it (the encoder would write the substitution byte 0x1A).
std::optional<char> CodePageByte(QStringView character)
{
    // One converter for the whole run: opening one per field made a file of 15 000 fields
    // take tens of milliseconds. The code page has no state between characters.
    static QStringEncoder encoder(codePage);
    encoder.resetState();
    const QByteArray bytes = encoder.encode(character);
    const bool substituted = bytes == "\x1A" && character != QStringView(u"\x1A");
    if (bytes.size() != 1 || substituted)
        return std::nullopt;
    return bytes.at(0);
}

// One windows-1250 byte per character; "?" for a character the code page lacks.
QByteArray EncodeBounded(const QString& text, int maxBytes)
{
    QByteArray out;
    out.reserve(maxBytes);
    for (qsizetype i = 0; i < text.size() && out.size() < maxBytes;) {
        const qsizetype length = CharacterLength(text, i);
        out += CodePageByte(QStringView(text).mid(i, length)).value_or('?');
        i += length;
    }
    return out;
}

} // namespace

void PackText(char* field, int width, const QString& text)
{
    if (width <= 0)
        return;
    const QByteArray bytes = EncodeBounded(text, width - 1);
    std::memcpy(field, bytes.constData(), bytes.size());
    field[bytes.size()] = '\0';
}

QString UnpackText(const char* field, int width)
{
    const int length = int(qstrnlen(field, width));
    static QStringDecoder decoder(codePage);
    decoder.resetState();
    return decoder.decode(QByteArrayView(field, length));
}

QString FitText(const QString& text, int width)
{
    if (width <= 0)
        return {};
    const QByteArray bytes = EncodeBounded(text, width - 1);
    // Whole characters only: count what was taken, one byte per character.
    qsizetype taken = 0;
    for (qsizetype n = 0; n < bytes.size(); ++n)
        taken += CharacterLength(text, taken);
    return text.left(taken);
}

QString CharactersNotHeld(const QString& text)
{
    QString notHeld;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = CharacterLength(text, i);
        const QStringView character = QStringView(text).mid(i, length);
        i += length;
        const std::optional<char> byte = CodePageByte(character);
        if ((!byte || *byte == '\0') && !notHeld.contains(character))
            notHeld += character;
    }
    return notHeld;
}

QByteArray PackDocument(MeterCheckSession& session)
{
    // Never cleared before packing: bytes behind a text's terminator keep what the last load
    // or save left there.
    QByteArray& image = session.fileImage;
    if (image.size() != MET_FILE_SIZE)
        image = QByteArray(MET_FILE_SIZE, '\0');
    char* data = image.data();
    const MeterCheckDoc& doc = session.document;

    qToLittleEndian<double>(doc.formatVersion, data);
    PackText(data + meterNameOffset, 30, doc.meterName);
    PackText(data + meterNumberOffset, 30, doc.meterNumber);
    PutInt16(data + methodOffset, qint16(doc.method));

    for (int r = 0; r < maxRanges; ++r) {
        const MeterRange& range = doc.ranges[r];
        char* rec = data + RangeOffset(r);
        for (const RangeLayout& f : rangeTexts)
            PackText(rec + f.offset, f.width, range.*f.text);
        PutInt16(rec + functionOffset, qint16(range.function));
        PutInt16(rec + calFunctionOffset, range.calFunction);
        PutInt16(rec + coldJunctionOffset, qint16(range.coldJunction));
        rec[rangeDefinedOffset] = char(range.rangeDefined);
        for (int p = 0; p < maxPoints; ++p) {
            const MeterPoint& point = range.points[p];
            char* prec = rec + pointsOffset + pointSize * p;
            for (const PointLayout& f : pointTexts)
                PackText(prec + f.offset, f.width, point.*f.text);
            prec[reservedOffset] = char(point.reserved);
            prec[markedOffset] = char(point.marked);
            prec[pointDefinedOffset] = char(point.pointDefined);
            prec[pointMeasuredOffset] = char(point.pointMeasured);
        }
        rec[rangeMeasuredOffset] = char(range.rangeMeasured);
    }
    return image;
}

bool UnpackDocument(MeterCheckSession& session, const QByteArray& image)
{
    if (image.size() != MET_FILE_SIZE)
        return false;
    const char* data = image.constData();
    MeterCheckDoc& doc = session.document;

    doc.formatVersion = qFromLittleEndian<double>(data);
    doc.meterName = UnpackText(data + meterNameOffset, 30);
    doc.meterNumber = UnpackText(data + meterNumberOffset, 30);
    doc.method = CheckMethod(GetInt16(data + methodOffset));

    for (int r = 0; r < maxRanges; ++r) {
        MeterRange& range = doc.ranges[r];
        const char* rec = data + RangeOffset(r);
        for (const RangeLayout& f : rangeTexts)
            range.*f.text = UnpackText(rec + f.offset, f.width);
        range.function = RangeFunction(GetInt16(rec + functionOffset));
        range.calFunction = GetInt16(rec + calFunctionOffset);
        range.coldJunction = ColdJunction(GetInt16(rec + coldJunctionOffset));
        range.rangeDefined = quint8(rec[rangeDefinedOffset]);
        for (int p = 0; p < maxPoints; ++p) {
            MeterPoint& point = range.points[p];
            const char* prec = rec + pointsOffset + pointSize * p;
            for (const PointLayout& f : pointTexts)
                point.*f.text = UnpackText(prec + f.offset, f.width);
            point.reserved = quint8(prec[reservedOffset]);
            point.marked = quint8(prec[markedOffset]);
            point.pointDefined = quint8(prec[pointDefinedOffset]);
            point.pointMeasured = quint8(prec[pointMeasuredOffset]);
        }
        range.rangeMeasured = quint8(rec[rangeMeasuredOffset]);
    }
    session.fileImage = image;
    return true;
}

} // namespace MetFile

bool SaveDocument(MeterCheckSession& session, const QString& path, MessageService& messages,
                  QObject* owner)
{
    QString cause;
    if (!WriteWholeFile(path, MetFile::PackDocument(session), &cause)) {
        messages.ShowError(
            QStringLiteral("Nie udało się zapisać pliku:\n%1\n%2.\n"
                           "Dokument nie został zapisany, plik na dysku pozostał bez zmian.")
                .arg(QDir::toNativeSeparators(path), cause),
            owner);
        return false;
    }
    return true;
}

bool LoadDocument(MeterCheckSession& session, const QString& path, MessageService& messages,
                  QObject* owner)
{
    // One byte more than a document, so that a longer file shows itself.
    QByteArray image;
    QString cause;
    if (!ReadRegularFile(path, MET_FILE_SIZE + 1, &image, &cause)) {
        messages.ShowError(QStringLiteral("Nie udało się odczytać pliku:\n%1\n%2.\n"
                                          "Dokument nie został wczytany.")
                               .arg(QDir::toNativeSeparators(path), cause),
                           owner);
        return false;
    }
    if (image.size() != MET_FILE_SIZE) {
        messages.ShowError(
            QStringLiteral("Plik:\n%1\nnie jest plikiem danych miernika "
                           "(nieprawidłowa długość pliku).\nDokument nie został wczytany.")
                .arg(QDir::toNativeSeparators(path)),
            owner);
        return false;
    }
    return MetFile::UnpackDocument(session, image);
}
