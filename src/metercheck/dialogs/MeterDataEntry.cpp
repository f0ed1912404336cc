// SPDX-License-Identifier: MIT
#include "metercheck/dialogs/MeterDataEntry.h"

#include "base/MessageService.h"
#include "metercheck/document/MeterCheckSession.h"

QString MeterDataEntry::Title()
{
    return QStringLiteral("Dane miernika");
}

QStringList MeterDataEntry::Methods()
{
    return {QStringLiteral("dokładnej nastawy"), QStringLiteral("dokładnego odczytu")};
}

bool MeterDataEntry::MethodFixed(MeterCheckMode mode)
{
    return mode == MeterCheckMode::EditMeterData;
}

bool MeterDataEntry::Accept(MeterCheckSession& session, const QString& name, const QString& number,
                            int method, QWidget* owner)
{
    if (name.isEmpty() || number.isEmpty()) {
        ShowError(QStringLiteral("Nie wprowadzono wszystkich danych miernika."), owner);
        return false;
    }
    MeterCheckDoc& doc = session.document;
    doc.meterName = name.left(maxTextLength);
    doc.meterNumber = number.left(maxTextLength);
    if (method >= 0 && method < Methods().size())
        doc.method = CheckMethod(method);
    session.documentModified = true;
    return true;
}
