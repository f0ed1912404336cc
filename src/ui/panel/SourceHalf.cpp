// SPDX-License-Identifier: MIT
#include "ui/panel/SourceHalf.h"

#include "ui/base/DialogUnits.h"
#include "ui/controls/ColorButton.h"
#include "ui/controls/OptionButton.h"
#include "ui/controls/ToggleButton.h"
#include "ui/panel/CSourceDisplay.h"
#include "ui/panel/PanelLook.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>

using namespace PanelLook;

namespace {

const QString ohmSign(QChar(0x03A9));
const QString deltaSign(QChar(0x0394));
const QString upArrow(QChar(0x21D1));
const QString downArrow(QChar(0x21D3));

template <typename W> W* Placed(W* widget, int x, int y, int w, int h)
{
    Place(widget, SourceHalf::originX, SourceHalf::originY, x, y, w, h);
    return widget;
}

} // namespace

template <typename F> void SourceHalf::Act(F&& action)
{
    action();
    Sync();
}

SourceHalf::SourceHalf(QWidget* parent, CommandSender& sender, MessageService& messages,
                       ParamPrompt* prompt)
    : QWidget(parent), dialogPrompt(messages, parent),
      logic(sender, prompt ? *prompt : dialogPrompt, state)
{
    setObjectName(QStringLiteral("sourceHalf"));
    setGeometry(PanelGeometry());
    BuildHeadingAndFrame();
    BuildSelection();
    display = Placed(new CSourceDisplay(state, this), 296, 155, 212, 64);
    BuildKeypad();
    BuildSteps();
    logic.repaint = [this] { display->Draw(); };
}

QRect SourceHalf::PanelGeometry()
{
    return DialogUnits::Rect(originX, originY, 240, 322);
}

void SourceHalf::BuildHeadingAndFrame()
{
    auto* heading = Placed(new QLabel(QStringLiteral("SOURCE"), this), 282, 6, 240, 16);
    heading->setAlignment(Qt::AlignCenter);
    heading->setFont(HeadingFont());
    heading->setAutoFillBackground(true);
    QPalette palette = heading->palette();
    palette.setColor(QPalette::Window, sourceHeadingBack);
    palette.setColor(QPalette::WindowText, sourceHeadingText);
    heading->setPalette(palette);

    auto* frame = Placed(new QFrame(this), 282, 22, 240, 306);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    for (int y : {60, 99, 138, 222}) {
        auto* line = Placed(new QFrame(this), 283, y, 238, 2);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
    }
}

void SourceHalf::BuildSelection()
{
    const QStringList familyCaptions = {QStringLiteral("RANGE"), QStringLiteral("T/C"),
                                        QStringLiteral("RTD")};
    const int familyY[] = {28, 69, 108};
    auto* familyGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* option = Placed(new OptionButton(familyCaptions[i], this), 286, familyY[i], 40, 13);
        option->setBackColor(sourceHeadingBack);
        option->setTextColor(familyText);
        option->setFont(FamilyFont());
        option->setFocusPolicy(Qt::NoFocus);
        FitWidth(option);
        familyGroup->addButton(option, i);
        familyButtons << option;
        connect(option, &QAbstractButton::clicked, this,
                [this, i] { Act([&] { logic.ChooseFamily(SourceFamily(i)); }); });
    }

    // Eight range radios in two rows of four; the columns fit their longest caption ("4000
    // Ohm"), after the widest family box.
    rangeGroup = new QButtonGroup(this);
    const auto& radios = SourceRadios();
    QList<QAbstractButton*> rangeRadios;
    for (int i = 0; i < radios.size(); ++i) {
        auto* radio = new QRadioButton(radios[i].caption, this);
        CompactChoice(radio);
        rangeGroup->addButton(radio, i);
        rangeRadios << radio;
    }
    using DialogUnits::X;
    using DialogUnits::Y;
    int familyRight = 0;
    for (OptionButton* option : familyButtons)
        familyRight = qMax(familyRight, option->geometry().right());
    PlaceGrid(rangeRadios, 4, familyRight + 3, X(originX + 240) - X(originX) - 3,
              {Y(32) - Y(originY), Y(46) - Y(originY)}, Y(10));
    connect(rangeGroup, &QButtonGroup::idClicked, this,
            [this](int id) { Act([&] { logic.CheckRange(SourceRadios()[id].name); }); });

    thermocoupleList = Placed(new QComboBox(this), 330, 79, 96, 14);
    thermocoupleList->addItems(ThermocoupleNames());
    connect(thermocoupleList, &QComboBox::activated, this,
            [this](int index) { Act([&] { logic.SelectThermocouple(index); }); });
    junctionGroup = new QButtonGroup(this);
    const QStringList junctions = {QStringLiteral("Tex"), QStringLiteral("Tin"),
                                   QStringLiteral("To")};
    for (int i = 0; i < 3; ++i) {
        auto* junction = Placed(new QRadioButton(junctions[i], this), 436, 65 + 11 * i, 30, 10);
        CompactChoice(junction);
        junctionGroup->addButton(junction, i);
    }
    connect(junctionGroup, &QButtonGroup::idClicked, this,
            [this](int id) { Act([&] { logic.ChooseColdJunction(ColdJunction(id)); }); });
    toButton = AddKey(QStringLiteral("0.0"), 472, 86, 24, 13, valueFace, ValueFont());
    connect(toButton, &QAbstractButton::clicked, this,
            [this] { Act([&] { logic.EnterColdJunctionTemperature(); }); });
    degreeLabel = AddLabel(QStringLiteral("°C"), 499, 88, 16, 10);

    rtdList = Placed(new QComboBox(this), 330, 118, 96, 14);
    rtdList->addItems(RtdNames());
    connect(rtdList, &QComboBox::activated, this,
            [this](int index) { Act([&] { logic.SelectRtd(index); }); });
    rlBox = Placed(new QCheckBox(QStringLiteral("RL"), this), 436, 120, 28, 10);
    CompactChoice(rlBox);
    connect(rlBox, &QAbstractButton::clicked, this,
            [this](bool checked) { Act([&] { logic.SetLeadResistance(checked); }); });
    rlButton = AddKey(QStringLiteral("0.00"), 466, 117, 24, 16, valueFace, ValueFont());
    connect(rlButton, &QAbstractButton::clicked, this,
            [this] { Act([&] { logic.EnterLeadResistance(); }); });
    ohmLabel = AddLabel(ohmSign, 493, 120, 12, 10);
}

void SourceHalf::BuildKeypad()
{
    const QString digitRows[3] = {QStringLiteral("789"), QStringLiteral("456"),
                                  QStringLiteral("123")};
    const int columns[3] = {288, 316, 344};
    const int rows[4] = {245, 264, 283, 302};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            keypadButtons << AddKey(digitRows[r].mid(c, 1), columns[c], rows[r], 24, 16, keypadFace,
                                    KeyFont());
    keypadButtons << AddKey(QStringLiteral("+/-"), columns[0], rows[3], 24, 16, keypadFace,
                            KeyFont());
    keypadButtons << AddKey(QStringLiteral("0"), columns[1], rows[3], 24, 16, keypadFace,
                            KeyFont());
    keypadButtons << AddKey(QStringLiteral("."), columns[2], rows[3], 24, 16, keypadFace,
                            KeyFont());
    keypadButtons << AddKey(QStringLiteral("E"), 372, 245, 24, 54, keypadFace, KeyFont());
    ColorButton* cancel = AddKey(QStringLiteral("CE"), 372, 302, 24, 16, keypadFace, KeyFont());
    cancel->setTextColor(cancelText);
    keypadButtons << cancel;

    for (ColorButton* key : keypadButtons) {
        const QString caption = key->QAbstractButton::text();
        connect(key, &QAbstractButton::clicked, this, [this, caption] {
            Act([&] {
                if (caption == QLatin1String("+/-"))
                    logic.PlusMinus();
                else if (caption == QLatin1String("E"))
                    logic.Enter();
                else if (caption == QLatin1String("CE"))
                    logic.CancelEntry();
                else
                    logic.KeypadKey(caption.at(0));
            });
        });
    }
}

void SourceHalf::BuildSteps()
{
    operateButton = new ToggleButton(QStringLiteral("O/S"), this);
    Place(operateButton, originX, originY, 492, 245, 24, 16);
    operateButton->setBackColor(stepFace);
    operateButton->setFont(KeyFont());
    operateButton->setFocusPolicy(Qt::NoFocus);
    operateButton->setAutoDefault(false);
    connect(operateButton, &ToggleButton::valueClicked, this,
            [this] { Act([&] { logic.SwitchOperate(); }); });

    AddLabel(deltaSign + QStringLiteral(" ="), 412, 267, 17, 10)->setAlignment(Qt::AlignRight);
    deltaButton = AddKey(QStringLiteral("0.000"), 430, 264, 30, 16, valueFace, ValueFont());
    connect(deltaButton, &QAbstractButton::clicked, this,
            [this] { Act([&] { logic.EnterDeltaStep(); }); });
    AddLabel(QStringLiteral("M ="), 464, 267, 21, 10)->setAlignment(Qt::AlignRight);
    mButton = AddKey(QStringLiteral("0.000"), 486, 264, 30, 16, valueFace, ValueFont());
    connect(mButton, &QAbstractButton::clicked, this, [this] { Act([&] { logic.EnterMStep(); }); });

    // StepKey order: Up, Down, FastUp, FastDown, DeltaUp, DeltaDown, MUp, MDown.
    struct KeyPlace
    {
        QString caption;
        int x, y;
    };
    const KeyPlace places[8] = {
        {upArrow, 436, 302},
        {downArrow, 464, 302},
        {upArrow + upArrow, 408, 302},
        {downArrow + downArrow, 492, 302},
        {QStringLiteral("+ ") + deltaSign, 408, 283},
        {QStringLiteral("- ") + deltaSign, 436, 283},
        {QStringLiteral("+ M"), 464, 283},
        {QStringLiteral("- M"), 492, 283},
    };
    for (int i = 0; i < 8; ++i) {
        ColorButton* key =
            AddKey(places[i].caption, places[i].x, places[i].y, 24, 16, stepFace, KeyFont());
        stepButtons << key;
        connect(key, &QAbstractButton::clicked, this,
                [this, i] { Act([&] { logic.Step(StepKey(i)); }); });
    }
}

ColorButton* SourceHalf::AddKey(const QString& caption, int x, int y, int w, int h,
                                const QColor& face, const QFont& font)
{
    auto* key = Placed(new ColorButton(caption, this), x, y, w, h);
    key->setBackColor(face);
    key->setFont(font);
    // The keys never take the focus, so the panel's keyboard always reaches the panel.
    key->setFocusPolicy(Qt::NoFocus);
    key->setAutoDefault(false);
    return key;
}

QLabel* SourceHalf::AddLabel(const QString& text, int x, int y, int w, int h)
{
    return Placed(new QLabel(text, this), x, y, w, h);
}

void SourceHalf::Sync()
{
    const SourceFamily family = logic.Family();
    for (int i = 0; i < familyButtons.size(); ++i) {
        const QSignalBlocker block(familyButtons[i]);
        familyButtons[i]->setChecked(int(family) == i);
    }

    const bool range = family == SourceFamily::Range;
    const bool thermocouple = family == SourceFamily::Thermocouple;
    const bool rtd = family == SourceFamily::Rtd;

    const auto& radios = SourceRadios();
    rangeGroup->setExclusive(false);
    for (int i = 0; i < radios.size(); ++i) {
        QAbstractButton* radio = rangeGroup->button(i);
        radio->setChecked(radios[i].name == logic.CheckedRange());
        radio->setEnabled(range);
    }
    rangeGroup->setExclusive(true);

    thermocoupleList->setCurrentIndex(logic.ThermocoupleIndex());
    thermocoupleList->setEnabled(thermocouple);
    for (int i = 0; i < 3; ++i) {
        junctionGroup->button(i)->setChecked(int(logic.Junction()) == i);
        junctionGroup->button(i)->setEnabled(thermocouple);
    }
    degreeLabel->setEnabled(thermocouple);
    toButton->setEnabled(logic.ToButtonEnabled());
    toButton->setText(logic.ToCaption());

    rtdList->setCurrentIndex(logic.RtdIndex());
    rtdList->setEnabled(rtd);
    rlBox->setChecked(logic.LeadResistanceChecked());
    rlBox->setEnabled(rtd);
    ohmLabel->setEnabled(rtd);
    rlButton->setEnabled(logic.LeadResistanceButtonEnabled());
    rlButton->setText(logic.LeadResistanceCaption());

    deltaButton->setText(logic.DeltaCaption());
    mButton->setText(logic.MCaption());
}

void SourceHalf::Open()
{
    Act([&] { logic.Open(); });
    // The toggle's click switches the calibrator to operate ("S1").
    operateButton->setPressed(true);
}

void SourceHalf::ResetHalf()
{
    Act([&] { logic.ResetHalf(); });
    // A click, and so "S1", only when the toggle was released.
    operateButton->setPressed(true);
}

bool SourceHalf::HandleKey(const PanelKeyAction& action)
{
    using A = PanelKeyAction::Kind;
    switch (action.kind) {
    case A::Keypad:
        Act([&] { logic.KeypadKey(action.key); });
        return true;
    case A::PlusMinus:
        Act([&] { logic.PlusMinus(); });
        return true;
    case A::Enter:
        Act([&] { logic.Enter(); });
        return true;
    case A::CancelEntry:
        Act([&] { logic.CancelEntry(); });
        return true;
    case A::OperateToggle:
        operateButton->toggle();
        return true;
    case A::StepUp:
        Act([&] { logic.Step(StepKey::Up); });
        return true;
    case A::StepDown:
        Act([&] { logic.Step(StepKey::Down); });
        return true;
    case A::StepFastUp:
        Act([&] { logic.Step(StepKey::FastUp); });
        return true;
    case A::StepFastDown:
        Act([&] { logic.Step(StepKey::FastDown); });
        return true;
    case A::DeltaUp:
        Act([&] { logic.Step(StepKey::DeltaUp); });
        return true;
    case A::DeltaDown:
        Act([&] { logic.Step(StepKey::DeltaDown); });
        return true;
    case A::MUp:
        Act([&] { logic.Step(StepKey::MUp); });
        return true;
    case A::MDown:
        Act([&] { logic.Step(StepKey::MDown); });
        return true;
    default:
        return false;
    }
}

QAbstractButton* SourceHalf::FamilyButton(SourceFamily family) const
{
    return familyButtons.value(int(family));
}

QAbstractButton* SourceHalf::RangeRadio(const QString& name) const
{
    const auto& radios = SourceRadios();
    for (int i = 0; i < radios.size(); ++i)
        if (radios[i].name == name)
            return rangeGroup->button(i);
    return nullptr;
}

QAbstractButton* SourceHalf::JunctionRadio(ColdJunction junction) const
{
    return junctionGroup->button(int(junction));
}

ColorButton* SourceHalf::KeypadButton(const QString& caption) const
{
    for (ColorButton* key : keypadButtons)
        if (key->QAbstractButton::text() == caption)
            return key;
    return nullptr;
}

ColorButton* SourceHalf::StepButton(StepKey key) const
{
    return stepButtons.value(int(key));
}
