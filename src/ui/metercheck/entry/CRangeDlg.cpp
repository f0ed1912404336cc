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

// The id of an option in its button group: the number of what it stands for.
template <typename Option> std::optional<int> IdOf(std::optional<Option> option)
{
    if (!option)
        return std::nullopt;
    return int(*option);
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
        edit(*focus)->setFocus();
    else if (const auto quantity = rangeEditor.quantity())
        edit(RangeEditor::RangeEditFor(*quantity))->setFocus();
}

void CRangeDlg::BuildForm()
{
    const int editWidth = fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16;
    auto makeEdit = [&](RangeEditor::Edit which, const QString& name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMaxLength(RangeEditor::MaxLength(which));
        edit->setFixedWidth(editWidth);
        lineEdits[std::size_t(which)] = edit;
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

    using E = RangeEditor::Edit;
    using C = RangeEditor::Control;
    using Q = RangeEditor::Quantity;
    // The options' ids are the numbers of their quantity, sensor kind (the range's function) and
    // junction.
    auto control = [this](C c) -> QWidget*& { return controlWidgets[std::size_t(c)]; };
    auto* functions = new QGridLayout;
    functions->addWidget(makeOption(functionGroup, int(Q::Voltage), "option1239", "Napięcie"), 0,
                         0);
    functions->addWidget(makeOption(functionGroup, int(Q::Current), "option1240", "Prąd"), 1, 0);
    functions->addWidget(makeOption(functionGroup, int(Q::Resistance), "option1241", "Rezystancja"),
                         2, 0);
    functions->addWidget(
        makeOption(functionGroup, int(Q::Temperature), "option1244", "Temperatura"), 3, 0);
    functions->addWidget(control(C::VoltageEdit) = makeEdit(E::VoltageValue, "edit1245"), 0, 1);
    functions->addWidget(control(C::CurrentEdit) = makeEdit(E::CurrentValue, "edit1249"), 1, 1);
    functions->addWidget(control(C::ResistanceEdit) = makeEdit(E::ResistanceValue, "edit1250"), 2,
                         1);
    functions->addWidget(control(C::TemperatureEdit) = makeEdit(E::TemperatureValue, "edit1259"), 3,
                         1);
    voltageUnits = MakeList("list1158", RangeEditor::VoltageUnits(), this);
    resistanceUnits = MakeList("list1160", RangeEditor::ResistanceUnits(), this);
    functions->addWidget(control(C::VoltageUnitList) = voltageUnits, 0, 2);
    functions->addWidget(control(C::CurrentUnitLabel) = MakeLabel("label1134", "mA", this), 1, 2);
    functions->addWidget(control(C::ResistanceUnitList) = resistanceUnits, 2, 2);
    functions->addWidget(control(C::TemperatureUnitLabel) = MakeLabel("label1133", "°C", this), 3,
                         2);
    functions->setColumnStretch(3, 1);

    thermocouples = MakeList("list1253", CalFunctions::ThermocoupleNames(), this);
    thermometers = MakeList("list1258", CalFunctions::ResistanceThermometerNames(), this);
    auto* sensors = new QGridLayout;
    sensors->addWidget(control(C::ThermocoupleOption) = makeOption(
                           sensorGroup, int(RangeFunction::Thermocouple), "option1242", "T/C"),
                       0, 0);
    sensors->addWidget(control(C::ThermocoupleList) = thermocouples, 0, 1, 1, 5);
    sensors->addWidget(control(C::TexOption) =
                           makeOption(junctionGroup, int(ColdJunction::Tex), "option1254", "Tex"),
                       1, 1);
    sensors->addWidget(control(C::TinOption) =
                           makeOption(junctionGroup, int(ColdJunction::Tin), "option1255", "Tin"),
                       1, 2);
    sensors->addWidget(control(C::ToOption) =
                           makeOption(junctionGroup, int(ColdJunction::To), "option1256", "To"),
                       1, 3);
    sensors->addWidget(control(C::ToEdit) = makeEdit(E::ToValue, "edit1257"), 1, 4);
    sensors->addWidget(control(C::ToUnitLabel) = MakeLabel("label1131", "°C", this), 1, 5);
    sensors->addWidget(control(C::RtdOption) =
                           makeOption(sensorGroup, int(RangeFunction::Rtd), "option1243", "RTD"),
                       2, 0);
    sensors->addWidget(control(C::RtdList) = thermometers, 2, 1, 1, 5);
    sensors->addWidget(control(C::RlLabel) = MakeLabel("label1269", "RL", this), 3, 3,
                       Qt::AlignRight);
    sensors->addWidget(control(C::RlEdit) = makeEdit(E::RlValue, "edit1260"), 3, 4);
    sensors->addWidget(control(C::RlUnitLabel) = MakeLabel("label1132", "Ohm", this), 3, 5);
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
            action(value);
            Sync();
            if (auto focus = rangeEditor.takeFocusRequest())
                edit(*focus)->setFocus();
        };
    };
    auto item = [this, after](void (RangeEditor::*select)(int)) {
        return after([this, select](int index) { (rangeEditor.*select)(index); });
    };
    connect(functionGroup, &QButtonGroup::idClicked, this,
            after([this](int id) { rangeEditor.ChooseQuantity(Q(id)); }));
    connect(sensorGroup, &QButtonGroup::idClicked, this,
            after([this](int id) { rangeEditor.ChooseSensorKind(RangeFunction(id)); }));
    connect(junctionGroup, &QButtonGroup::idClicked, this,
            after([this](int id) { rangeEditor.ChooseJunction(ColdJunction(id)); }));
    connect(voltageUnits, &QComboBox::activated, this, item(&RangeEditor::SelectVoltageUnit));
    connect(resistanceUnits, &QComboBox::activated, this, item(&RangeEditor::SelectResistanceUnit));
    connect(thermocouples, &QComboBox::activated, this, item(&RangeEditor::SelectThermocouple));
    connect(thermometers, &QComboBox::activated, this,
            item(&RangeEditor::SelectResistanceThermometer));
    connect(constUnitTexts, &QComboBox::activated, this, item(&RangeEditor::SelectConstUnit));
}

void CRangeDlg::OnEditChanged(RangeEditor::Edit which)
{
    if (!opened)
        return;
    QLineEdit* changed = edit(which);
    const QString typed = changed->text();
    const int caret = changed->cursorPosition();
    rangeEditor.EditChanged(which, typed);
    // A text written back by Sync comes here again; the editor finds it normalised.
    if (syncing)
        return;
    Sync(which, typed, caret);
    if (auto focus = rangeEditor.takeFocusRequest())
        edit(*focus)->setFocus();
}

void CRangeDlg::SetChecked(QButtonGroup* group, std::optional<int> id)
{
    if (!id) {
        group->setExclusive(false);
        for (QAbstractButton* button : group->buttons())
            button->setChecked(false);
        group->setExclusive(true);
    } else if (QAbstractButton* button = group->button(*id)) {
        button->setChecked(true);
    }
}

void CRangeDlg::Sync(std::optional<RangeEditor::Edit> changedEdit, const QString& typed, int caret)
{
    syncing = true;
    SetChecked(functionGroup, IdOf(rangeEditor.quantity()));
    SetChecked(sensorGroup, IdOf(rangeEditor.sensorKind()));
    SetChecked(junctionGroup, IdOf(rangeEditor.junction()));
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

    for (int e = 0; e < RangeEditor::editCount; ++e) {
        const auto which = RangeEditor::Edit(e);
        QLineEdit* edit = lineEdits[e];
        const QString text = rangeEditor.text(which);
        if (edit->text() == text) // written back only when it differs: no endless chain
            continue;
        edit->setText(text);
        if (which != changedEdit)
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

    for (int c = 0; c < RangeEditor::controlCount; ++c)
        controlWidgets[c]->setEnabled(rangeEditor.isEnabled(RangeEditor::Control(c)));
    syncing = false;
}

void CRangeDlg::accept()
{
    if (!rangeEditor.Accept()) {
        if (auto focus = rangeEditor.takeFocusRequest())
            edit(*focus)->setFocus();
        return;
    }
    rangeEditor.StoreInto(rangeSlot);
    QDialog::accept();
}
