// SPDX-License-Identifier: MIT
#include "DataRows.h"
#include "core/panel/PanelKeys.h"

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
    DataColumns<int, int, PanelKeyAction::Kind, QString>("key", "modifiers", "kind", "keypad");

    using A = PanelKeyAction::Kind;
    const int none = Qt::NoModifier;
    const int pad = Qt::KeypadModifier;
    DataRow("digit 0", int(Qt::Key_0), none, A::Keypad, "0");
    DataRow("digit 7", int(Qt::Key_7), none, A::Keypad, "7");
    DataRow("pad 9", int(Qt::Key_9), pad, A::Keypad, "9");
    DataRow("pad plus", int(Qt::Key_Plus), pad, A::PlusMinus, "");
    DataRow("pad minus", int(Qt::Key_Minus), pad, A::PlusMinus, "");
    DataRow("main minus", int(Qt::Key_Minus), none, A::PlusMinus, "");
    DataRow("main plus key", int(Qt::Key_Equal), none, A::PlusMinus, "");
    DataRow("pad decimal", int(Qt::Key_Period), pad, A::Keypad, ".");
    DataRow("period", int(Qt::Key_Period), none, A::Keypad, ".");
    DataRow("comma", int(Qt::Key_Comma), none, A::Keypad, ".");
    DataRow("Enter", int(Qt::Key_Return), none, A::Enter, "");
    DataRow("pad Enter", int(Qt::Key_Enter), pad, A::Enter, "");
    DataRow("E", int(Qt::Key_E), none, A::Enter, "");
    DataRow("Backspace", int(Qt::Key_Backspace), none, A::CancelEntry, "");
    DataRow("C", int(Qt::Key_C), none, A::CancelEntry, "");
    DataRow("O", int(Qt::Key_O), none, A::OperateToggle, "");
    DataRow("S shifted", int(Qt::Key_S), int(Qt::ShiftModifier), A::OperateToggle, "");
    DataRow("H", int(Qt::Key_H), none, A::HoldToggle, "");
    DataRow("Up", int(Qt::Key_Up), none, A::StepUp, "");
    DataRow("Down", int(Qt::Key_Down), none, A::StepDown, "");
    DataRow("Left", int(Qt::Key_Left), none, A::StepFastUp, "");
    DataRow("Right", int(Qt::Key_Right), none, A::StepFastDown, "");
    DataRow("Home", int(Qt::Key_Home), none, A::DeltaUp, "");
    DataRow("End", int(Qt::Key_End), none, A::DeltaDown, "");
    DataRow("Page Up", int(Qt::Key_PageUp), none, A::MUp, "");
    DataRow("Page Down", int(Qt::Key_PageDown), none, A::MDown, "");
    DataRow("Delete", int(Qt::Key_Delete), none, A::ResetPanel, "");
    DataRow("R", int(Qt::Key_R), none, A::ResetStatistics, "");
    DataRow("Escape is not the panel's", int(Qt::Key_Escape), none, A::None, "");
    DataRow("Tab is not the panel's", int(Qt::Key_Tab), none, A::None, "");
    DataRow("letter X", int(Qt::Key_X), none, A::None, "");
    DataRow("Alt+E is a mnemonic", int(Qt::Key_E), int(Qt::AltModifier), A::None, "");
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
