// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

class MessageService;
class QObject;
struct MeterCheckSession;

// The ".met" file: the document packed into one fixed block, little-endian numbers,
// windows-1250 texts with a terminating zero inside a field of fixed width.
constexpr int MET_FILE_SIZE = 126072;

namespace MetFile {
constexpr int meterNameOffset = 8;
constexpr int meterNumberOffset = 38;
constexpr int methodOffset = 68;
constexpr int rangesOffset = 70;
constexpr int rangeSize = 2520;
constexpr int pointsOffset = 69; // within a range record
constexpr int pointSize = 49;
constexpr int rangeMeasuredOffset = 2519; // within a range record

inline constexpr int RangeOffset(int range)
{
    return rangesOffset + rangeSize * range;
}
inline constexpr int PointOffset(int range, int point)
{
    return RangeOffset(range) + pointsOffset + pointSize * point;
}

// Packs the session's document into the session's file image and returns a copy of it. Bytes
// of a text field behind the terminator keep what the image held before.
QByteArray PackDocument(MeterCheckSession& session);
// Unpacks a full image (exactly MET_FILE_SIZE bytes) into the session's document and makes it
// the session's file image; anything else is refused and changes nothing.
bool UnpackDocument(MeterCheckSession& session, const QByteArray& image);

// Writes the bytes of `text` into a field of `width` bytes: at most width-1 windows-1250
// bytes, cut at a whole character, then the terminator. Characters outside the code page are
// written as "?". Bytes behind the terminator are left alone.
void PackText(char* field, int width, const QString& text);
// The text of a field: up to its first zero byte, at most `width` bytes.
QString UnpackText(const char* field, int width);
// How many characters of `text` fit into a field of `width` bytes with the terminator.
QString FitText(const QString& text, int width);
// The characters of `text` that a text field cannot hold (outside windows-1250, or the zero
// that ends a field), each once in the order they first appear; empty when the file keeps the
// whole text. Every text typed for the file is checked with it, so that the file and the
// history never know one meter under two names.
QString CharactersNotHeld(const QString& text);
} // namespace MetFile

// Writes the session's document to `path` through a temporary file in the same folder that replaces
// the target only when everything was written, so a failed save never damages the old file. On
// failure shows an error box with the cause and returns false.
bool SaveDocument(MeterCheckSession& session, const QString& path, MessageService& messages,
                  QObject* owner = nullptr);
// Reads a ".met" file into the session's document. A path that is not a regular file, a file that
// cannot be read or is not exactly MET_FILE_SIZE bytes long is refused with an error box that
// names the cause; the document stays as it was.
bool LoadDocument(MeterCheckSession& session, const QString& path, MessageService& messages,
                  QObject* owner = nullptr);
