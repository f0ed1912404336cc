// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/document/MeterCheckDoc.h"

#include <QString>

#include <optional>

class MessageService;
class QObject;

// The rules of the point dialog: which field holds the nominal value, the calibrator's
// settable limits for the range, and the check of a typed value at OK.
class PointEntry
{
public:
    struct Limits
    {
        double low;
        double high;
    };
    enum class Outcome
    {
        Empty,    // nothing typed: nothing happens
        Refused,  // a message was shown; the edit is emptied unless keepText()
        Accepted, // value() is ready to be stored
    };

    // Characters the file keeps of a reading or a setting.
    static constexpr int maxValueLength = 7;

    PointEntry(const MeterRange& range, CheckMethod method, MessageService& messages,
               QObject* owner = nullptr);

    static QString Title();
    // "Nastawa kalibratora" for the exact-setting method, "Wskazanie miernika" for exact reading.
    static QString Caption(CheckMethod method);
    // The nominal value of a point: its setting (exact setting) or its reading (exact reading).
    static QString NominalValue(const MeterPoint& point, CheckMethod method);
    // The calibrator's limits in the range's unit (mV and kOhm scaled); none when the range's
    // quantity or sensor is unknown.
    static std::optional<Limits> LimitsFor(const MeterRange& range);

    Outcome Check(const QString& typed);
    QString Value() const { return enteredValue; }
    bool KeepText() const { return keepsText; }
    // Nominal field, unit, pointDefined and marked; the measured value and errors stay.
    void StoreInto(MeterPoint& point) const;

private:
    Outcome Refuse(const QString& message, bool keepText);

    const MeterRange& editedRange;
    CheckMethod checkMethod;
    MessageService& messages;
    QObject* messageOwner;
    QString enteredValue;
    bool keepsText = false;
};
