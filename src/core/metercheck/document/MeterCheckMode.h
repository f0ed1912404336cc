// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>

// What the meter check windows are doing with the document, so that a dialog knows whether it
// adds or edits and the ranges page how to colour a fresh document.
enum class MeterCheckMode : qint16
{
    None = 0,           // nothing yet in this program run
    AddRange = 1,       // the range editor fills a new range
    EditRange = 2,      // the range editor changes a defined range
    NewDocument = 3,    // a new document was started
    OpenedDocument = 4, // a document was opened from a file
    EditMeterData = 5,  // the meter data of an open document are edited: the method stays
    AddPoint = 6,       // the point dialog fills a new point
    EditPoint = 7,      // the point dialog changes a defined point
};

// Which ranges a measurement, a print or an export takes: the current one or every range.
enum class RangeScope
{
    Current,
    All
};
