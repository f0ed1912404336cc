// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckMode.h"

#include <QStringList>

class MessageService;
class QObject;
struct MeterCheckSession;

// The rules of the meter-data dialog: name and number of at most 20 characters that the .met
// file can hold, the method list fixed while the data of an open document are edited
// (MeterCheckMode::EditMeterData).
class MeterDataEntry
{
public:
    static constexpr int maxTextLength = 20;
    enum class Field
    {
        None,
        Name,
        Number
    };

    static QString Title();
    static QStringList Methods();
    static bool MethodFixed(MeterCheckMode mode);

    // OK: with both texts given, and held whole by the file, stores them and the method (a
    // method index outside the list keeps the document's method) in the session's document
    // and marks the session modified; otherwise shows the message, stores nothing and says in
    // `refused` which field the user is sent back to. A text with characters the file cannot
    // hold stays as typed: the message names them, so they can be mended in place.
    static bool Accept(MeterCheckSession& session, const QString& name, const QString& number,
                       int method, MessageService& messages, QObject* owner = nullptr,
                       Field* refused = nullptr);
};
