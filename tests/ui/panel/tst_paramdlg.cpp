// SPDX-License-Identifier: MIT
#include "Child.h"
#include "DataRows.h"
#include "RecordingMessageService.h"
#include "ui/panel/CParamDlg.h"
#include "ui/panel/DialogParamPrompt.h"
#include "core/panel/ParamCheck.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

// The parameter dialog: what it accepts, its three messages, and that it stays open with an
// empty edit on a refused text.
class TestParamDlg : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

private slots:
    void checks_data();
    void checks();
    void rangeMessageRoundsTheLimits();
    void dialogRefusesThenAccepts();
    void dialogShowsCaptionAndUnit();
    void promptGivesNothingOnCancel();
};

void TestParamDlg::checks_data()
{
    DataColumns<QString, double, double>("typed", "low", "high");
    QTest::addColumn<QString>("accepted"); // empty: refused
    QTest::addColumn<QString>("message");

    const QString empty = QStringLiteral("Nie podano wartości parametru.");
    const QString bad = QStringLiteral("Wartość parametru zawiera błędne znaki.");
    DataRow("To 60,0 with a comma", "60,0", 0.0, 60.0, "60.0", "");
    DataRow("To 61 out of range", "61", 0.0, 60.0, "",
            QStringLiteral("Wartość parametru może mieścić się w zakresie od 0 do 60."));
    DataRow("t 0 below 1", "0", 1.0, 99.0, "",
            QStringLiteral("Wartość parametru może mieścić się w zakresie od 1 do 99."));
    DataRow("minus sign", "-1", 0.0, 50.0, "", bad);
    DataRow("letters", "2a", 0.0, 50.0, "", bad);
    DataRow("blank inside", "2 5", 0.0, 50.0, "", bad);
    DataRow("empty", "", 0.0, 50.0, "", empty);
    DataRow("two points", "1.2.3", 0.0, 50.0, "", bad);
    DataRow("point alone", ".", 0.0, 50.0, "", bad);
    DataRow("lower limit itself", "1", 1.0, 99.0, "1", "");
    DataRow("upper limit itself", "50.00", 0.0, 50.0, "50.00", "");
    DataRow("leading point", ".5", 0.0, 50.0, ".5", "");
    DataRow("text kept as typed", "24.50", 0.0, 50.0, "24.50", "");
}

void TestParamDlg::checks()
{
    QFETCH(QString, typed);
    QFETCH(double, low);
    QFETCH(double, high);
    QFETCH(QString, accepted);
    QFETCH(QString, message);
    const ParamCheckResult r = CheckParamText(typed, low, high);
    QCOMPARE(r.accepted, !accepted.isEmpty());
    QCOMPARE(r.text, accepted);
    QCOMPARE(r.error, message);
}

void TestParamDlg::rangeMessageRoundsTheLimits()
{
    QCOMPARE(ParamMessages::OutOfRange(0, 2.75),
             QStringLiteral("Wartość parametru może mieścić się w zakresie od 0 do 3."));
    QCOMPARE(ParamMessages::OutOfRange(0, 13.2),
             QStringLiteral("Wartość parametru może mieścić się w zakresie od 0 do 13."));
    QCOMPARE(CheckParamText(QStringLiteral("3"), 0, 2.75).error,
             QStringLiteral("Wartość parametru może mieścić się w zakresie od 0 do 3."));
}

void TestParamDlg::dialogRefusesThenAccepts()
{
    RecordingMessageService messages;
    CParamDlg dlg(messages);
    dlg.paramCaption = QStringLiteral("To = ");
    dlg.paramUnit = QStringLiteral("°C");
    dlg.paramLow = 0;
    dlg.paramHigh = 60;
    dlg.paramInitial = QStringLiteral("0.0");

    QStringList steps = {QString(), QStringLiteral("-1"), QStringLiteral("61"),
                         QStringLiteral("60,0")};
    QStringList editAfterRefusal;
    QTimer driver;
    driver.setInterval(5);
    connect(&driver, &QTimer::timeout, &dlg, [&] {
        if (!dlg.isVisible() || steps.isEmpty())
            return;
        Child<QLineEdit>(dlg, "valueEdit")->setText(steps.takeFirst());
        dlg.accept();
        if (dlg.isVisible())
            editAfterRefusal << Child<QLineEdit>(dlg, "valueEdit")->text();
    });
    driver.start();
    auto guard = qScopeGuard([&] { dlg.reject(); });
    QCOMPARE(dlg.exec(), int(QDialog::Accepted));
    guard.dismiss();

    QCOMPARE(dlg.paramText, QStringLiteral("60.0"));
    QCOMPARE(
        messages.Texts(),
        QStringList({QStringLiteral("Nie podano wartości parametru."),
                     QStringLiteral("Wartość parametru zawiera błędne znaki."),
                     QStringLiteral("Wartość parametru może mieścić się w zakresie od 0 do 60.")}));
    for (int i = 0; i < messages.messages.size(); ++i)
        QVERIFY(messages.IsErrorBox(i));
    QCOMPARE(editAfterRefusal, QStringList({QString(), QString(), QString()}));
}

void TestParamDlg::dialogShowsCaptionAndUnit()
{
    CParamDlg dlg(log);
    dlg.paramCaption = QStringLiteral("t (AVR) = ");
    dlg.paramUnit = QStringLiteral("s");
    dlg.paramLow = 1;
    dlg.paramHigh = 99;
    QStringList labels;
    QTimer::singleShot(0, &dlg, [&] {
        for (QLabel* label : dlg.findChildren<QLabel*>())
            labels << label->text();
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Wprowadzanie wartości parametru"));
        QVERIFY(Child<QLineEdit>(dlg, "valueEdit")->text().isEmpty());
        dlg.reject();
    });
    QCOMPARE(dlg.exec(), int(QDialog::Rejected));
    QVERIFY(labels.contains(QStringLiteral("t (AVR) = ")));
    QVERIFY(labels.contains(QStringLiteral("s")));
}

void TestParamDlg::promptGivesNothingOnCancel()
{
    DialogParamPrompt prompt(log);
    std::optional<QString> answer = QStringLiteral("unset");
    QTimer::singleShot(0, [] {
        if (auto* dlg = qobject_cast<CParamDlg*>(QApplication::activeModalWidget()))
            dlg->reject();
    });
    const auto keep = [&answer](const std::optional<QString>& accepted) { answer = accepted; };
    prompt.Ask({QStringLiteral("RL = "), QStringLiteral("Ohm"), 0, 50, QStringLiteral("0.00")},
               keep);
    QVERIFY(!answer.has_value());

    QTimer::singleShot(0, [] {
        if (auto* dlg = qobject_cast<CParamDlg*>(QApplication::activeModalWidget())) {
            Child<QLineEdit>(dlg, "valueEdit")->setText(QStringLiteral("24,5"));
            dlg->accept();
        }
    });
    prompt.Ask({QStringLiteral("RL = "), QStringLiteral("Ohm"), 0, 50, QStringLiteral("0.00")},
               keep);
    QCOMPARE(answer.value_or(QString()), QStringLiteral("24.5"));
}

QTEST_MAIN(TestParamDlg)
#include "tst_paramdlg.moc"
