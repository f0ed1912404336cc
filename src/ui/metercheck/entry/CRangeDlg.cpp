// SPDX-License-Identifier: MIT
#include "ui/metercheck/entry/CRangeDlg.h"

#include "core/link/CalFunctionTable.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QComboBox* MakeList(const QString& name, const QStringList& items, QWidget* parent)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(items);
    return list;
}

QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

CRangeDlg::CRangeDlg(MeterCheckMode mode, MeterRange& slot, MessageService& messages,
                     QWidget* parent)
    : QDialog(parent), rangeSlot(slot),
      rangeEditor(slot, mode == MeterCheckMode::AddRange, messages, this)
{
    setWindowTitle(RangeEditor::Title(mode == MeterCheckMode::AddRange));
    BuildForm();
    Sync();
    opened = true;
    if (auto focus = rangeEditor.takeFocusRequest())
        lineEdits[*focus]->setFocus();
    else if (rangeEditor.functionChoice() != RangeEditor::NoFunction)
        lineEdits[rangeEditor.functionChoice()]->setFocus();
}

void CRangeDlg::BuildForm()
{
    const int editWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16;
    auto makeEdit = [&](RangeEditor::Edit which, const QString& name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMaxLength(RangeEditor::MaxLength(which));
        edit->setFixedWidth(editWidth);
        lineEdits[which] = edit;
        connect(edit, &QLineEdit::textChanged, this, [this, which] { OnEditChanged(which); });
        return edit;
    };
    auto makeOption = [&](QButtonGroup* group, int id, const QString& name, const QString& text) {
        auto* option = new QRadioButton(text, this);
        option->setObjectName(name);
        group->addButton(option, id);
        return option;
    };

    functionGroup = new QButtonGroup(this);
    sensorGroup = new QButtonGroup(this);
    junctionGroup = new QButtonGroup(this);

    using E = RangeEditor;
    auto* functions = new QGridLayout;
    functions->addWidget(makeOption(functionGroup, E::Voltage, "option1239", "Napięcie"), 0, 0);
    functions->addWidget(makeOption(functionGroup, E::Current, "option1240", "Prąd"), 1, 0);
    functions->addWidget(makeOption(functionGroup, E::Resistance, "option1241", "Rezystancja"), 2,
                         0);
    functions->addWidget(makeOption(functionGroup, E::Temperature, "option1244", "Temperatura"), 3,
                         0);
    functions->addWidget(controlWidgets[E::VoltageEdit] = makeEdit(E::VoltageValue, "edit1245"), 0,
                         1);
    functions->addWidget(controlWidgets[E::CurrentEdit] = makeEdit(E::CurrentValue, "edit1249"), 1,
                         1);
    functions->addWidget(
        controlWidgets[E::ResistanceEdit] = makeEdit(E::ResistanceValue, "edit1250"), 2, 1);
    functions->addWidget(
        controlWidgets[E::TemperatureEdit] = makeEdit(E::TemperatureValue, "edit1259"), 3, 1);
    voltageUnits = MakeList("list1158", E::VoltageUnits(), this);
    resistanceUnits = MakeList("list1160", E::ResistanceUnits(), this);
    functions->addWidget(controlWidgets[E::VoltageUnitList] = voltageUnits, 0, 2);
    functions->addWidget(controlWidgets[E::CurrentUnitLabel] = MakeLabel("label1134", "mA", this),
                         1, 2);
    functions->addWidget(controlWidgets[E::ResistanceUnitList] = resistanceUnits, 2, 2);
    functions->addWidget(
        controlWidgets[E::TemperatureUnitLabel] = MakeLabel("label1133", "°C", this), 3, 2);
    functions->setColumnStretch(3, 1);

    thermocouples = MakeList("list1253", CalFunctions::ThermocoupleNames(), this);
    thermometers = MakeList("list1258", CalFunctions::ResistanceThermometerNames(), this);
    auto* sensors = new QGridLayout;
    sensors->addWidget(controlWidgets[E::ThermocoupleOption] =
                           makeOption(sensorGroup, E::Thermocouple, "option1242", "T/C"),
                       0, 0);
    sensors->addWidget(controlWidgets[E::ThermocoupleList] = thermocouples, 0, 1, 1, 5);
    sensors->addWidget(controlWidgets[E::TexOption] =
                           makeOption(junctionGroup, E::Tex, "option1254", "Tex"),
                       1, 1);
    sensors->addWidget(controlWidgets[E::TinOption] =
                           makeOption(junctionGroup, E::Tin, "option1255", "Tin"),
                       1, 2);
    sensors->addWidget(
        controlWidgets[E::ToOption] = makeOption(junctionGroup, E::To, "option1256", "To"), 1, 3);
    sensors->addWidget(controlWidgets[E::ToEdit] = makeEdit(E::ToValue, "edit1257"), 1, 4);
    sensors->addWidget(controlWidgets[E::ToUnitLabel] = MakeLabel("label1131", "°C", this), 1, 5);
    sensors->addWidget(
        controlWidgets[E::RtdOption] = makeOption(sensorGroup, E::Rtd, "option1243", "RTD"), 2, 0);
    sensors->addWidget(controlWidgets[E::RtdList] = thermometers, 2, 1, 1, 5);
    sensors->addWidget(controlWidgets[E::RlLabel] = MakeLabel("label1269", "RL", this), 3, 3,
                       Qt::AlignRight);
    sensors->addWidget(controlWidgets[E::RlEdit] = makeEdit(E::RlValue, "edit1260"), 3, 4);
    sensors->addWidget(controlWidgets[E::RlUnitLabel] = MakeLabel("label1132", "Ohm", this), 3, 5);
    auto* sensorFrame = new QGroupBox(this);
    sensorFrame->setLayout(sensors);

    constUnitTexts = MakeList("list1161", {}, this);
    auto classFrame = [&](const QString& title, QWidget* a, QWidget* b = nullptr) {
        auto* frame = new QGroupBox(title, this);
        auto* row = new QHBoxLayout(frame);
        row->addWidget(a);
        if (b)
            row->addWidget(b);
        row->addStretch();
        return frame;
    };
    auto* classes = new QHBoxLayout;
    classes->addWidget(classFrame("% wartości mierzonej", makeEdit(E::ClassReading, "edit1246")));
    classes->addWidget(classFrame("% zakresu", makeEdit(E::ClassRange, "edit1251")));
    classes->addWidget(
        classFrame("( + składowa stała )", makeEdit(E::ConstTerm, "edit1252"), constUnitTexts));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("button1");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Anuluj"), this);
    cancel->setObjectName("button2");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    connect(ok, &QPushButton::clicked, this, &CRangeDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CRangeDlg::reject);

    auto* top = new QHBoxLayout;
    top->addLayout(functions);
    top->addWidget(sensorFrame, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(classes);
    layout->addLayout(buttons);

    // User actions go to the editor, then the widgets follow its state.
    auto after = [this](auto action) {
        return [this, action](int value) {
            if (syncing)
                return;
            (rangeEditor.*action)(value);
            Sync();
            if (auto focus = rangeEditor.takeFocusRequest())
                lineEdits[*focus]->setFocus();
        };
    };
    connect(functionGroup, &QButtonGroup::idClicked, this, after(&RangeEditor::ChooseFunction));
    connect(sensorGroup, &QButtonGroup::idClicked, this, after(&RangeEditor::ChooseSensorKind));
    connect(junctionGroup, &QButtonGroup::idClicked, this, after(&RangeEditor::ChooseJunction));
    connect(voltageUnits, &QComboBox::activated, this, after(&RangeEditor::SelectVoltageUnit));
    connect(resistanceUnits, &QComboBox::activated, this,
            after(&RangeEditor::SelectResistanceUnit));
    connect(thermocouples, &QComboBox::activated, this, after(&RangeEditor::SelectThermocouple));
    connect(thermometers, &QComboBox::activated, this,
            after(&RangeEditor::SelectResistanceThermometer));
    connect(constUnitTexts, &QComboBox::activated, this, after(&RangeEditor::SelectConstUnit));
}

void CRangeDlg::OnEditChanged(RangeEditor::Edit which)
{
    if (!opened)
        return;
    QLineEdit* edit = lineEdits[which];
    const QString typed = edit->text();
    const int caret = edit->cursorPosition();
    rangeEditor.EditChanged(which, typed);
    // A text written back by Sync comes here again; the editor finds it normalised.
    if (syncing)
        return;
    Sync(which, typed, caret);
    if (auto focus = rangeEditor.takeFocusRequest())
        lineEdits[*focus]->setFocus();
}

void CRangeDlg::SetChecked(QButtonGroup* group, int id)
{
    if (id < 0) {
        group->setExclusive(false);
        for (QAbstractButton* button : group->buttons())
            button->setChecked(false);
        group->setExclusive(true);
    } else if (QAbstractButton* button = group->button(id)) {
        button->setChecked(true);
    }
}

void CRangeDlg::Sync(int changedEdit, const QString& typed, int caret)
{
    syncing = true;
    SetChecked(functionGroup, rangeEditor.functionChoice());
    SetChecked(sensorGroup, rangeEditor.sensorKind());
    SetChecked(junctionGroup, rangeEditor.junction());
    voltageUnits->setCurrentIndex(rangeEditor.voltageUnit());
    resistanceUnits->setCurrentIndex(rangeEditor.resistanceUnit());
    thermocouples->setCurrentIndex(rangeEditor.thermocouple());
    thermometers->setCurrentIndex(rangeEditor.resistanceThermometer());
    QStringList shown;
    for (int i = 0; i < constUnitTexts->count(); ++i)
        shown << constUnitTexts->itemText(i);
    if (shown != rangeEditor.constUnits()) {
        constUnitTexts->clear();
        constUnitTexts->addItems(rangeEditor.constUnits());
    }
    constUnitTexts->setCurrentIndex(rangeEditor.constUnit());

    for (int e = 0; e < RangeEditor::EditCount; ++e) {
        QLineEdit* edit = lineEdits[e];
        const QString text = rangeEditor.text(RangeEditor::Edit(e));
        if (edit->text() == text) // written back only when it differs: no endless chain
            continue;
        edit->setText(text);
        if (e != changedEdit)
            continue;
        // "2" became "2.0": leave the caret behind the 2 with ".0" selected, so that the
        // next key goes on with the number instead of landing behind the added decimals.
        QString asTyped = typed;
        asTyped.replace(QLatin1Char(','), QLatin1Char('.'));
        if (caret == asTyped.size() && text.size() > asTyped.size() && text.startsWith(asTyped))
            edit->setSelection(int(asTyped.size()), int(text.size() - asTyped.size()));
        else
            edit->setCursorPosition(qMin(caret, int(text.size())));
    }

    for (int c = 0; c < RangeEditor::ControlCount; ++c)
        controlWidgets[c]->setEnabled(rangeEditor.isEnabled(RangeEditor::Control(c)));
    syncing = false;
}

void CRangeDlg::accept()
{
    if (!rangeEditor.Accept()) {
        if (auto focus = rangeEditor.takeFocusRequest())
            lineEdits[*focus]->setFocus();
        return;
    }
    rangeEditor.StoreInto(rangeSlot);
    QDialog::accept();
}
