// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/ColdJunction.h"

#include <QList>
#include <QString>
#include <QStringList>

enum class SourceFamily
{
    Range,
    Thermocouple,
    Rtd
};

// One selectable source range or sensor of the control panel.
struct SourceRange
{
    QString name;   // table name, or the sensor's list text
    QString format; // zero text put in the readout and the step-size captions
    QString unit;
    double max = 0;
    double min = 0;
    int decimals = 0;
    SourceFamily family = SourceFamily::Range;
    QStringList codes; // one selection code; thermocouples: for Tex, Tin and To
};

const QList<SourceRange>& SourceRangeTable();
// The row of that name, or nullptr.
const SourceRange* FindSourceRange(const QString& name);

// The sensor lists of both halves, in list order.
const QStringList& ThermocoupleNames();
const QStringList& RtdNames();

// The range radios of the source half in the order of the controls, with their captions.
struct SourceRadio
{
    QString name;    // table name
    QString caption; // e.g. "50 mV"
};
const QList<SourceRadio>& SourceRadios();

// The commands of a selection, in order: the range code, the zero set-point, and for a
// thermocouple with the To junction "T" + the reference temperature, for a resistance
// thermometer with lead-resistance compensation "R" + the lead resistance.
QStringList SourceSelectionCommands(const SourceRange& row, ColdJunction coldJunction,
                                    double toValue, bool rlOn, double rl);
