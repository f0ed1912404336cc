// SPDX-License-Identifier: MIT
#include "ui/panel/MeterHalf.h"

#include "core/panel/AveragingTimer.h"
#include "core/panel/MeasureLogic.h"
#include "core/panel/MeasureRangeTable.h"
#include "core/panel/PanelState.h"
#include "core/panel/SourceRangeTable.h"
#include "ui/base/DialogUnits.h"
#include "ui/controls/ColorButton.h"
#include "ui/controls/OptionButton.h"
#include "ui/controls/ToggleButton.h"
#include "ui/panel/CMeterDisplay.h"
#include "ui/panel/DialogParamPrompt.h"
#include "ui/panel/PanelLook.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

using namespace PanelLook;

// Timer 2 of the panel: ends the averaging windows.
class MeterHalf::WindowTimer : public AveragingTimer
{
public:
    explicit WindowTimer(QObject* owner) : timer(owner) {}
    void Start(int periodMs) override { timer.start(periodMs); }
    void Stop() override { timer.stop(); }
    QTimer timer;
};

MeterHalf::MeterHalf(QWidget* parent, CommandSender& sender, MessageService& messages)
    : QWidget(parent), averagingTimer(std::make_unique<WindowTimer>(this)),
      prompt(std::make_unique<DialogParamPrompt>(messages, parent)),
      logic(std::make_unique<MeasureLogic>(sender, *averagingTimer, *prompt, state))
{
    setObjectName(QStringLiteral("meterHalf"));
    setGeometry(PanelGeometry());
    // Disabled captions in the darker grey that stays legible on the panel's grey.
    QPalette palette = this->palette();
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(128, 128, 128));
    setPalette(palette);
    BuildHeadingAndFrame();
    BuildSelectors();
    BuildStatistics();

    logic->changed = [this] {
        Refresh();
        emit replyTaken();
    };
    connect(&averagingTimer->timer, &QTimer::timeout, this, [this] {
        logic->EndAveragingWindow();
        Refresh();
    });
}

MeterHalf::~MeterHalf() = default;

QRect MeterHalf::PanelGeometry()
{
    return DialogUnits::Rect(originX, originY, 240, 322);
}

template <typename W> W* MeterHalf::Placed(W* widget, int x, int y, int w, int h)
{
    Place(widget, originX, originY, x, y, w, h);
    return widget;
}

QLabel* MeterHalf::AddLabel(const QString& text, int x, int y, int w, int h, Qt::Alignment align)
{
    auto* label = Placed(new QLabel(text, this), x, y, w, h);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}

void MeterHalf::BuildHeadingAndFrame()
{
    auto* heading = Placed(new QLabel(QStringLiteral("METER"), this), 7, 6, 240, 16);
    heading->setObjectName(QStringLiteral("meterHeading")); // 1154
    heading->setAlignment(Qt::AlignCenter);
    heading->setFont(HeadingFont());
    heading->setAutoFillBackground(true);
    QPalette palette = heading->palette();
    palette.setColor(QPalette::Window, meterHeadingBack);
    palette.setColor(QPalette::WindowText, meterHeadingText);
    heading->setPalette(palette);

    auto* frame = Placed(new QFrame(this), 7, 22, 240, 306);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    for (int y : {60, 99, 138, 222}) {
        auto* line = Placed(new QFrame(this), 8, y, 238, 2);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
    }
}

void MeterHalf::BuildSelectors()
{
    const QStringList captions = {QStringLiteral("RANGE"), QStringLiteral("T/C"),
                                  QStringLiteral("RTD")};
    const QStringList names = {QStringLiteral("meterFamilyRange"), // 1208
                               QStringLiteral("meterFamilyTc"),    // 1209
                               QStringLiteral("meterFamilyRtd")};  // 1210
    const int familyY[] = {28, 69, 108};
    auto* familyGroup = new QButtonGroup(this);
    OptionButton* families[3];
    for (int i = 0; i < 3; ++i) {
        auto* option = Placed(new OptionButton(captions[i], this), 11, familyY[i], 40, 13);
        option->setObjectName(names[i]);
        option->setBackColor(meterHeadingBack);
        option->setTextColor(familyText);
        option->setFont(FamilyFont());
        option->setFocusPolicy(Qt::NoFocus);
        FitWidth(option);
        familyGroup->addButton(option, i);
        families[i] = option;
        connect(option, &QAbstractButton::clicked, this, [this, i] {
            logic->ChooseFamily(MeasureFamily(i));
            Refresh();
        });
    }
    rangeFamily = families[0];
    thermocoupleFamily = families[1];
    rtdFamily = families[2];

    // Ten range radios in three rows, in the order of the source half's eight with "f" and
    // "Tex" below; the columns fit their longest caption, after the widest family box.
    rangeGroup = new QButtonGroup(this);
    const QList<MeasureRangeTable::RangeRadio>& radios = MeasureRangeTable::RangeRadios();
    for (int i = 0; i < radios.size(); ++i) {
        auto* radio = new QRadioButton(radios[i].caption, this);
        radio->setObjectName(QStringLiteral("meterRange_") + radios[i].name); // 1029-1037, 1168
        CompactChoice(radio);
        rangeGroup->addButton(radio, i);
        rangeRadios << radio;
    }
    using DialogUnits::X;
    using DialogUnits::Y;
    const int familyRight =
        qMax(rangeFamily->geometry().right(),
             qMax(thermocoupleFamily->geometry().right(), rtdFamily->geometry().right()));
    PlaceGrid(QList<QAbstractButton*>(rangeRadios.begin(), rangeRadios.end()), 4, familyRight + 3,
              X(originX + 240) - X(originX) - 3,
              {Y(30) - Y(originY), Y(40) - Y(originY), Y(50) - Y(originY)}, Y(9));
    connect(rangeGroup, &QButtonGroup::idClicked, this, [this](int id) {
        logic->CheckRange(MeasureRangeTable::RangeRadios()[id].name);
        Refresh();
    });

    thermocoupleList = Placed(new QComboBox(this), 55, 79, 96, 14);
    thermocoupleList->setObjectName(QStringLiteral("meterThermocouples")); // 1164
    thermocoupleList->addItems(ThermocoupleNames());
    connect(thermocoupleList, &QComboBox::activated, this, [this](int index) {
        logic->SelectThermocouple(index);
        Refresh();
    });

    rtdList = Placed(new QComboBox(this), 55, 118, 96, 14);
    rtdList->setObjectName(QStringLiteral("meterRtds")); // 1165
    rtdList->addItems(RtdNames());
    connect(rtdList, &QComboBox::activated, this, [this](int index) {
        logic->SelectRtd(index);
        Refresh();
    });

    rlBox = Placed(new QCheckBox(QStringLiteral("RL"), this), 161, 120, 28, 10);
    CompactChoice(rlBox);
    rlBox->setObjectName(QStringLiteral("meterRlBox")); // 1075
    connect(rlBox, &QAbstractButton::clicked, this, [this](bool checked) {
        logic->SetLeadResistance(checked);
        Refresh();
    });

    rlButton = Placed(new ColorButton(QStringLiteral("0.00"), this), 191, 117, 24, 16);
    rlButton->setObjectName(QStringLiteral("meterRlButton")); // 1202
    rlButton->setBackColor(valueFace);
    rlButton->setFont(ValueFont());
    rlButton->setAutoDefault(false);
    connect(rlButton, &QAbstractButton::clicked, this, [this] {
        logic->EnterLeadResistance();
        Refresh();
    });
    rlOhm = AddLabel(QString(QChar(0x03A9)), 218, 120, 12, 10, Qt::AlignLeft);

    display = Placed(new CMeterDisplay(state, this), 21, 155, 212, 64);
    display->setObjectName(QStringLiteral("meterDisplay")); // 1089
}

void MeterHalf::BuildStatistics()
{
    holdToggle = Placed(new ToggleButton(QStringLiteral("Hold"), this), 104, 234, 50, 16);
    holdToggle->setObjectName(QStringLiteral("meterHold")); // 1193
    holdToggle->setBackColor(stepFace);
    holdToggle->setFont(KeyFont());
    holdToggle->setFocusPolicy(Qt::NoFocus);
    holdToggle->setAutoDefault(false);
    connect(holdToggle, &ToggleButton::valueClicked, this, [this] {
        logic->SwitchHold();
        Refresh();
    });

    // "t" with "AVR" as its index, then the t button and "s".
    AddLabel(QStringLiteral("t"), 22, 270, 6, 14, Qt::AlignRight);
    AddLabel(QStringLiteral("AVR"), 28, 276, 14, 10, Qt::AlignLeft)->setFont(Arial(6, false));
    AddLabel(QStringLiteral("="), 39, 270, 5, 14, Qt::AlignLeft);
    avgButton = Placed(new ColorButton(QStringLiteral("10"), this), 45, 270, 17, 16);
    avgButton->setObjectName(QStringLiteral("meterAvgButton")); // 1195
    avgButton->setBackColor(valueFace);
    avgButton->setFont(ValueFont());
    avgButton->setAutoDefault(false);
    connect(avgButton, &QAbstractButton::clicked, this, [this] {
        logic->EnterAveragingTime();
        Refresh();
    });
    AddLabel(QStringLiteral("s"), 64, 270, 8, 16, Qt::AlignLeft);

    resetButton = Placed(new ColorButton(QStringLiteral("Reset"), this), 201, 269, 32, 16);
    resetButton->setObjectName(QStringLiteral("meterReset")); // 1192
    resetButton->setBackColor(stepFace);
    resetButton->setFont(KeyFont());
    resetButton->setFocusPolicy(Qt::NoFocus);
    resetButton->setAutoDefault(false);
    connect(resetButton, &QAbstractButton::clicked, this, &MeterHalf::ResetStatistics);

    auto field = [this](const QString& name, const QString& caption, int labelX, int x, int y,
                        int w, int h) {
        AddLabel(caption, labelX, y, x - labelX, h, Qt::AlignRight);
        auto* value = Placed(new QLabel(QStringLiteral("0.000"), this), x, y, w, h);
        value->setObjectName(name);
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return value;
    };
    averageField = field(QStringLiteral("meterAverage"), // 1147
                         QStringLiteral("AVR = "), 80, 113, 266, 63, 20);
    averageField->setFont(KeyFont());
    maxField = field(QStringLiteral("meterMax"), // 1227
                     QStringLiteral("MAX = "), 14, 47, 303, 37, 14);
    minField = field(QStringLiteral("meterMin"), // 1228
                     QStringLiteral("MIN = "), 92, 124, 303, 37, 14);
    spreadField = field(QStringLiteral("meterSpread"), // 1229
                        QString(QChar(0x0394)) + QStringLiteral(" = "), 170, 196, 303, 37, 14);
}

void MeterHalf::Open()
{
    logic->Open();
    Refresh();
}

void MeterHalf::ResetHalf()
{
    logic->ResetHalf();
    Refresh();
}

void MeterHalf::Poll()
{
    logic->PollReading();
    Refresh();
}

void MeterHalf::ToggleHold()
{
    holdToggle->toggle(); // reports the change, which runs HOLD
}

void MeterHalf::ResetStatistics()
{
    logic->ResetStatistics();
    Refresh();
}

void MeterHalf::StopAveraging()
{
    logic->StopAveraging();
}

void MeterHalf::Refresh()
{
    const MeasureFamily family = logic->Family();
    {
        const QSignalBlocker b1(rangeFamily), b2(thermocoupleFamily), b3(rtdFamily);
        rangeFamily->setChecked(family == MeasureFamily::Range);
        thermocoupleFamily->setChecked(family == MeasureFamily::Thermocouple);
        rtdFamily->setChecked(family == MeasureFamily::Rtd);
    }
    const QList<MeasureRangeTable::RangeRadio>& radios = MeasureRangeTable::RangeRadios();
    for (int i = 0; i < rangeRadios.size(); ++i) {
        rangeRadios[i]->setEnabled(family == MeasureFamily::Range);
        if (radios[i].name == logic->CheckedRange())
            rangeRadios[i]->setChecked(true);
    }
    thermocoupleList->setEnabled(family == MeasureFamily::Thermocouple);
    thermocoupleList->setCurrentIndex(logic->ThermocoupleIndex());
    const bool rtd = family == MeasureFamily::Rtd;
    rtdList->setEnabled(rtd);
    rtdList->setCurrentIndex(logic->RtdIndex());
    rlBox->setEnabled(rtd);
    rlBox->setChecked(logic->LeadResistanceChecked());
    rlOhm->setEnabled(rtd);
    rlButton->setEnabled(logic->LeadResistanceButtonEnabled());
    rlButton->setText(logic->LeadResistanceCaption());
    avgButton->setText(logic->AveragingCaption());
    {
        const QSignalBlocker blocker(holdToggle);
        holdToggle->setPressed(logic->State().holdOn);
    }

    const MeterStatistics& stats = logic->Statistics();
    averageField->setText(stats.averageText);
    maxField->setText(stats.maxText);
    minField->setText(stats.minText);
    spreadField->setText(stats.spreadText);
    display->Draw();
}
