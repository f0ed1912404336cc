// SPDX-License-Identifier: MIT
#pragma once

#include <QJsonObject>
#include <QString>

struct MeterCheckDoc;

// A document as a readable listing or as JSON: the meter, the method, the defined
// ranges with all their fields and the defined points with all fields and flags. Ranges and
// points are numbered from 1, as on screen.
QString DocumentListing(const MeterCheckDoc& doc, const QString& fileName);
QJsonObject DocumentJson(const MeterCheckDoc& doc, const QString& fileName);
