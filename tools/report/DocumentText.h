// SPDX-License-Identifier: MIT
#pragma once

#include <QJsonObject>
#include <QString>

// The document in memory as a readable listing or as JSON: the meter, the method, the defined
// ranges with all their fields and the defined points with all fields and flags. Ranges and
// points are numbered from 1, as on screen.
QString DocumentListing(const QString& fileName);
QJsonObject DocumentJson(const QString& fileName);
