// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckDoc.h"
#include "core/metercheck/document/MeterCheckMode.h"

#include <QByteArray>
#include <QObject>
#include <QString>

// The meter check of one program run: the document with the range and point selected in it,
// the file it came from and whether it changed since, and what the windows are doing with it.
// Its owner keeps it for the whole run, so the meter check window can be closed and opened
// again and finds the document as it was left; every window of the meter check is handed it.
//
// The session alone writes the modified flag: whoever changes the document, opens, saves or
// clears it says so through SetModified, and whoever shows or asks about unsaved changes
// reads IsModified or follows modifiedChanged.
struct MeterCheckSession : QObject
{
    Q_OBJECT

public:
    MeterCheckDoc document;
    qint16 currentRange = 0; // the selected range: pages, procedures, printing and export
    qint16 currentPoint = 0; // the selected point of the current range
    // The path of the open file, "Bez nazwy.met" for a new document never saved, or empty.
    QString documentName;
    MeterCheckMode meterCheckState = MeterCheckMode::None;
    // "ON/OFF" of the ranges page switches all points of a range ON or OFF by turns, for the
    // whole run; false at start, so the first press switches them ON.
    bool markAllState = false;
    // The ".met" image the document was last packed into or unpacked from. Bytes behind a
    // text's terminator keep what the image held: they carry no meaning, but saving the same
    // document twice gives the same file.
    QByteArray fileImage = QByteArray(MET_FILE_SIZE, '\0');

    // Whether the document changed since it was last written, opened or cleared.
    bool IsModified() const { return documentModified; }
    // True after a change of the document; false once it is written, opened or dropped.
    // Announces every change of the flag, and only a change.
    void SetModified(bool modified);

signals:
    void modifiedChanged(bool modified);

private:
    bool documentModified = false;
};
