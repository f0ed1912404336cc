// SPDX-License-Identifier: MIT
// The measurement dialogs' logic: the exact-setting dialog's typed indication, the
// exact-reading dialog's output control from any start value and any calibrator function,
// the meter-data dialog's name and number.

#include "FuzzSupport.h"
#include "RecordingCommandSender.h"
#include "RecordingMessageService.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/NumberText.h"
#include "core/metercheck/entry/MeterDataEntry.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/run/ExactReadingControl.h"
#include "core/metercheck/run/ExactSettingEntry.h"
#include "core/metercheck/run/FieldText.h"

#include <QRegularExpression>

#include <cmath>

namespace {

using FuzzSupport::Quoted;

bool NoSpecials(const QString& text)
{
    return !text.contains(QLatin1String("nan")) && !text.contains(QLatin1String("inf"));
}

void ExactSetting(FuzzSupport::Bytes& in)
{
    const QString earlier = in.Text();
    std::optional<QString> reading = earlier; // what the dialog hands back so far
    const QString typed = in.Text();
    const auto outcome = ExactSettingEntry::Confirm(typed, reading);
    const QString where = Quoted(typed) + QStringLiteral(" gave ") + Quoted(reading.value_or("-"));
    FUZZ_CHECK(reading.has_value(), where);
    switch (outcome) {
    case ExactSettingEntry::Outcome::Kept:
        FUZZ_CHECK(typed.isEmpty() && *reading == earlier, where);
        break;
    case ExactSettingEntry::Outcome::Refused:
        FUZZ_CHECK(!typed.isEmpty() && reading->isEmpty(), where);
        break;
    case ExactSettingEntry::Outcome::Stored: {
        // The reading fits its field and is the number typed, as far as the field allows.
        FUZZ_CHECK(!reading->isEmpty() && reading->size() <= pointValueChars, where);
        FUZZ_CHECK(NoSpecials(*reading), where);
        QString t = typed;
        t.replace(QLatin1Char(','), QLatin1Char('.'));
        const double v = ParseNumber(t);
        const double stored = ParseNumber(*reading);
        FUZZ_CHECK(std::isfinite(stored), where);
        FUZZ_CHECK(std::fabs(stored - v) <= std::max(0.5, std::fabs(v) * 0.5), where);
        static const QRegularExpression number(QStringLiteral("^-?(\\d+\\.?\\d*|\\.\\d+)$"));
        FUZZ_CHECK(number.match(t).hasMatch(), where);
        break;
    }
    }
}

void ExactReading(FuzzSupport::Bytes& in)
{
    const uint8_t f = in.Byte();
    const int function = f < 200 ? f % calFunctionCount : int(int8_t(f));
    RecordingCommandSender sender;
    const QString start = f & 1 ? in.Text() : FormatFixed(in.RawDouble(), in.Byte() % 6);
    ExactReadingControl control(function, start, sender);
    double low = 0;
    double high = 0;
    if (CalFunctions::IsValid(function)) {
        low = CalFunctionTable[function].lowLimit;
        high = CalFunctionTable[function].highLimit;
    }
    const int decimals = control.Decimals();
    FUZZ_CHECK(decimals >= 1 && decimals <= 4, QString::number(decimals));
    for (int step = 0; step < 24 && !in.AtEnd(); ++step) {
        const uint8_t action = in.Byte();
        const double before = control.OutputValue();
        const qsizetype sentBefore = sender.sent.size();
        const QString where = QStringLiteral("function %1, start %2, step %3, action %4, output %5")
                                  .arg(function)
                                  .arg(Quoted(start))
                                  .arg(step)
                                  .arg(action % 6)
                                  .arg(before, 0, 'g', 17);
        bool sends = true;
        bool taken = false;
        switch (action % 6) {
        case 0:
            control.SelectDigit(int(int8_t(in.Byte())));
            FUZZ_CHECK(control.DigitPosition() >= 1 && control.DigitPosition() <= 5, where);
            sends = false;
            break;
        case 1:
            taken = control.StepUp();
            break;
        case 2:
            taken = control.StepDown();
            break;
        case 3:
            control.KeyDown(int(in.U32()));
            break;
        case 4:
            taken = control.ToggleSign();
            sends = taken;
            break;
        default:
            control.SendOutput();
            break;
        }
        const double after = control.OutputValue();
        FUZZ_CHECK(std::isfinite(after) || !std::isfinite(before), where);
        // A step that was taken stays within the calibrator's limits.
        if (taken && (action % 6 == 1 || action % 6 == 2))
            FUZZ_CHECK(after >= low && after <= high, where);
        if (!taken && (action % 6 == 1 || action % 6 == 2 || action % 6 == 4))
            FUZZ_CHECK(after == before, where);
        FUZZ_CHECK(sender.sent.size() == sentBefore + (sends ? 1 : 0), where);
        if (sends) {
            const QString command = sender.sent.last();
            FUZZ_CHECK(command == control.OutputCommand(), where);
            FUZZ_CHECK(command.startsWith(QLatin1Char('N')) && NoSpecials(command), where);
            for (QChar c : command.mid(1))
                FUZZ_CHECK((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
                               c == QLatin1Char('.') || c == QLatin1Char('-'),
                           where + QStringLiteral(" sent ") + Quoted(command.left(60)));
        }
        FUZZ_CHECK(!control.MagnitudeText().contains(QLatin1Char('-')) &&
                       NoSpecials(control.MagnitudeText()),
                   where);
        const QString setting = control.SettingText();
        FUZZ_CHECK(setting.size() <= pointValueChars && NoSpecials(setting),
                   where + QStringLiteral(" setting ") + Quoted(setting));
        FUZZ_CHECK(ExactReadingControl::DigitButtonX(int(int8_t(action)), int(int8_t(action))) >=
                       48,
                   where);
    }
}

void MeterData(FuzzSupport::Bytes& in)
{
    RecordingMessageService messages;
    MeterCheckSession session;
    const MeterCheckDoc& doc = session.document;
    const QString name = in.Text();
    const QString number = in.Text();
    const int method = int(int8_t(in.Byte())) % 4;
    const bool accepted = MeterDataEntry::Accept(session, name, number, method, messages);
    const QString where = Quoted(name) + QLatin1Char(' ') + Quoted(number);
    FUZZ_CHECK(accepted == (!name.isEmpty() && !number.isEmpty()), where);
    if (!accepted) {
        FUZZ_CHECK(messages.Texts() ==
                       QStringList{QStringLiteral("Nie wprowadzono wszystkich danych miernika.")},
                   where);
        return;
    }
    FUZZ_CHECK(doc.meterName.size() <= MeterDataEntry::maxTextLength &&
                   doc.meterNumber.size() <= MeterDataEntry::maxTextLength,
               where);
    FUZZ_CHECK(doc.method == (method == 1 ? CheckMethod::ExactReading : CheckMethod::ExactSetting),
               where);
    // The file keeps them: at most 20 characters always fit its fields of 30 bytes.
    const QByteArray image = MetFile::PackDocument(session);
    FUZZ_CHECK(MetFile::UnpackDocument(session, image), where);
    FUZZ_CHECK(doc.meterName.size() <= MeterDataEntry::maxTextLength &&
                   doc.meterNumber.size() <= MeterDataEntry::maxTextLength,
               where);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzSupport::EnsureApplication();
    FuzzSupport::Bytes in(data, size);
    switch (in.Byte() % 3) {
    case 0:
        ExactSetting(in);
        break;
    case 1:
        ExactReading(in);
        break;
    default:
        MeterData(in);
        break;
    }
    return 0;
}
