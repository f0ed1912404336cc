// SPDX-License-Identifier: MIT
#include "Child.h"
#include "ModalHelper.h"
#include "RecordingCommandSender.h"
#include "core/base/MessageService.h"
#include "ui/base/DialogUnits.h"
#include "ui/controls/ColorButton.h"
#include "ui/controls/OptionButton.h"
#include "ui/controls/ToggleButton.h"
#include "ui/panel/CMeterDisplay.h"
#include "ui/panel/CParamDlg.h"
#include "ui/panel/MeterHalf.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <memory>

// The measure half as the panel holds it: placed in a window, driven by clicks, with the
// real parameter dialog and the real averaging timer.
class TestMeterHalf : public QObject
{
    Q_OBJECT

    LogMessageService log; // where a case records no messages, they go to the log

    RecordingCommandSender sender;
    std::unique_ptr<QWidget> panel;
    MeterHalf* half = nullptr;

    template <typename T> T* Child(const char* name) { return ::Child<T>(half, name); }
    QString Field(const char* name) { return Child<QLabel>(name)->text(); }
    QStringList Fields()
    {
        return {Field("meterMin"), Field("meterMax"), Field("meterSpread"), Field("meterAverage")};
    }
    void Poll(const QString& reply)
    {
        sender.replies << reply;
        half->Poll();
    }
    // Answers the parameter dialog that the next click opens; an empty text cancels it.
    void AnswerParamDialog(const QString& text, QString* caption = nullptr)
    {
        OnModal<CParamDlg>(paramDialogSeen, [text, caption](CParamDlg* dialog) {
            if (caption)
                *caption = dialog->paramCaption;
            if (text.isEmpty()) {
                dialog->reject();
            } else {
                ::Child<QLineEdit>(dialog, "valueEdit")->setText(text);
                dialog->accept();
            }
        });
    }
    bool paramDialogSeen = false;
    // The rectangle of a control in the panel's coordinates.
    QRect InPanel(QWidget* w) { return QRect(w->mapTo(panel.get(), QPoint(0, 0)), w->size()); }

private slots:
    void init()
    {
        sender = RecordingCommandSender();
        panel = std::make_unique<QWidget>();
        panel->resize(DialogUnits::Size(530, 338));
        half = new MeterHalf(panel.get(), sender, log);
        half->Open();
        panel->show();
    }
    void cleanup() { panel.reset(); }

    void opensAt25VWithoutCommands()
    {
        QCOMPARE(sender.sent, QStringList());
        const ReadoutContent shown = Child<CMeterDisplay>("meterDisplay")->Shown();
        QCOMPARE(shown.valueText, QStringLiteral("0.000"));
        QCOMPARE(shown.rangeName, QStringLiteral("25V"));
        QCOMPARE(shown.unit, QStringLiteral("V"));
        QCOMPARE(shown.statusWord, QString());
        QVERIFY(Child<QRadioButton>("meterRange_25V")->isChecked());
        QVERIFY(Child<OptionButton>("meterFamilyRange")->isChecked());
        QVERIFY(Child<QRadioButton>("meterRange_25V")->isEnabled());
        QVERIFY(!Child<QComboBox>("meterThermocouples")->isEnabled());
        QVERIFY(!Child<QComboBox>("meterRtds")->isEnabled());
        QVERIFY(!Child<QCheckBox>("meterRlBox")->isEnabled());
        QVERIFY(!Child<ColorButton>("meterRlButton")->isEnabled());
        QVERIFY(!Child<ToggleButton>("meterHold")->isPressed());
        QCOMPARE(Child<QAbstractButton>("meterAvgButton")->text(), QStringLiteral("10"));
        QCOMPARE(Child<QAbstractButton>("meterRlButton")->text(), QStringLiteral("0.00"));
        QCOMPARE(Fields(), QStringList({"0.000", "0.000", "0.000", "0.000"}));
    }

    void placedAndColouredAsThePanelHalf()
    {
        QCOMPARE(InPanel(Child<QLabel>("meterHeading")), DialogUnits::Rect(7, 6, 240, 16));
        QCOMPARE(InPanel(Child<CMeterDisplay>("meterDisplay")),
                 DialogUnits::Rect(21, 155, 212, 64));
        QCOMPARE(InPanel(Child<ToggleButton>("meterHold")), DialogUnits::Rect(104, 234, 50, 16));
        QCOMPARE(InPanel(Child<QLabel>("meterAverage")), DialogUnits::Rect(113, 266, 63, 20));
        QCOMPARE(InPanel(Child<QLabel>("meterMax")), DialogUnits::Rect(47, 303, 37, 14));
        QCOMPARE(InPanel(Child<QLabel>("meterMin")), DialogUnits::Rect(124, 303, 37, 14));
        QCOMPARE(InPanel(Child<QLabel>("meterSpread")), DialogUnits::Rect(196, 303, 37, 14));
        QCOMPARE(InPanel(Child<ColorButton>("meterReset")), DialogUnits::Rect(201, 269, 32, 16));
        QCOMPARE(InPanel(Child<ColorButton>("meterAvgButton")), DialogUnits::Rect(45, 270, 17, 16));
        QCOMPARE(InPanel(Child<OptionButton>("meterFamilyTc")), DialogUnits::Rect(11, 69, 40, 13));

        const QPalette heading = Child<QLabel>("meterHeading")->palette();
        QCOMPARE(heading.color(QPalette::Window), QColor(128, 255, 255));
        QCOMPARE(heading.color(QPalette::WindowText), QColor(2, 62, 200));
        QVERIFY(Child<QLabel>("meterHeading")->font().bold());
        QCOMPARE(Child<OptionButton>("meterFamilyRtd")->backColor(), QColor(128, 255, 255));
        QCOMPARE(Child<OptionButton>("meterFamilyRtd")->textColor(), QColor(0, 0, 255));
        QCOMPARE(Child<ToggleButton>("meterHold")->backColor(), QColor(214, 213, 192));
        QCOMPARE(Child<ColorButton>("meterReset")->backColor(), QColor(214, 213, 192));
        QCOMPARE(Child<ColorButton>("meterAvgButton")->backColor(), QColor(204, 232, 255));
        QCOMPARE(Child<ColorButton>("meterRlButton")->backColor(), QColor(204, 232, 255));
        QVERIFY(Child<QLabel>("meterMax")->alignment() & Qt::AlignRight);
    }

    void rangeClickSelectsAndClearsStatistics()
    {
        Poll(QStringLiteral("P3.000%"));
        Child<ColorButton>("meterReset")->click();
        Poll(QStringLiteral("P4.000%"));
        QCOMPARE(Fields(), QStringList({"3.000", "4.000", "1.000", "0.000"}));

        QTest::mouseClick(Child<QRadioButton>("meterRange_500mV"), Qt::LeftButton);
        QCOMPARE(sender.sent.last(), QStringLiteral("M02"));
        QCOMPARE(Fields(), QStringList({"0.00", "0.00", "0.00", "0.00"}));
        QCOMPARE(Child<CMeterDisplay>("meterDisplay")->Shown().valueText, QStringLiteral("0.00"));
        QCOMPARE(Child<CMeterDisplay>("meterDisplay")->Shown().rangeName, QStringLiteral("500mV"));

        Poll(QStringLiteral("P-12.345%"));
        QCOMPARE(Child<CMeterDisplay>("meterDisplay")->Shown().valueText, QStringLiteral("12.35"));
        QVERIFY(!Child<CMeterDisplay>("meterDisplay")->Shown().positive);
        QCOMPARE(Fields(), QStringList({"0.00", "0.00", "0.00", "0.00"}));
    }

    void familiesEnableTheirControls()
    {
        QTest::mouseClick(Child<OptionButton>("meterFamilyTc"), Qt::LeftButton);
        QCOMPARE(sender.TakeSent(), QStringList({"M43"}));
        QVERIFY(Child<QComboBox>("meterThermocouples")->isEnabled());
        QVERIFY(!Child<QRadioButton>("meterRange_2V")->isEnabled());
        QCOMPARE(Child<CMeterDisplay>("meterDisplay")->Shown().rangeName,
                 QStringLiteral("R (PtRh13-Pt)"));
        QCOMPARE(Child<CMeterDisplay>("meterDisplay")->Shown().unit, QStringLiteral("°C"));

        QTest::mouseClick(Child<OptionButton>("meterFamilyRtd"), Qt::LeftButton);
        QCOMPARE(sender.TakeSent(), QStringList({"M82"}));
        QVERIFY(!Child<QComboBox>("meterThermocouples")->isEnabled());
        QVERIFY(Child<QComboBox>("meterRtds")->isEnabled());
        QVERIFY(Child<QCheckBox>("meterRlBox")->isEnabled());
        QVERIFY(!Child<ColorButton>("meterRlButton")->isEnabled());

        QTest::mouseClick(Child<QCheckBox>("meterRlBox"), Qt::LeftButton);
        QCOMPARE(sender.TakeSent(), QStringList({"Q0.00"}));
        QVERIFY(Child<ColorButton>("meterRlButton")->isEnabled());

        QString caption;
        AnswerParamDialog(QStringLiteral("24,5"), &caption);
        Child<ColorButton>("meterRlButton")->click();
        QCOMPARE(caption, QStringLiteral("RL = "));
        QCOMPARE(sender.TakeSent(), QStringList({"Q24.50"}));
        QCOMPARE(Child<QAbstractButton>("meterRlButton")->text(), QStringLiteral("24.5"));

        // Leaving the family disables the value button, the box keeps its tick.
        QTest::mouseClick(Child<OptionButton>("meterFamilyRange"), Qt::LeftButton);
        QCOMPARE(sender.TakeSent(), QStringList({"M04"}));
        QVERIFY(!Child<ColorButton>("meterRlButton")->isEnabled());
        QVERIFY(Child<QCheckBox>("meterRlBox")->isChecked());
    }

    void holdKeyFreezesTheReadout()
    {
        Poll(QStringLiteral("P1.000%"));
        half->ResetStatistics();
        half->ToggleHold();
        QVERIFY(Child<ToggleButton>("meterHold")->isPressed());
        Poll(QStringLiteral("P7.500%"));
        Poll(QStringLiteral("P-0.500%"));
        const ReadoutContent shown = Child<CMeterDisplay>("meterDisplay")->Shown();
        QCOMPARE(shown.valueText, QStringLiteral("1.000"));
        QCOMPARE(shown.statusWord, QStringLiteral("HOLD"));
        QCOMPARE(Fields().mid(0, 3), QStringList({"-0.500", "7.500", "8.000"}));

        QTest::mouseClick(Child<ToggleButton>("meterHold"), Qt::LeftButton);
        QCOMPARE(Child<CMeterDisplay>("meterDisplay")->Shown().valueText, QStringLiteral("0.500"));
        QCOMPARE(Child<CMeterDisplay>("meterDisplay")->Shown().statusWord, QString());
    }

    void averagingWindowEndsOnItsTimer()
    {
        AnswerParamDialog(QStringLiteral("1"));
        Child<ColorButton>("meterAvgButton")->click();
        QCOMPARE(Child<QAbstractButton>("meterAvgButton")->text(), QStringLiteral("1"));
        Child<ColorButton>("meterReset")->click();
        Poll(QStringLiteral("P2.000%"));
        Poll(QStringLiteral("P3.000%"));
        QTRY_COMPARE_WITH_TIMEOUT(Field("meterAverage"), QStringLiteral("2.500"), 3000);
        // An empty window keeps the last average rather than dividing by zero.
        QTest::qWait(1200);
        QCOMPARE(Field("meterAverage"), QStringLiteral("2.500"));
    }

    void resetHalfReturnsTo25V()
    {
        QTest::mouseClick(Child<QRadioButton>("meterRange_22mA"), Qt::LeftButton);
        half->ToggleHold();
        Child<ColorButton>("meterReset")->click();
        sender.TakeSent();
        half->ResetHalf();
        QCOMPARE(sender.TakeSent(), QStringList({"M06"}));
        QVERIFY(Child<QRadioButton>("meterRange_25V")->isChecked());
        QVERIFY(!Child<ToggleButton>("meterHold")->isPressed());
        QCOMPARE(Child<CMeterDisplay>("meterDisplay")->Shown().rangeName, QStringLiteral("25V"));
        QCOMPARE(Child<CMeterDisplay>("meterDisplay")->Shown().statusWord, QString());
        QCOMPARE(Fields(), QStringList({"0.000", "0.000", "0.000", "0.000"}));
    }
};

QTEST_MAIN(TestMeterHalf)
#include "tst_meterhalf.moc"
