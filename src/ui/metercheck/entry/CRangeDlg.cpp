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
    if (auto focus = rangeEditor.TakeFocusRequest())
        LineEdit(*focus)->setFocus();
    else if (const auto quantity = rangeEditor.ChosenQuantity())
        LineEdit(RangeEditor::RangeEditFor(*quantity))->setFocus();
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
    // Created in the order the Tab key goes through them; each control is named after what it
    // holds, with its number beside it.
    auto* voltageOption =
        makeOption(functionGroup, int(Q::Voltage), "voltageOption", "Napięcie"); // 1239
    auto* currentOption =
        makeOption(functionGroup, int(Q::Current), "currentOption", "Prąd"); // 1240
    auto* resistanceOption =
        makeOption(functionGroup, int(Q::Resistance), "resistanceOption", "Rezystancja"); // 1241
    auto* temperatureOption =
        makeOption(functionGroup, int(Q::Temperature), "temperatureOption", "Temperatura"); // 1244
    control(C::VoltageEdit) = makeEdit(E::VoltageValue, "voltageValue");                    // 1245
    control(C::CurrentEdit) = makeEdit(E::CurrentValue, "currentValue");                    // 1249
    control(C::ResistanceEdit) = makeEdit(E::ResistanceValue, "resistanceValue");           // 1250
    control(C::TemperatureEdit) = makeEdit(E::TemperatureValue, "temperatureValue");        // 1259
    control(C::VoltageUnitList) = voltageUnitList =
        MakeList("voltageUnitList", RangeEditor::VoltageUnits(), this); // 1158
    control(C::ResistanceUnitList) = resistanceUnitList =
        MakeList("resistanceUnitList", RangeEditor::ResistanceUnits(), this);         // 1160
    control(C::CurrentUnitLabel) = MakeLabel("currentUnitLabel", "mA", this);         // 1134
    control(C::TemperatureUnitLabel) = MakeLabel("temperatureUnitLabel", "°C", this); // 1133
    auto* functions = new QGridLayout;
    functions->addWidget(voltageOption, 0, 0);
    functions->addWidget(currentOption, 1, 0);
    functions->addWidget(resistanceOption, 2, 0);
    functions->addWidget(temperatureOption, 3, 0);
    functions->addWidget(control(C::VoltageEdit), 0, 1);
    functions->addWidget(control(C::CurrentEdit), 1, 1);
    functions->addWidget(control(C::ResistanceEdit), 2, 1);
    functions->addWidget(control(C::TemperatureEdit), 3, 1);
    functions->addWidget(voltageUnitList, 0, 2);
    functions->addWidget(control(C::CurrentUnitLabel), 1, 2);
    functions->addWidget(resistanceUnitList, 2, 2);
    functions->addWidget(control(C::TemperatureUnitLabel), 3, 2);
    functions->setColumnStretch(3, 1);

    control(C::ThermocoupleList) = thermocoupleList =
        MakeList("thermocoupleList", CalFunctions::ThermocoupleNames(), this); // 1253
    control(C::RtdList) = rtdList =
        MakeList("rtdList", CalFunctions::ResistanceThermometerNames(), this); // 1258
    control(C::ThermocoupleOption) = makeOption(sensorGroup, int(RangeFunction::Thermocouple),
                                                "thermocoupleOption", "T/C"); // 1242
    control(C::TexOption) =
        makeOption(junctionGroup, int(ColdJunction::Tex), "texOption", "Tex"); // 1254
    control(C::TinOption) =
        makeOption(junctionGroup, int(ColdJunction::Tin), "tinOption", "Tin"); // 1255
    control(C::ToOption) =
        makeOption(junctionGroup, int(ColdJunction::To), "toOption", "To"); // 1256
    control(C::ToEdit) = makeEdit(E::ToValue, "toValue");                   // 1257
    control(C::ToUnitLabel) = MakeLabel("toUnitLabel", "°C", this);         // 1131
    control(C::RtdOption) =
        makeOption(sensorGroup, int(RangeFunction::Rtd), "rtdOption", "RTD"); // 1243
    control(C::RlLabel) = MakeLabel("rlLabel", "RL", this);                   // 1269
    control(C::RlEdit) = makeEdit(E::RlValue, "rlValue");                     // 1260
    control(C::RlUnitLabel) = MakeLabel("rlUnitLabel", "Ohm", this);          // 1132
    auto* sensors = new QGridLayout;
    sensors->addWidget(control(C::ThermocoupleOption), 0, 0);
    sensors->addWidget(thermocoupleList, 0, 1, 1, 5);
    sensors->addWidget(control(C::TexOption), 1, 1);
    sensors->addWidget(control(C::TinOption), 1, 2);
    sensors->addWidget(control(C::ToOption), 1, 3);
    sensors->addWidget(control(C::ToEdit), 1, 4);
    sensors->addWidget(control(C::ToUnitLabel), 1, 5);
    sensors->addWidget(control(C::RtdOption), 2, 0);
    sensors->addWidget(rtdList, 2, 1, 1, 5);
    sensors->addWidget(control(C::RlLabel), 3, 3, Qt::AlignRight);
    sensors->addWidget(control(C::RlEdit), 3, 4);
    sensors->addWidget(control(C::RlUnitLabel), 3, 5);
    auto* sensorFrame = new QGroupBox(this);
    sensorFrame->setLayout(sensors);

    constUnitList = MakeList("constUnitList", {}, this); // 1161
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
    auto* classReading = makeEdit(E::ClassReading, "classReading"); // 1246
    classes->addWidget(classFrame("% wartości mierzonej", classReading));
    auto* classRange = makeEdit(E::ClassRange, "classRange"); // 1251
    classes->addWidget(classFrame("% zakresu", classRange));
    auto* constTerm = makeEdit(E::ConstTerm, "constTerm"); // 1252
    classes->addWidget(classFrame("( + składowa stała )", constTerm, constUnitList));

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("okButton"); // 1
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Anuluj"), this);
    cancel->setObjectName("cancelButton"); // 2
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
            if (auto focus = rangeEditor.TakeFocusRequest())
                LineEdit(*focus)->setFocus();
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
    connect(voltageUnitList, &QComboBox::activated, this, item(&RangeEditor::SelectVoltageUnit));
    connect(resistanceUnitList, &QComboBox::activated, this,
            item(&RangeEditor::SelectResistanceUnit));
    connect(thermocoupleList, &QComboBox::activated, this, item(&RangeEditor::SelectThermocouple));
    connect(rtdList, &QComboBox::activated, this, item(&RangeEditor::SelectResistanceThermometer));
    connect(constUnitList, &QComboBox::activated, this, item(&RangeEditor::SelectConstUnit));
}

void CRangeDlg::OnEditChanged(RangeEditor::Edit which)
{
    if (!opened)
        return;
    QLineEdit* changed = LineEdit(which);
    const QString typed = changed->text();
    const int caret = changed->cursorPosition();
    rangeEditor.EditChanged(which, typed);
    // A text written back by Sync comes here again; the editor finds it normalised.
    if (syncing)
        return;
    Sync(which, typed, caret);
    if (auto focus = rangeEditor.TakeFocusRequest())
        LineEdit(*focus)->setFocus();
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
    SetChecked(functionGroup, IdOf(rangeEditor.ChosenQuantity()));
    SetChecked(sensorGroup, IdOf(rangeEditor.ChosenSensorKind()));
    SetChecked(junctionGroup, IdOf(rangeEditor.ChosenJunction()));
    voltageUnitList->setCurrentIndex(rangeEditor.VoltageUnit());
    resistanceUnitList->setCurrentIndex(rangeEditor.ResistanceUnit());
    thermocoupleList->setCurrentIndex(rangeEditor.Thermocouple());
    rtdList->setCurrentIndex(rangeEditor.ResistanceThermometer());
    QStringList shown;
    for (int i = 0; i < constUnitList->count(); ++i)
        shown << constUnitList->itemText(i);
    if (shown != rangeEditor.ConstUnits()) {
        constUnitList->clear();
        constUnitList->addItems(rangeEditor.ConstUnits());
    }
    constUnitList->setCurrentIndex(rangeEditor.ConstUnit());

    for (int e = 0; e < RangeEditor::editCount; ++e) {
        const auto which = RangeEditor::Edit(e);
        QLineEdit* edit = lineEdits[e];
        const QString text = rangeEditor.Text(which);
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
        controlWidgets[c]->setEnabled(rangeEditor.IsEnabled(RangeEditor::Control(c)));
    syncing = false;
}

void CRangeDlg::accept()
{
    if (!rangeEditor.Accept()) {
        if (auto focus = rangeEditor.TakeFocusRequest())
            LineEdit(*focus)->setFocus();
        return;
    }
    rangeEditor.StoreInto(rangeSlot);
    QDialog::accept();
}
