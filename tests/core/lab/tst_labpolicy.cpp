// SPDX-License-Identifier: MIT
// The lab's policy dialog's fields read into a policy or refused, and the question a run asks
// when the calibrator is past its due date.
#include "DataRows.h"
#include "RecordingMessageService.h"

#include "core/lab/CalibratorDue.h"
#include "core/lab/LabPolicyForm.h"

#include <QTest>

Q_DECLARE_METATYPE(LabPolicyReading::Field)
Q_DECLARE_METATYPE(MessageAnswer)
Q_DECLARE_METATYPE(CalibratorGoAhead)

class TestLabPolicy : public QObject
{
    Q_OBJECT

    static LabPolicy Sample()
    {
        LabPolicy p;
        p.rule = DecisionRule::NonBinary;
        p.turThreshold = 3.5;
        p.appendixAlways = true;
        p.calibrator = {"R718-0042", "AP-123/2026", QDate(2026, 1, 15), QDate(2027, 1, 15)};
        return p;
    }

private slots:
    void fieldsAsTyped()
    {
        LabPolicyForm form = LabPolicyForm::Of(Sample());
        QCOMPARE(form.calibratedOn, "15.01.2026");
        QCOMPARE(form.turThreshold, "3.5");
        form.turThreshold = " 4,5 ";
        form.calibratedOn = "5.3.2026";
        form.serialNumber = "  R718-7 ";
        const LabPolicyReading read = ReadLabPolicyForm(form);
        QVERIFY(read.policy);
        QCOMPARE(read.policy->turThreshold, 4.5);
        QCOMPARE(read.policy->calibrator.calibratedOn, QDate(2026, 3, 5));
        QCOMPARE(read.policy->calibrator.serialNumber, "R718-7");
    }

    void badFieldsRefused_data()
    {
        using F = LabPolicyReading::Field;
        DataColumns<QString, QString, QString, F, QString>("threshold", "calibratedOn", "dueOn",
                                                           "field", "refusal");
        const QString threshold =
            "Podaj próg TUR: liczbę większą od 0 i nie większą niż 100, np. 4.";
        const QString calibrated = "Podaj datę wzorcowania kalibratora w postaci dd.mm.rrrr "
                                   "(np. 15.01.2026) albo zostaw pole puste.";
        const QString due = "Podaj termin następnego wzorcowania w postaci dd.mm.rrrr "
                            "(np. 15.01.2027) albo zostaw pole puste.";
        DataRow("threshold empty", "", "", "", F::TurThreshold, threshold);
        DataRow("threshold zero", "0", "", "", F::TurThreshold, threshold);
        DataRow("threshold with a letter", "4x", "", "", F::TurThreshold, threshold);
        DataRow("threshold over 100", "101", "", "", F::TurThreshold, threshold);
        DataRow("no 31st of February", "4", "31.02.2026", "", F::CalibratedOn, calibrated);
        DataRow("date in another form", "4", "2026-01-15", "", F::CalibratedOn, calibrated);
        DataRow("due month 13", "4", "15.01.2026", "15.13.2027", F::DueOn, due);
        DataRow("due before calibration", "4", "15.01.2026", "14.01.2026", F::DueOn,
                QString("Termin następnego wzorcowania nie może być wcześniejszy niż data "
                        "wzorcowania."));
    }
    void badFieldsRefused()
    {
        QFETCH(QString, threshold);
        QFETCH(QString, calibratedOn);
        QFETCH(QString, dueOn);
        QFETCH(LabPolicyReading::Field, field);
        QFETCH(QString, refusal);
        LabPolicyForm form = LabPolicyForm::Of(LabPolicy());
        form.turThreshold = threshold;
        form.calibratedOn = calibratedOn;
        form.dueOn = dueOn;
        const LabPolicyReading read = ReadLabPolicyForm(form);
        QVERIFY(!read.policy);
        QCOMPARE(read.field, field);
        QCOMPARE(read.refusal, refusal);
    }

    void overdueCalibratorAsked_data()
    {
        DataColumns<QDate, QList<MessageAnswer>, CalibratorGoAhead, int>("dueOn", "answers",
                                                                         "expected", "asked");
        const QDate today(2026, 6, 10);
        using G = CalibratorGoAhead;
        const QList<MessageAnswer> none;
        DataRow("no due date", QDate(), none, G::InDate, 0);
        DataRow("due today", today, none, G::InDate, 0);
        DataRow("due yesterday, go on", today.addDays(-1), QList{MessageAnswer::Yes},
                G::OverdueGoOn, 1);
        DataRow("due yesterday, stop", today.addDays(-1), QList{MessageAnswer::No}, G::Stop, 1);
        DataRow("box closed", today.addDays(-1), QList{MessageAnswer::Cancel}, G::Stop, 1);
    }
    void overdueCalibratorAsked()
    {
        QFETCH(QDate, dueOn);
        QFETCH(QList<MessageAnswer>, answers);
        QFETCH(CalibratorGoAhead, expected);
        QFETCH(int, asked);
        RecordingMessageService messages;
        messages.answers = answers;
        CalibratorTraceability calibrator = Sample().calibrator;
        calibrator.dueOn = dueOn;
        QCOMPARE(AskAboutOverdueCalibrator(calibrator, QDate(2026, 6, 10), messages), expected);
        QCOMPARE(messages.messages.size(), asked);
        if (asked) {
            QCOMPARE(messages.messages[0].text,
                     "Termin wzorcowania kalibratora upłynął 09.06.2026 (świadectwo wzorcowania "
                     "nr AP-123/2026).\nCzy mimo to rozpocząć pomiary?");
            QCOMPARE(messages.messages[0].caption, "Wzorcowanie kalibratora");
            QCOMPARE(messages.messages[0].buttons, MessageButtons::YesNo);
        }
    }
};

QTEST_GUILESS_MAIN(TestLabPolicy)
#include "tst_labpolicy.moc"
