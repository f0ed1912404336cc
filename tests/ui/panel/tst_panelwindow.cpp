// SPDX-License-Identifier: MIT
#include "Child.h"
#include "DataRows.h"
#include "FakeLink.h"
#include "HeldLine.h"
#include "ModalHelper.h"
#include "RecordingMessageService.h"
#include "SourceFakes.h"
#include "ui/base/DialogUnits.h"
#include "ui/controls/ColorButton.h"
#include "ui/controls/ToggleButton.h"
#include "ui/panel/CCalibratorPanelDlg.h"
#include "ui/panel/CMeterDisplay.h"
#include "ui/panel/CParamDlg.h"
#include "ui/panel/CSourceDisplay.h"
#include "ui/panel/MeterHalf.h"
#include "ui/panel/SourceHalf.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <memory>

// The control panel window offscreen: opening and closing, the source half driven by clicks
// and by the keyboard, with the exact frames and what the readouts show.
class TestPanelWindow : public QObject
{
    Q_OBJECT

    RecordingCommandSender sender;
    ScriptedPrompt prompt;
    QList<int> opened;
    int closed = 0;
    PanelPort port;
    std::unique_ptr<RecordingMessageService> messages;
    std::unique_ptr<CCalibratorPanelDlg> dlg;

    // Frames sent since the last call, without the polls.
    QStringList Frames()
    {
        QStringList frames;
        for (const QString& f : sender.TakeSent())
            if (f != QLatin1String("P"))
                frames << f;
        return frames;
    }
    QString SourceReadout()
    {
        const ReadoutContent c = Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown();
        return (c.positive ? QStringLiteral(" ") : QStringLiteral("-")) + c.valueText;
    }
    // A key goes where the window system would send it: to the focused control, or to the
    // window when none has the focus.
    void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        QWidget* target = focus && dlg->isAncestorOf(focus) ? focus : dlg.get();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }
    void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    // The panel again, its parameter entries running the real dialog.
    void OpenWithParameterDialogs()
    {
        dlg = std::make_unique<CCalibratorPanelDlg>(sender, port, nullptr, *messages);
        dlg->show();
        dlg->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
    }
    // Once the parameter dialog is up, runs `act` on it.
    static void OnParamDialog(std::function<void(CParamDlg*)> act)
    {
        static bool seen = false;
        OnModal<CParamDlg>(seen, act, 2000);
    }
    // Keypad keys by what they are: "7", "Point", "Sign", "Enter", "Cancel".
    void ClickKeys(const QString& keys)
    {
        for (const QString& key : keys.split(QLatin1Char(' ')))
            Click(Child<ColorButton>(*dlg, QStringLiteral("sourceKey_") + key));
    }

private slots:
    void init();
    void cleanup();

    void opening();
    void look();
    void keypadByClicks();
    void keyboard_data();
    void keyboard();
    void keysReachTheFocusedListToo();
    void enterNeverCloses();
    void closingAnsweredNoKeepsPolling();
    void closingAnsweredYesClosesThePort();
    void keysWhileAPollRuns();
    void thermocoupleWithToByClicks();
    void rtdWithLeadResistanceByClicks();
    void stepKeysByClicks();
    void resetPanel();
    void captionsFit();
    void inputRightAfterAParameterDialogComesAfterItsFollowUp_data();
    void inputRightAfterAParameterDialogComesAfterItsFollowUp();
};

void TestPanelWindow::init()
{
    sender = RecordingCommandSender();
    prompt = ScriptedPrompt();
    opened.clear();
    closed = 0;
    messages = std::make_unique<RecordingMessageService>();
    port = PanelPort{2, [this](int n) { opened << n; }, [this] { ++closed; }};
    dlg = std::make_unique<CCalibratorPanelDlg>(sender, port, &prompt, *messages);
    dlg->show();
    dlg->activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
}

void TestPanelWindow::cleanup()
{
    dlg.reset();
    messages.reset();
}

void TestPanelWindow::opening()
{
    QCOMPARE(dlg->windowTitle(), QStringLiteral("Sterowanie kalibratora"));
    QCOMPARE(dlg->size(), DialogUnits::Size(530, 338));
    QCOMPARE(opened, QList<int>{2});
    QCOMPARE(Frames(), QStringList({"I", "X", "S1"}));
    QVERIFY(dlg->PollTimer().isActive());
    QCOMPARE(dlg->PollTimer().interval(), 500);

    QCOMPARE(Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown(),
             SourceReadoutContent(Child<SourceHalf>(*dlg, "sourceHalf")->Logic().State()));
    const ReadoutContent source = Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown();
    QCOMPARE(source.valueText, QStringLiteral("0.000"));
    QCOMPARE(source.positive, true);
    QCOMPARE(source.rangeName, QStringLiteral("50mV"));
    QCOMPARE(source.unit, QStringLiteral("mV"));
    QCOMPARE(source.statusWord, QStringLiteral("OPR"));
    const ReadoutContent meter = Child<CMeterDisplay>(*dlg, "meterDisplay")->Shown();
    QCOMPARE(meter.valueText, QStringLiteral("0.000"));
    QCOMPARE(meter.rangeName, QStringLiteral("25V"));
    QCOMPARE(meter.unit, QStringLiteral("V"));
    QCOMPARE(meter.statusWord, QString());

    QVERIFY(Child<QAbstractButton>(*dlg, "sourceFamilyRange")->isChecked());
    QVERIFY(Child<QAbstractButton>(*dlg, "sourceRange_50mV")->isChecked());
    QVERIFY(Child<QAbstractButton>(*dlg, "sourceRange_12V")->isEnabled());
    QVERIFY(!Child<QComboBox>(*dlg, "sourceThermocouples")->isEnabled());
    QCOMPARE(Child<QComboBox>(*dlg, "sourceThermocouples")->currentText(),
             QStringLiteral("R (PtRh13-Pt)"));
    QCOMPARE(Child<QComboBox>(*dlg, "sourceRtds")->currentText(), QStringLiteral("Pt100 (385)"));
    QVERIFY(Child<QAbstractButton>(*dlg, "sourceJunction_Tex")->isChecked());
    QVERIFY(!Child<ColorButton>(*dlg, "sourceToButton")->isEnabled());
    QVERIFY(!Child<ColorButton>(*dlg, "sourceRlButton")->isEnabled());
    QCOMPARE(Child<ColorButton>(*dlg, "sourceToButton")->QAbstractButton::text(),
             QStringLiteral("0.0"));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceRlButton")->QAbstractButton::text(),
             QStringLiteral("0.00"));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceDeltaButton")->QAbstractButton::text(),
             QStringLiteral("0.000"));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceMButton")->QAbstractButton::text(),
             QStringLiteral("0.000"));
    QVERIFY(Child<ToggleButton>(*dlg, "sourceOperate")->isPressed());
}

void TestPanelWindow::look()
{
    const auto* heading = Child<QLabel>(*dlg, "sourceHeading");
    QVERIFY(heading);
    QCOMPARE(heading->text(), QStringLiteral("SOURCE"));
    QCOMPARE(heading->palette().color(QPalette::Window), QColor(255, 255, 128));
    QCOMPARE(heading->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    QVERIFY(heading->font().bold());

    for (const char* name :
         {"sourceKey_7", "sourceKey_Sign", "sourceKey_Enter", "sourceKey_Cancel"}) {
        QCOMPARE(Child<ColorButton>(*dlg, name)->backColor(), QColor(182, 180, 143));
        QVERIFY(Child<ColorButton>(*dlg, name)->font().bold());
    }
    QCOMPARE(Child<ColorButton>(*dlg, "sourceKey_Cancel")->textColor(), QColor(255, 0, 0));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceKey_Enter")->height(), DialogUnits::Y(54));
    QCOMPARE(Child<ToggleButton>(*dlg, "sourceOperate")->backColor(), QColor(214, 213, 192));
    QCOMPARE(Child<ColorButton>(*dlg, "resetButton")->backColor(), QColor(255, 143, 140));
    QCOMPARE(Child<ColorButton>(*dlg, "resetButton")->QAbstractButton::text(),
             QStringLiteral("RESET"));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceDeltaButton")->backColor(), QColor(204, 232, 255));
    // Captions of the Symbol face drawn as the real characters.
    QCOMPARE(Child<ColorButton>(*dlg, "sourceStep_FastUp")->QAbstractButton::text(),
             QStringLiteral("⇑⇑"));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceStep_Down")->QAbstractButton::text(),
             QStringLiteral("⇓"));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceStep_DeltaUp")->QAbstractButton::text(),
             QStringLiteral("+ Δ"));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceStep_MDown")->QAbstractButton::text(),
             QStringLiteral("- M"));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceStep_FastUp")->backColor(), QColor(214, 213, 192));
    // Layout: the keypad's "7" at (288, 245), "E" at (372, 245) in dialog units.
    const QPoint seven = Child<ColorButton>(*dlg, "sourceKey_7")->mapTo(dlg.get(), QPoint());
    QVERIFY(qAbs(seven.x() - DialogUnits::X(288)) <= 1);
    QVERIFY(qAbs(seven.y() - DialogUnits::Y(245)) <= 1);
    const QPoint display = Child<CSourceDisplay>(*dlg, "sourceDisplay")->mapTo(dlg.get(), QPoint());
    QVERIFY(qAbs(display.x() - DialogUnits::X(296)) <= 1);
    QVERIFY(qAbs(display.y() - DialogUnits::Y(155)) <= 1);
    QCOMPARE(dlg->palette().color(QPalette::Window), QColor(192, 192, 192));
}

void TestPanelWindow::keypadByClicks()
{
    Frames();
    ClickKeys(QStringLiteral("1 2 Point 5 6 7 8"));
    QCOMPARE(SourceReadout(), QStringLiteral(" 12.567"));
    ClickKeys(QStringLiteral("Enter"));
    QCOMPARE(Frames(), QStringList({"N+12.567"}));
    ClickKeys(QStringLiteral("Sign 1 0 Enter 3 Cancel"));
    QCOMPARE(Frames(), QStringList({"N-10.000", "N-10.000"}));
    QCOMPARE(SourceReadout(), QStringLiteral("-10.000"));
    ClickKeys(QStringLiteral("5 6 Enter"));
    QCOMPARE(SourceReadout(), QStringLiteral(" ——————"));
    QCOMPARE(Frames(), QStringList());
    Click(Child<ToggleButton>(*dlg, "sourceOperate"));
    QCOMPARE(Frames(), QStringList({"S0"}));
    // The next repaint shows the set-point in force again.
    QCOMPARE(SourceReadout(), QStringLiteral("-10.000"));
    QCOMPARE(Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown().statusWord,
             QStringLiteral("STD"));
}

void TestPanelWindow::keyboard_data()
{
    DataColumns<QList<int>, QStringList, QString>("keys", "frames", "readout");

    using K = QList<int>;
    DataRow("12.567 and Enter",
            K{Qt::Key_1, Qt::Key_2, Qt::Key_Period, Qt::Key_5, Qt::Key_6, Qt::Key_7, Qt::Key_8,
              Qt::Key_Return},
            QStringList{"N+12.567"}, " 12.567");
    DataRow("0 0 5", K{Qt::Key_0, Qt::Key_0, Qt::Key_5}, QStringList(), " 0");
    DataRow("0 comma 0 5 E", K{Qt::Key_0, Qt::Key_Comma, Qt::Key_0, Qt::Key_5, Qt::Key_E},
            QStringList{"N+0.050"}, " 0.050");
    DataRow("minus then Enter", K{Qt::Key_Minus, Qt::Key_Enter}, QStringList{"N+0.000"}, " 0.000");
    DataRow("56 refused", K{Qt::Key_5, Qt::Key_6, Qt::Key_Return}, QStringList(), " ——————");
    DataRow("-60 refused", K{Qt::Key_Plus, Qt::Key_6, Qt::Key_0, Qt::Key_Return}, QStringList(),
            "-______");
    DataRow("E twice", K{Qt::Key_5, Qt::Key_E, Qt::Key_E}, QStringList{"N+5.000"}, " 5.000");
    DataRow("Backspace is CE", K{Qt::Key_3, Qt::Key_Backspace}, QStringList{"N+0.000"}, " 0.000");
    DataRow("C is CE", K{Qt::Key_C}, QStringList{"N+0.000"}, " 0.000");
    DataRow("O and S", K{Qt::Key_O, Qt::Key_S}, QStringList{"S0", "S1"}, " 0.000");
    DataRow("Up, Down", K{Qt::Key_Up, Qt::Key_Up, Qt::Key_Down},
            QStringList{"N+0.001", "N+0.002", "N+0.001"}, " 0.001");
    DataRow("Left, Right", K{Qt::Key_Left, Qt::Key_Right, Qt::Key_Right},
            QStringList{"N+0.100", "N+0.000", "N-0.100"}, "-0.100");
    DataRow("Home, End, Page Up, Page Down with zero steps",
            K{Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp, Qt::Key_PageDown},
            QStringList{"N+0.000", "N+0.000", "N+0.000", "N+0.000"}, " 0.000");
}

void TestPanelWindow::keyboard()
{
    QFETCH(QList<int>, keys);
    QFETCH(QStringList, frames);
    QFETCH(QString, readout);
    Frames();
    for (int key : keys)
        Press(key);
    QCOMPARE(Frames(), frames);
    QCOMPARE(SourceReadout(), readout);
    QVERIFY(dlg->isVisible());
}

void TestPanelWindow::keysReachTheFocusedListToo()
{
    Frames();
    Click(Child<QAbstractButton>(*dlg, "sourceFamilyTc"));
    QCOMPARE(Frames(), QStringList({"C63", "N+0.0"}));
    QApplication::setActiveWindow(dlg.get());
    Child<QComboBox>(*dlg, "sourceThermocouples")->setFocus();
    QCOMPARE(QApplication::focusWidget(), Child<QComboBox>(*dlg, "sourceThermocouples"));
    Press(Qt::Key_Down);
    // The panel steps first, then the list moves to the next sensor and applies it.
    QCOMPARE(Frames(), QStringList({"N-0.1", "C60", "N+0.0"}));
    QCOMPARE(Child<QComboBox>(*dlg, "sourceThermocouples")->currentIndex(), 1);
    QCOMPARE(Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown().rangeName,
             QStringLiteral("S (PtRh10-Pt)"));
}

void TestPanelWindow::enterNeverCloses()
{
    Press(Qt::Key_Return);
    Press(Qt::Key_Enter);
    QVERIFY(dlg->isVisible());
    QVERIFY(messages->messages.isEmpty());
}

void TestPanelWindow::closingAnsweredNoKeepsPolling()
{
    messages->answers = {MessageAnswer::No};
    Press(Qt::Key_Escape);
    QCOMPARE(messages->messages.size(), 1);
    const auto& m = messages->messages.first();
    QCOMPARE(m.text,
             QStringLiteral("Czy chcesz zakończyć pracę z modułem sterowania kalibratora?"));
    QCOMPARE(m.caption, QStringLiteral("R718"));
    QCOMPARE(m.icon, MessageIcon::Question);
    QCOMPARE(m.buttons, MessageButtons::YesNo);
    QVERIFY(dlg->isVisible());
    QVERIFY(dlg->PollTimer().isActive());
    QCOMPARE(closed, 0);
}

// On the program's link: a key pressed while a poll's transaction runs shows at once; the
// set-point it makes goes out right after the poll.
void TestPanelWindow::keysWhileAPollRuns()
{
    FakeLink line;
    HeldLine held(line.device, "^P%");
    line.link.SetPortNumber(1);
    CCalibratorPanelDlg panel(line.link, line.messages);
    panel.show();
    QTRY_VERIFY_WITH_TIMEOUT(held.running, 3000);
    for (const char* key : {"sourceKey_1", "sourceKey_Enter"})
        Click(Child<ColorButton>(panel, key));
    QCOMPARE(Child<CSourceDisplay>(panel, "sourceDisplay")->Shown().valueText,
             QStringLiteral("1.000"));
    held.Release();
    line.Settle();
    QVERIFY2(line.device.Written().startsWith("^I%^X%^S1%^P%^N+1.000%"),
             line.device.Written().constData());
    messages->answers = {MessageAnswer::Yes};
    panel.close();
    line.Settle();
    QVERIFY(!line.device.IsOpen());
}

void TestPanelWindow::closingAnsweredYesClosesThePort()
{
    messages->answers = {MessageAnswer::Yes};
    dlg->close();
    QCOMPARE(messages->messages.size(), 1);
    QVERIFY(!dlg->isVisible());
    QVERIFY(!dlg->PollTimer().isActive());
    QCOMPARE(closed, 1);
    QCOMPARE(dlg->result(), int(QDialog::Rejected));
}

void TestPanelWindow::thermocoupleWithToByClicks()
{
    Frames();
    Click(Child<QAbstractButton>(*dlg, "sourceFamilyTc"));
    QVERIFY(Child<QComboBox>(*dlg, "sourceThermocouples")->isEnabled());
    QVERIFY(!Child<QAbstractButton>(*dlg, "sourceRange_50mV")->isEnabled());
    QVERIFY(!Child<QComboBox>(*dlg, "sourceRtds")->isEnabled());
    Click(Child<QAbstractButton>(*dlg, "sourceJunction_To"));
    QVERIFY(Child<ColorButton>(*dlg, "sourceToButton")->isEnabled());
    QCOMPARE(Frames(), QStringList({"C63", "N+0.0", "C23", "N+0.0", "T0.00"}));
    prompt.answers = {QStringLiteral("23.5")};
    Click(Child<ColorButton>(*dlg, "sourceToButton"));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceToButton")->QAbstractButton::text(),
             QStringLiteral("23.5"));
    QCOMPARE(Frames(), QStringList({"C23", "N+0.0", "T23.50"}));
    emit Child<QComboBox>(*dlg, "sourceThermocouples")->activated(0);
    QCOMPARE(Frames(), QStringList({"C23", "N+0.0", "T23.50"}));
    QCOMPARE(Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown().rangeName,
             QStringLiteral("R (PtRh13-Pt)"));
    QCOMPARE(Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown().unit, QStringLiteral("°C"));
}

void TestPanelWindow::rtdWithLeadResistanceByClicks()
{
    Frames();
    Click(Child<QAbstractButton>(*dlg, "sourceFamilyRtd"));
    QCOMPARE(Frames(), QStringList({"C82", "N+0.00"}));
    QVERIFY(!Child<ColorButton>(*dlg, "sourceRlButton")->isEnabled());
    Click(Child<QCheckBox>(*dlg, "sourceRlBox"));
    QVERIFY(Child<ColorButton>(*dlg, "sourceRlButton")->isEnabled());
    QCOMPARE(Frames(), QStringList({"R0.00"}));
    prompt.answers = {QStringLiteral("24.5")};
    Click(Child<ColorButton>(*dlg, "sourceRlButton"));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceRlButton")->QAbstractButton::text(),
             QStringLiteral("24.5"));
    QCOMPARE(Frames(), QStringList({"R24.50"}));
    emit Child<QComboBox>(*dlg, "sourceRtds")->activated(0);
    QCOMPARE(Frames(), QStringList({"C82", "N+0.00", "R24.50"}));
    // "+/-" works here: the range name is the sensor's.
    ClickKeys(QStringLiteral("Sign 5 Enter"));
    QCOMPARE(Frames(), QStringList({"N-5.00"}));
}

void TestPanelWindow::stepKeysByClicks()
{
    Frames();
    Click(Child<QAbstractButton>(*dlg, "sourceRange_Uauto"));
    QCOMPARE(Frames(), QStringList({"C00", "N+0.000"}));
    QCOMPARE(Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown().rangeName,
             QStringLiteral("Uauto (50mV)"));
    ClickKeys(QStringLiteral("5 4 9 Point 5 Enter"));
    Click(Child<ColorButton>(*dlg, "sourceStep_FastUp"));
    QCOMPARE(Frames(), QStringList({"N+549.50", "N+0.5495"}));
    QCOMPARE(Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown().rangeName,
             QStringLiteral("Uauto (2V)"));
    QCOMPARE(Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown().unit, QStringLiteral("V"));
    QCOMPARE(Child<ColorButton>(*dlg, "sourceDeltaButton")->QAbstractButton::text(),
             QStringLiteral("0.0000"));
    // 0.5496 V lies below the 2 V sub-range, so the step goes back to millivolts, sending the
    // set-point it started from.
    Click(Child<ColorButton>(*dlg, "sourceStep_Up"));
    QCOMPARE(Frames(), QStringList({"N+549.50"}));
    QCOMPARE(Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown().rangeName,
             QStringLiteral("Uauto (500mV)"));
    Click(Child<ColorButton>(*dlg, "sourceStep_Up"));
    QCOMPARE(Frames(), QStringList({"N+549.51"}));
}

void TestPanelWindow::resetPanel()
{
    Click(Child<QAbstractButton>(*dlg, "sourceRange_12V"));
    Press(Qt::Key_O); // standby
    Frames();
    Click(Child<ColorButton>(*dlg, "resetButton"));
    const QStringList frames = Frames();
    // The range still checked goes out, the operate toggle is pressed again, the measure
    // half resets, and the calibrator gets "I" and "X".
    QCOMPARE(frames.mid(0, 3), QStringList({"C05", "N+0.000", "S1"}));
    QCOMPARE(frames.mid(frames.size() - 2), QStringList({"I", "X"}));
    QVERIFY(Child<QAbstractButton>(*dlg, "sourceRange_50mV")->isChecked());
    QCOMPARE(Child<CSourceDisplay>(*dlg, "sourceDisplay")->Shown().rangeName,
             QStringLiteral("50mV"));
    QCOMPARE(SourceReadout(), QStringLiteral(" 0.000"));

    // The Delete key does the same; with operate on, no "S1".
    Press(Qt::Key_Delete);
    const QStringList again = Frames();
    QCOMPARE(again.first(), QStringLiteral("C01"));
    QVERIFY(!again.contains(QStringLiteral("S1")));
    QCOMPARE(again.mid(again.size() - 2), QStringList({"I", "X"}));
}

// Every caption of the selection rows fits its control with room to spare, and no control
// reaches into the next one or out of its half; run at QT_SCALE_FACTOR 1 and 2.
void TestPanelWindow::captionsFit()
{
    constexpr int spare = 3; // pixels between a caption's end and what follows it
    QStringList faults;
    for (QWidget* half : {static_cast<QWidget*>(Child<MeterHalf>(*dlg, "meterHalf")),
                          static_cast<QWidget*>(Child<SourceHalf>(*dlg, "sourceHalf"))}) {
        QList<QAbstractButton*> choices;
        for (QAbstractButton* b : half->findChildren<QAbstractButton*>())
            if (qobject_cast<QRadioButton*>(b) || qobject_cast<QCheckBox*>(b))
                choices << b;
        QVERIFY(choices.size() >= 14);
        for (QAbstractButton* b : choices) {
            const QString what = half->objectName() + QLatin1Char('/') + b->text();
            if (b->sizeHint().width() + spare > b->width())
                faults << QStringLiteral("%1 needs %2, has %3")
                              .arg(what)
                              .arg(b->sizeHint().width())
                              .arg(b->width());
            if (!QRect(QPoint(), half->size()).contains(b->geometry()))
                faults << what + QStringLiteral(" leaves its half");
            for (QAbstractButton* other : choices)
                if (other != b && other->geometry().intersects(b->geometry()))
                    faults << what + QStringLiteral(" overlaps ") + other->text();
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QStringLiteral("; "))));
}

// The technician confirms a parameter dialog and at once presses or clicks something else.
// Both are waiting when the dialog's Return is handled; the follow-up of the dialog belongs to
// its closing and goes out before the later input acts.
void TestPanelWindow::inputRightAfterAParameterDialogComesAfterItsFollowUp_data()
{
    QTest::addColumn<QString>("entry");
    DataRow("To, then Delete (RESET)", "To");
    DataRow("measure RL, then a click on RL", "RL");
}

void TestPanelWindow::inputRightAfterAParameterDialogComesAfterItsFollowUp()
{
    QFETCH(QString, entry);
    OpenWithParameterDialogs();
    MeterHalf* meter = Child<MeterHalf>(*dlg, "meterHalf");
    auto* rlBox = Child<QCheckBox>(meter, "meterRlBox");
    QAbstractButton* valueButton = nullptr;
    if (entry == QLatin1String("To")) {
        Click(Child<QAbstractButton>(*dlg, "sourceFamilyTc"));
        Click(Child<QAbstractButton>(*dlg, "sourceJunction_To"));
        valueButton = Child<ColorButton>(*dlg, "sourceToButton");
    } else {
        Click(Child<QAbstractButton>(meter, "meterFamilyRtd"));
        Click(rlBox);
        valueButton = Child<QAbstractButton>(meter, "meterRlButton");
    }
    Frames();

    bool seen = false;
    OnParamDialog([&](CParamDlg* param) {
        seen = true;
        Child<QLineEdit>(param, "valueEdit")
            ->setText(entry == QLatin1String("To") ? "23.5" : "24.5");
        QCoreApplication::postEvent(Child<QLineEdit>(param, "valueEdit"),
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Return, {}));
        if (entry == QLatin1String("To")) {
            QCoreApplication::postEvent(dlg.get(),
                                        new QKeyEvent(QEvent::KeyPress, Qt::Key_Delete, {}));
        } else {
            const QPointF at = QRectF(rlBox->rect()).center();
            const QPointF global = rlBox->mapToGlobal(at);
            for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                QCoreApplication::postEvent(rlBox, new QMouseEvent(type, at, global, Qt::LeftButton,
                                                                   type == QEvent::MouseButtonPress
                                                                       ? Qt::LeftButton
                                                                       : Qt::NoButton,
                                                                   {}));
        }
    });
    Click(valueButton);
    QVERIFY(seen);
    QCoreApplication::processEvents();
    const QStringList frames = Frames();

    if (entry == QLatin1String("To")) {
        // The list stands on "R (PtRh13-Pt)": "C23" with To.
        QCOMPARE(frames.mid(0, 3), QStringList({"C23", "N+0.0", "T23.50"}));
        QCOMPARE(frames.mid(frames.size() - 2), QStringList({"I", "X"}));
        QCOMPARE(frames.count(QStringLiteral("T23.50")), 1);
        // The reset came last: To and its value are gone.
        QCOMPARE(Child<SourceHalf>(*dlg, "sourceHalf")->Logic().Junction(), ColdJunction::Tex);
        QCOMPARE(Child<ColorButton>(*dlg, "sourceToButton")->QAbstractButton::text(),
                 QStringLiteral("0.0"));
        QCOMPARE(Child<SourceHalf>(*dlg, "sourceHalf")->Logic().SourceToValue(), 0.0);
    } else {
        QCOMPARE(frames, QStringList({"Q24.50", "Q00.00"}));
        QVERIFY(!rlBox->isChecked());
        QCOMPARE(valueButton->text(), QStringLiteral("24.5"));
    }
}

QTEST_MAIN(TestPanelWindow)
#include "tst_panelwindow.moc"
