// SPDX-License-Identifier: MIT
#pragma once

#include "metercheck/document/MeterCheckMode.h"

#include <QStringList>

class QWidget;
struct MeterCheckSession;

// The rules of the meter-data dialog: name and number of at most 20 characters, the method
// list fixed while the data of an open document are edited (MeterCheckMode::EditMeterData).
class MeterDataEntry
{
public:
    static constexpr int maxTextLength = 20;

    static QString Title();
    static QStringList Methods();
    static bool MethodFixed(MeterCheckMode mode);

    // OK: with both texts given stores them and the method (a method index outside the list
    // keeps the document's method) in the session's document and sets documentModified;
    // otherwise shows the message and stores nothing.
    static bool Accept(MeterCheckSession& session, const QString& name, const QString& number,
                       int method, QWidget* owner = nullptr);
};
