// SPDX-License-Identifier: MIT
#include "ui/lab/LabPolicyDlg.h"

#include "core/base/MessageService.h"
#include "ui/base/DialogButtons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

constexpr int maxTextLength = 60;

QLineEdit* Edit(const QString& text, const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxTextLength);
    return edit;
}

QLineEdit* DateEdit(const QString& text, const char* name, QWidget* parent)
{
    QLineEdit* edit = Edit(text, name, parent);
    edit->setPlaceholderText(QStringLiteral("dd.mm.rrrr"));
    return edit;
}

QLabel* Note(const QString& text, QWidget* parent)
{
    auto* note = new QLabel(text, parent);
    note->setWordWrap(true);
    return note;
}

} // namespace

LabPolicyDlg::LabPolicyDlg(MessageService& messages, QWidget* parent)
    : QDialog(parent), messages(messages)
{
    setWindowTitle(QStringLiteral("Zasady laboratorium"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    const LabPolicyForm current = LabPolicyForm::Of(LabPolicy::FromSettings());

    auto* rules = new QGroupBox(QStringLiteral("Stwierdzenie zgodności"), this);
    ruleBox = new QComboBox(rules);
    ruleBox->setObjectName(QStringLiteral("ruleBox"));
    for (DecisionRule rule :
         {DecisionRule::SimpleAcceptance, DecisionRule::GuardBand, DecisionRule::NonBinary})
        ruleBox->addItem(DecisionRuleText(rule), int(rule));
    ruleBox->setCurrentIndex(ruleBox->findData(int(current.rule)));
    turThresholdEdit = Edit(current.turThreshold, "turThresholdEdit", rules);
    appendixAlwaysBox = new QCheckBox(
        QStringLiteral("Drukuj załącznik do protokołu także przy prostej &akceptacji"), rules);
    appendixAlwaysBox->setObjectName(QStringLiteral("appendixAlwaysBox"));
    appendixAlwaysBox->setChecked(current.appendixAlways);
    auto* rulesForm = new QFormLayout(rules);
    rulesForm->addRow(QStringLiteral("&Zasada decyzyjna:"), ruleBox);
    rulesForm->addRow(QStringLiteral("&Próg TUR:"), turThresholdEdit);
    rulesForm->addRow(appendixAlwaysBox);
    rulesForm->addRow(Note(QStringLiteral("Przy paśmie ochronnym i stwierdzeniu niebinarnym "
                                          "załącznik jest drukowany zawsze. Punkty o TUR "
                                          "mniejszym od progu są oznaczane."),
                           rules));

    auto* calibrator = new QGroupBox(QStringLiteral("Kalibrator"), this);
    serialEdit = Edit(current.serialNumber, "serialEdit", calibrator);
    certificateEdit = Edit(current.certificateNumber, "certificateEdit", calibrator);
    calibratedOnEdit = DateEdit(current.calibratedOn, "calibratedOnEdit", calibrator);
    dueOnEdit = DateEdit(current.dueOn, "dueOnEdit", calibrator);
    auto* calibratorForm = new QFormLayout(calibrator);
    calibratorForm->addRow(QStringLiteral("&Numer fabryczny:"), serialEdit);
    calibratorForm->addRow(QStringLiteral("Numer ś&wiadectwa wzorcowania:"), certificateEdit);
    calibratorForm->addRow(QStringLiteral("&Data wzorcowania:"), calibratedOnEdit);
    calibratorForm->addRow(QStringLiteral("&Termin następnego wzorcowania:"), dueOnEdit);
    calibratorForm->addRow(Note(QStringLiteral("Daty w postaci dd.mm.rrrr; pole puste: nie "
                                               "podano. Pomiary rozpoczynane po terminie "
                                               "wzorcowania wymagają potwierdzenia."),
                                calibrator));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rules);
    layout->addWidget(calibrator);
    layout->addWidget(OkCancelButtons(this));
    // The notes wrap: their height is the one they need at the dialog's width.
    resize(480, layout->totalHeightForWidth(480));
}

LabPolicyForm LabPolicyDlg::Form() const
{
    LabPolicyForm form;
    form.rule = DecisionRuleFromNumber(ruleBox->currentData().toInt());
    form.turThreshold = turThresholdEdit->text();
    form.appendixAlways = appendixAlwaysBox->isChecked();
    form.serialNumber = serialEdit->text();
    form.certificateNumber = certificateEdit->text();
    form.calibratedOn = calibratedOnEdit->text();
    form.dueOn = dueOnEdit->text();
    return form;
}

void LabPolicyDlg::accept()
{
    const LabPolicyReading reading = ReadLabPolicyForm(Form());
    if (!reading.policy) {
        messages.ShowError(reading.refusal, this);
        using Field = LabPolicyReading::Field;
        QLineEdit* wrong = reading.field == Field::TurThreshold   ? turThresholdEdit
                           : reading.field == Field::CalibratedOn ? calibratedOnEdit
                                                                  : dueOnEdit;
        wrong->setFocus();
        wrong->selectAll();
        return;
    }
    reading.policy->SaveToSettings();
    QDialog::accept();
}

void ShowLabPolicyDialog(MessageService& messages, QWidget* parent)
{
    LabPolicyDlg dialog(messages, parent);
    dialog.exec();
}
