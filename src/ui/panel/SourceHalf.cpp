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
    display->setObjectName(QStringLiteral("sourceDisplay")); // 1090
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
    heading->setObjectName(QStringLiteral("sourceHeading")); // 1153
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
    const QStringList familyNames = {QStringLiteral("sourceFamilyRange"), // 1205
                                     QStringLiteral("sourceFamilyTc"),    // 1206
                                     QStringLiteral("sourceFamilyRtd")};  // 1207
    const int familyY[] = {28, 69, 108};
    auto* familyGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* option = Placed(new OptionButton(familyCaptions[i], this), 286, familyY[i], 40, 13);
        option->setObjectName(familyNames[i]);
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
        radio->setObjectName(QStringLiteral("sourceRange_") + radios[i].name); // 1093-1099, 1112
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
    thermocoupleList->setObjectName(QStringLiteral("sourceThermocouples")); // 1156
    thermocoupleList->addItems(ThermocoupleNames());
    connect(thermocoupleList, &QComboBox::activated, this,
            [this](int index) { Act([&] { logic.SelectThermocouple(index); }); });
    junctionGroup = new QButtonGroup(this);
    const QStringList junctions = {QStringLiteral("Tex"), QStringLiteral("Tin"), // 1071, 1072
                                   QStringLiteral("To")};                        // 1070
    for (int i = 0; i < 3; ++i) {
        auto* junction = Placed(new QRadioButton(junctions[i], this), 436, 65 + 11 * i, 30, 10);
        junction->setObjectName(QStringLiteral("sourceJunction_") + junctions[i]);
        CompactChoice(junction);
        junctionGroup->addButton(junction, i);
    }
    connect(junctionGroup, &QButtonGroup::idClicked, this,
            [this](int id) { Act([&] { logic.ChooseColdJunction(ColdJunction(id)); }); });
    toButton = AddKey(QStringLiteral("0.0"), 472, 86, 24, 13, valueFace, ValueFont());
    toButton->setObjectName(QStringLiteral("sourceToButton")); // 1204
    connect(toButton, &QAbstractButton::clicked, this,
            [this] { Act([&] { logic.EnterColdJunctionTemperature(); }); });
    degreeLabel = AddLabel(QStringLiteral("°C"), 499, 88, 16, 10);

    rtdList = Placed(new QComboBox(this), 330, 118, 96, 14);
    rtdList->setObjectName(QStringLiteral("sourceRtds")); // 1157
    rtdList->addItems(RtdNames());
    connect(rtdList, &QComboBox::activated, this,
            [this](int index) { Act([&] { logic.SelectRtd(index); }); });
    rlBox = Placed(new QCheckBox(QStringLiteral("RL"), this), 436, 120, 28, 10);
    rlBox->setObjectName(QStringLiteral("sourceRlBox")); // 1074
    CompactChoice(rlBox);
    connect(rlBox, &QAbstractButton::clicked, this,
            [this](bool checked) { Act([&] { logic.SetLeadResistance(checked); }); });
    rlButton = AddKey(QStringLiteral("0.00"), 466, 117, 24, 16, valueFace, ValueFont());
    rlButton->setObjectName(QStringLiteral("sourceRlButton")); // 1203
    connect(rlButton, &QAbstractButton::clicked, this,
            [this] { Act([&] { logic.EnterLeadResistance(); }); });
    ohmLabel = AddLabel(ohmSign, 493, 120, 12, 10);
}

void SourceHalf::BuildKeypad()
{
    // The keys' names say what they are: sourceKey_7, sourceKey_Point, sourceKey_Enter...
    struct KeyPlace
    {
        const char* caption;
        const char* what;
        int x, y, h;
    };
    const KeyPlace places[] = {
        {"7", "7", 288, 245, 16},       // 1174
        {"8", "8", 316, 245, 16},       // 1175
        {"9", "9", 344, 245, 16},       // 1176
        {"4", "4", 288, 264, 16},       // 1178
        {"5", "5", 316, 264, 16},       // 1179
        {"6", "6", 344, 264, 16},       // 1180
        {"1", "1", 288, 283, 16},       // 1181
        {"2", "2", 316, 283, 16},       // 1182
        {"3", "3", 344, 283, 16},       // 1183
        {"+/-", "Sign", 288, 302, 16},  // 1184
        {"0", "0", 316, 302, 16},       // 1185
        {".", "Point", 344, 302, 16},   // 1186
        {"E", "Enter", 372, 245, 54},   // 1187
        {"CE", "Cancel", 372, 302, 16}, // 1172
    };
    for (const KeyPlace& place : places) {
        ColorButton* key = AddKey(QLatin1String(place.caption), place.x, place.y, 24, place.h,
                                  keypadFace, KeyFont());
        key->setObjectName(QStringLiteral("sourceKey_") + QLatin1String(place.what));
        keypadButtons << key;
    }
    keypadButtons.last()->setTextColor(cancelText);

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
    operateButton->setObjectName(QStringLiteral("sourceOperate")); // 1171
    Place(operateButton, originX, originY, 492, 245, 24, 16);
    operateButton->setBackColor(stepFace);
    operateButton->setFont(KeyFont());
    operateButton->setFocusPolicy(Qt::NoFocus);
    operateButton->setAutoDefault(false);
    connect(operateButton, &ToggleButton::valueClicked, this,
            [this] { Act([&] { logic.SwitchOperate(); }); });

    AddLabel(deltaSign + QStringLiteral(" ="), 412, 267, 17, 10)->setAlignment(Qt::AlignRight);
    deltaButton = AddKey(QStringLiteral("0.000"), 430, 264, 30, 16, valueFace, ValueFont());
    deltaButton->setObjectName(QStringLiteral("sourceDeltaButton")); // 1200
    connect(deltaButton, &QAbstractButton::clicked, this,
            [this] { Act([&] { logic.EnterDeltaStep(); }); });
    AddLabel(QStringLiteral("M ="), 464, 267, 21, 10)->setAlignment(Qt::AlignRight);
    mButton = AddKey(QStringLiteral("0.000"), 486, 264, 30, 16, valueFace, ValueFont());
    mButton->setObjectName(QStringLiteral("sourceMButton")); // 1201
    connect(mButton, &QAbstractButton::clicked, this, [this] { Act([&] { logic.EnterMStep(); }); });

    // StepKey order: Up, Down, FastUp, FastDown, DeltaUp, DeltaDown, MUp, MDown.
    struct KeyPlace
    {
        QString caption;
        const char* name;
        int x, y;
    };
    const KeyPlace places[8] = {
        {upArrow, "sourceStep_Up", 436, 302},                                 // 1189
        {downArrow, "sourceStep_Down", 464, 302},                             // 1190
        {upArrow + upArrow, "sourceStep_FastUp", 408, 302},                   // 1188
        {downArrow + downArrow, "sourceStep_FastDown", 492, 302},             // 1191
        {QStringLiteral("+ ") + deltaSign, "sourceStep_DeltaUp", 408, 283},   // 1196
        {QStringLiteral("- ") + deltaSign, "sourceStep_DeltaDown", 436, 283}, // 1197
        {QStringLiteral("+ M"), "sourceStep_MUp", 464, 283},                  // 1198
        {QStringLiteral("- M"), "sourceStep_MDown", 492, 283},                // 1199
    };
    for (int i = 0; i < 8; ++i) {
        ColorButton* key =
            AddKey(places[i].caption, places[i].x, places[i].y, 24, 16, stepFace, KeyFont());
        key->setObjectName(QLatin1String(places[i].name));
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
