// SPDX-License-Identifier: MIT
#include "panel/PanelKeys.h"

#include <QTest>

// The panel's keyboard table.
class TestPanelKeys : public QObject
{
    Q_OBJECT

private slots:
    void table_data();
    void table();
};

Q_DECLARE_METATYPE(PanelKeyAction::Kind)

void TestPanelKeys::table_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<PanelKeyAction::Kind>("kind");
    QTest::addColumn<QString>("keypad");

    using A = PanelKeyAction;
    const int none = Qt::NoModifier;
    const int pad = Qt::KeypadModifier;
    QTest::newRow("digit 0") << int(Qt::Key_0) << none << A::Keypad << "0";
    QTest::newRow("digit 7") << int(Qt::Key_7) << none << A::Keypad << "7";
    QTest::newRow("pad 9") << int(Qt::Key_9) << pad << A::Keypad << "9";
    QTest::newRow("pad plus") << int(Qt::Key_Plus) << pad << A::PlusMinus << "";
    QTest::newRow("pad minus") << int(Qt::Key_Minus) << pad << A::PlusMinus << "";
    QTest::newRow("main minus") << int(Qt::Key_Minus) << none << A::PlusMinus << "";
    QTest::newRow("main plus key") << int(Qt::Key_Equal) << none << A::PlusMinus << "";
    QTest::newRow("pad decimal") << int(Qt::Key_Period) << pad << A::Keypad << ".";
    QTest::newRow("period") << int(Qt::Key_Period) << none << A::Keypad << ".";
    QTest::newRow("comma") << int(Qt::Key_Comma) << none << A::Keypad << ".";
    QTest::newRow("Enter") << int(Qt::Key_Return) << none << A::Enter << "";
    QTest::newRow("pad Enter") << int(Qt::Key_Enter) << pad << A::Enter << "";
    QTest::newRow("E") << int(Qt::Key_E) << none << A::Enter << "";
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << A::CancelEntry << "";
    QTest::newRow("C") << int(Qt::Key_C) << none << A::CancelEntry << "";
    QTest::newRow("O") << int(Qt::Key_O) << none << A::OperateToggle << "";
    QTest::newRow("S shifted") << int(Qt::Key_S) << int(Qt::ShiftModifier) << A::OperateToggle
                               << "";
    QTest::newRow("H") << int(Qt::Key_H) << none << A::HoldToggle << "";
    QTest::newRow("Up") << int(Qt::Key_Up) << none << A::StepUp << "";
    QTest::newRow("Down") << int(Qt::Key_Down) << none << A::StepDown << "";
    QTest::newRow("Left") << int(Qt::Key_Left) << none << A::StepFastUp << "";
    QTest::newRow("Right") << int(Qt::Key_Right) << none << A::StepFastDown << "";
    QTest::newRow("Home") << int(Qt::Key_Home) << none << A::DeltaUp << "";
    QTest::newRow("End") << int(Qt::Key_End) << none << A::DeltaDown << "";
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << none << A::MUp << "";
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << none << A::MDown << "";
    QTest::newRow("Delete") << int(Qt::Key_Delete) << none << A::ResetPanel << "";
    QTest::newRow("R") << int(Qt::Key_R) << none << A::ResetStatistics << "";
    QTest::newRow("Escape is not the panel's") << int(Qt::Key_Escape) << none << A::None << "";
    QTest::newRow("Tab is not the panel's") << int(Qt::Key_Tab) << none << A::None << "";
    QTest::newRow("letter X") << int(Qt::Key_X) << none << A::None << "";
    QTest::newRow("Alt+E is a mnemonic") << int(Qt::Key_E) << int(Qt::AltModifier) << A::None << "";
}

void TestPanelKeys::table()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(PanelKeyAction::Kind, kind);
    QFETCH(QString, keypad);
    const PanelKeyAction action = PanelKeyFor(key, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(action.kind, kind);
    QCOMPARE(action.key.isNull() ? QString() : QString(action.key), keypad);
}

QTEST_GUILESS_MAIN(TestPanelKeys)
#include "tst_panelkeys.moc"
