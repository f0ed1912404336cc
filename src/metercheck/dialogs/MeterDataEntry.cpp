// SPDX-License-Identifier: MIT
#include "metercheck/dialogs/MeterDataEntry.h"

#include "base/MessageService.h"
#include "metercheck/document/MeterCheckDoc.h"

QString MeterDataEntry::Title()
{
    return QStringLiteral("Dane miernika");
}

QStringList MeterDataEntry::Methods()
{
    return {QStringLiteral("dokładnej nastawy"), QStringLiteral("dokładnego odczytu")};
}

bool MeterDataEntry::MethodFixed(int state)
{
    return state == 5;
}

bool MeterDataEntry::Accept(const QString& name, const QString& number, int method, QWidget* owner)
{
    if (name.isEmpty() || number.isEmpty()) {
        ShowError(QStringLiteral("Nie wprowadzono wszystkich danych miernika."), owner);
        return false;
    }
    meterCheckDoc.meterName = name.left(maxTextLength);
    meterCheckDoc.meterNumber = number.left(maxTextLength);
    if (method >= 0 && method < Methods().size())
        meterCheckDoc.method = qint16(method);
    documentModified = true;
    return true;
}
