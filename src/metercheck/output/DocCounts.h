#pragma once
// TEMPORARY until the document operations land on main.
#include <QtGlobal>
int CountRanges();
int CountPoints(qint16 range);
