// SPDX-License-Identifier: MIT
// "Zasady laboratorium": what is typed reaches the settings and comes back, bad input is
// refused with a message and stays, and the database dialog opens it.
#include "Child.h"
#include "ModalHelper.h"
#include "RecordingMessageService.h"
#include "TestServices.h"

#include "core/lab/LabPolicy.h"
#include "ui/history/HistoryDatabaseDlg.h"
#include "ui/lab/LabPolicyDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestLabPolicyDlg : public QObject
{
    Q_OBJECT

    static QLineEdit* Edit(const LabPolicyDlg& dialog, const char* name)
    {
        return Child<QLineEdit>(dialog, name);
    }

private slots:
    void cleanup() { LabPolicy().SaveToSettings(); }

    void valuesKeptInTheSettings()
    {
        RecordingMessageService messages;
        {
            LabPolicyDlg dialog(messages);
            auto* rule = Child<QComboBox>(dialog, "ruleBox");
            QCOMPARE(rule->currentText(), "Prosta akceptacja");
            QCOMPARE(rule->count(), 3);
            QCOMPARE(Edit(dialog, "turThresholdEdit")->text(), "4");
            QCOMPARE(Edit(dialog, "dueOnEdit")->text(), "");
            rule->setCurrentIndex(2);
            Edit(dialog, "turThresholdEdit")->setText("3,5");
            Child<QCheckBox>(dialog, "appendixAlwaysBox")->setChecked(true);
            Edit(dialog, "serialEdit")->setText("R718-0042");
            Edit(dialog, "certificateEdit")->setText("AP-123/2026");
            Edit(dialog, "calibratedOnEdit")->setText("15.01.2026");
            Edit(dialog, "dueOnEdit")->setText("15.1.2027");
            dialog.accept();
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        LabPolicy expected;
        expected.rule = DecisionRule::NonBinary;
        expected.turThreshold = 3.5;
        expected.appendixAlways = true;
        expected.calibrator = {"R718-0042", "AP-123/2026", QDate(2026, 1, 15), QDate(2027, 1, 15)};
        QCOMPARE(LabPolicy::FromSettings(), expected);

        LabPolicyDlg again(messages);
        QCOMPARE(Child<QComboBox>(again, "ruleBox")->currentText(), "Stwierdzenie niebinarne");
        QCOMPARE(Edit(again, "turThresholdEdit")->text(), "3.5");
        QVERIFY(Child<QCheckBox>(again, "appendixAlwaysBox")->isChecked());
        QCOMPARE(Edit(again, "certificateEdit")->text(), "AP-123/2026");
        QCOMPARE(Edit(again, "dueOnEdit")->text(), "15.01.2027");
        QVERIFY(messages.messages.isEmpty());
    }

    void badInputRefusedAndKept()
    {
        RecordingMessageService messages;
        LabPolicyDlg dialog(messages);
        Child<QComboBox>(dialog, "ruleBox")->setCurrentIndex(1);
        Edit(dialog, "serialEdit")->setText("R718-0042");
        Edit(dialog, "calibratedOnEdit")->setText("15.01.2026");
        Edit(dialog, "dueOnEdit")->setText("14.01.2026");
        dialog.accept();
        QVERIFY(messages.OnlyError(
            "Termin następnego wzorcowania nie może być wcześniejszy niż data wzorcowania."));
        QVERIFY(dialog.result() != QDialog::Accepted);
        // Nothing typed is lost, nothing reached the settings.
        QCOMPARE(Edit(dialog, "dueOnEdit")->text(), "14.01.2026");
        QCOMPARE(Edit(dialog, "serialEdit")->text(), "R718-0042");
        QCOMPARE(Child<QComboBox>(dialog, "ruleBox")->currentIndex(), 1);
        QCOMPARE(LabPolicy::FromSettings(), LabPolicy());
    }

    void openedFromTheDatabaseDialog()
    {
        TestServices services;
        HistoryDatabaseDlg database(services.history, services.messages);
        bool opened = false;
        OnModal<LabPolicyDlg>(opened, [](LabPolicyDlg* dialog) { dialog->reject(); });
        Child<QPushButton>(database, "labPolicyButton")->click();
        QVERIFY(opened);
    }
};

QTEST_MAIN(TestLabPolicyDlg)
#include "tst_labpolicydlg.moc"
