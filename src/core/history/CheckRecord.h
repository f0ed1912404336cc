// SPDX-License-Identifier: MIT
#pragma once

#include "core/history/CheckNote.h"
#include "core/lab/LabPolicy.h"
#include "core/metercheck/document/MeterCheckDoc.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <memory>

// One point of a recorded check, with its texts exactly as the points grid shows them.
struct CheckPointRecord
{
    int position = 0; // slot in the range, from 0
    QString reading;
    QString setting;
    QString actualError;
    QString permissibleError;
    QString calibratorError;
    QString unit;
    bool marked = false;
    bool measured = false;
    bool exceeded = false; // |actual error| > permissible error

    // The value the operator gave when the point was added: the setting (exact setting) or the
    // indication (exact reading).
    QString NominalText(int method) const
    {
        return CheckMethod(method) == CheckMethod::ExactReading ? reading : setting;
    }

    friend bool operator==(const CheckPointRecord&, const CheckPointRecord&) = default;
};

// One range measured in one run: who checked which meter when, the range with its class as the
// report prints it, and every defined point of the range.
struct CheckRecord
{
    QString id;          // UUID without braces; the primary key wherever the record is stored
    QDateTime checkedAt; // when the run ended, with the offset from UTC of the bench
    QString computer;
    QString user;
    QString meterName;
    QString meterNumber;
    int method = 0; // 0 exact setting, 1 exact reading
    QString documentPath;

    int rangeSlot = 0;
    QString rangeValue;
    QString rangeUnit;
    int quantity = 0; // the range's function: 0 voltage ... 4 RTD
    QString sensorName;
    int coldJunction = 0;
    QString toValue;
    QString rlValue;
    QString classReading;
    QString classRange;
    QString constTerm;
    QString constUnit;
    int calFunction = 0;
    QString classText;  // "Klasa: ..." as printed
    QString sensorText; // "Czujnik: ..." as printed, empty without a sensor

    bool passed = true; // no measured point exceeds its permissible error
    QList<CheckPointRecord> points;

    // The lab's policy when the check was made: the rule of its statements, the TUR under
    // which a point is flagged, and the calibrator it was made with.
    DecisionRule decisionRule = DecisionRule::SimpleAcceptance;
    double turThreshold = 4.0;
    CalibratorTraceability calibrator;
    bool calibratorOverdue = false; // the technician went on with a calibrator past its due date

    // Not stored: the record waits in this bench's local queue for the server.
    bool waiting = false;
    // Read back with a stored record, never part of its content: its link's hash in the
    // database's chain (empty while it waits), and the marks and notes added to it since.
    QString chainHash;
    QList<CheckNote> notes;

    // "400 mV"
    QString RangeText() const;
    // "pozytywny" or "negatywny"
    QString VerdictText() const;

    friend bool operator==(const CheckRecord&, const CheckRecord&) = default;
};

// The verdict text of a check.
QString VerdictText(bool passed);

// Where and by whom a run was done.
struct RunContext
{
    QDateTime endedAt;
    QString computer;
    QString user;
    QString documentPath;
    LabPolicy policy;
    bool calibratorOverdue = false; // asked at the run's start and answered "go on"

    // Now, this machine, the logged-in user, the lab's policy from the settings and the open
    // document at `documentPath`.
    static RunContext Current(const QString& documentPath);
};

// One record per range of `ranges` (slots of the document), each with a new UUID. A range
// without a measured point gives no record.
QList<CheckRecord> BuildCheckRecords(const MeterCheckDoc& doc, const QList<int>& ranges,
                                     const RunContext& context);

// A document holding the record's meter data and its range in slot 0, as the report needs it.
std::unique_ptr<MeterCheckDoc> DocumentOfRecord(const CheckRecord& record);

QJsonObject RecordToJson(const CheckRecord& record);
// False when the object is not a record (no id).
bool RecordFromJson(const QJsonObject& object, CheckRecord& record);
