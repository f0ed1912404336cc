// SPDX-License-Identifier: MIT
#include "core/metercheck/entry/MeterDataEntry.h"

#include "core/base/MessageService.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckSession.h"

namespace {

// "„∑”, „日”, U+200B": each character in quotes, one that would not show by its code.
QString NamedCharacters(const QString& characters)
{
    QStringList names;
    for (const char32_t c : characters.toUcs4()) {
        // Marks, spaces and format or control characters are not seen in a message.
        const QChar::Category category = QChar::category(c);
        const bool shows =
            !(category >= QChar::Mark_NonSpacing && category <= QChar::Mark_Enclosing) &&
            !(category >= QChar::Separator_Space && category <= QChar::Other_NotAssigned);
        names << (shows ? QStringLiteral("„%1”").arg(QString::fromUcs4(&c, 1))
                        : QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper());
    }
    return names.join(QStringLiteral(", "));
}

} // namespace

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
                            int method, MessageService& messages, QObject* owner, Field* refused)
{
    if (name.isEmpty() || number.isEmpty()) {
        messages.ShowError(QStringLiteral("Nie wprowadzono wszystkich danych miernika."), owner);
        if (refused)
            *refused = name.isEmpty() ? Field::Name : Field::Number;
        return false;
    }
    const struct
    {
        Field field;
        const QString& text;
        const char* what;
    } fields[] = {{Field::Name, name, "Nazwa"}, {Field::Number, number, "Numer"}};
    for (const auto& f : fields) {
        const QString notHeld = MetFile::CharactersNotHeld(f.text.left(maxTextLength));
        if (notHeld.isEmpty())
            continue;
        messages.ShowError(
            QStringLiteral("%1 miernika zawiera znaki, których nie można zapisać w pliku "
                           ".met: %2.")
                .arg(QLatin1String(f.what), NamedCharacters(notHeld)),
            owner);
        if (refused)
            *refused = f.field;
        return false;
    }
    MeterCheckDoc& doc = session.document;
    doc.meterName = name.left(maxTextLength);
    doc.meterNumber = number.left(maxTextLength);
    if (method >= 0 && method < Methods().size())
        doc.method = CheckMethod(method);
    session.SetModified(true);
    return true;
}
