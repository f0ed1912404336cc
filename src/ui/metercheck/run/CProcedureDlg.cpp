// SPDX-License-Identifier: MIT
#include "ui/metercheck/run/CProcedureDlg.h"

#include "ui/base/DialogButtons.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QGroupBox* ChoiceGroup(const QString& title, QRadioButton* first, QRadioButton* second)
{
    auto* group = new QGroupBox(title);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(first);
    layout->addWidget(second);
    return group;
}

} // namespace

CProcedureDlg::CProcedureDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Procedura pomiarowa"));
    currentRangeButton = new QRadioButton(QStringLiteral("bieżący zakres"));
    allRangesButton = new QRadioButton(QStringLiteral("wszystkie zakresy"));
    markedPointsButton = new QRadioButton(QStringLiteral("zaznaczone"));
    allPointsButton = new QRadioButton(QStringLiteral("wszystkie"));
    currentRangeButton->setObjectName(QStringLiteral("currentRangeButton"));
    allRangesButton->setObjectName(QStringLiteral("allRangesButton"));
    markedPointsButton->setObjectName(QStringLiteral("markedPointsButton"));
    allPointsButton->setObjectName(QStringLiteral("allPointsButton"));
    currentRangeButton->setChecked(true);
    markedPointsButton->setChecked(true);

    auto* groups = new QHBoxLayout;
    groups->addWidget(
        ChoiceGroup(QStringLiteral("Zakresy pomiarowe"), currentRangeButton, allRangesButton));
    groups->addWidget(
        ChoiceGroup(QStringLiteral("Punkty pomiarowe"), markedPointsButton, allPointsButton));

    auto* buttons = OkCancelButtons(this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
}

RangeScope CProcedureDlg::RangeScope() const
{
    return allRangesButton->isChecked() ? RangeScope::All : RangeScope::Current;
}

PointScope CProcedureDlg::PointScope() const
{
    return allPointsButton->isChecked() ? PointScope::All : PointScope::Marked;
}
