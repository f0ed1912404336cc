// SPDX-License-Identifier: MIT
#pragma once

#include "core/lab/LabPolicy.h"

#include <QDate>
#include <QString>

class MessageService;
class QObject;

// Whether a run goes ahead with the lab's calibrator.
enum class CalibratorGoAhead
{
    InDate,      // no due date given, or not passed: nothing was asked
    OverdueGoOn, // past its due date, and the technician chose to go on
    Stop,        // past its due date, and the technician chose not to start
};

// At the start of a run: when `calibrator` is past its due date on `today`, asks once through
// `messages` whether to go on ("Tak"/"Nie"); any answer but "Tak" stops the run.
CalibratorGoAhead AskAboutOverdueCalibrator(const CalibratorTraceability& calibrator,
                                            const QDate& today, MessageService& messages,
                                            QObject* owner = nullptr);

// The question's text and caption.
QString CalibratorOverdueQuestion(const CalibratorTraceability& calibrator);
inline constexpr char calibratorOverdueCaption[] = "Wzorcowanie kalibratora";
