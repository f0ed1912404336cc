#include "metercheck/document/MeterCheckDoc.h"

MeterCheckDoc meterCheckDoc;
qint16 currentRange = 0;
qint16 currentPoint = 0;
QString documentName;
bool documentModified = false;
qint16 meterCheckState = 0;
