// SPDX-License-Identifier: MIT
#include "core/transducer/TransducerForm.h"

#include <QRegularExpression>

#include <cmath>

namespace {

QString Number(double value)
{
    return QString::number(value, 'g', 12);
}

// The number in `text` ("," taken as the decimal point too); false when it is no number.
bool Read(const QString& text, double* value)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    *value = t.toDouble(&ok);
    return ok && std::isfinite(*value);
}

TransducerProblem NotANumber(TransducerField field)
{
    return {field,
            QStringLiteral("Pole „%1”: błędnie podana liczba.").arg(TransducerFieldName(field))};
}

} // namespace

TransducerForm TransducerForm::FromDoc(const TransducerDoc& doc)
{
    TransducerForm f;
    f.instrument = doc.instrument;
    f.calFunction = doc.input.calFunction;
    f.coldJunction = doc.input.coldJunction;
    f.referenceTemperature = Number(doc.input.referenceTemperature);
    f.leadResistance = doc.input.leadResistance;
    f.inputLower = Number(doc.input.lower);
    f.inputUpper = Number(doc.input.upper);
    f.measureRange = doc.output.measureRange;
    f.outputLower = Number(doc.output.lower);
    f.outputUpper = Number(doc.output.upper);
    f.transfer = doc.transfer;
    f.cutoff = Number(doc.lowFlowCutoffPercent);
    f.percentOfSpan = Number(doc.tolerance.percentOfSpan);
    f.percentOfReading = Number(doc.tolerance.percentOfReading);
    QStringList points;
    for (double p : doc.points)
        points << Number(p);
    f.points = points.join(QLatin1Char(' '));
    f.settlingSeconds = Number(doc.settlingSeconds);
    f.readings = QString::number(doc.readingsAveraged);
    return f;
}

TransducerProblem TransducerForm::ToDoc(TransducerDoc* doc) const
{
    TransducerDoc d = *doc;
    d.instrument = instrument;
    d.input.calFunction = calFunction;
    d.input.coldJunction = coldJunction;
    d.input.leadResistance = leadResistance.trimmed();
    d.output.measureRange = measureRange;
    d.transfer = transfer;
    const struct
    {
        const QString& text;
        double* value;
        TransducerField field;
        bool needed;
    } numbers[] = {
        {referenceTemperature, &d.input.referenceTemperature, TransducerField::ReferenceTemperature,
         coldJunction == ColdJunction::To},
        {inputLower, &d.input.lower, TransducerField::InputLower, true},
        {inputUpper, &d.input.upper, TransducerField::InputUpper, true},
        {outputLower, &d.output.lower, TransducerField::OutputLower, true},
        {outputUpper, &d.output.upper, TransducerField::OutputUpper, true},
        {cutoff, &d.lowFlowCutoffPercent, TransducerField::Cutoff,
         transfer == TransferFunction::SquareRoot},
        {percentOfSpan, &d.tolerance.percentOfSpan, TransducerField::TolerancePercentOfSpan, true},
        {percentOfReading, &d.tolerance.percentOfReading,
         TransducerField::TolerancePercentOfReading, !percentOfReading.trimmed().isEmpty()},
        {settlingSeconds, &d.settlingSeconds, TransducerField::SettlingTime, true},
    };
    for (const auto& n : numbers) {
        if (n.needed && !Read(n.text, n.value))
            return NotANumber(n.field);
    }
    if (percentOfReading.trimmed().isEmpty())
        d.tolerance.percentOfReading = 0;
    d.points.clear();
    for (const QString& word :
         points.split(QRegularExpression(QStringLiteral("[\\s;]+")), Qt::SkipEmptyParts)) {
        double p = 0;
        if (!Read(word, &p))
            return {TransducerField::Points,
                    QStringLiteral("Pole „Punkty”: „%1” nie jest liczbą.").arg(word)};
        d.points << p;
    }
    bool ok = false;
    d.readingsAveraged = readings.trimmed().toInt(&ok);
    if (!ok)
        return NotANumber(TransducerField::Readings);
    const TransducerProblem problem = CheckTransducer(d);
    if (problem.IsNone())
        *doc = d;
    return problem;
}
