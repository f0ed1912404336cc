// SPDX-License-Identifier: MIT
#pragma once

#include "core/panel/PanelState.h"

#include <QWidget>

#include <memory>

class CMeterDisplay;
class ColorButton;
class DialogParamPrompt;
class MessageService;
class CommandSender;
class MeasureLogic;
class OptionButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class ToggleButton;

// The left half of the control panel, headed "METER": what the calibrator measures, the
// readout of its reading, HOLD and the statistics. It places itself in the panel at the
// half's place (heading and frame); the panel calls Poll from its poll timer and passes on
// the keys "H" and "R". The averaging timer belongs to this half.
class MeterHalf : public QWidget
{
    Q_OBJECT

public:
    MeterHalf(QWidget* parent, CommandSender& sender, MessageService& messages);
    ~MeterHalf() override;

    // Top left of the half (its heading) in the panel's dialog units.
    static constexpr int originX = 7;
    static constexpr int originY = 6;
    // Where the half stands in the panel, in pixels (the heading at the top, the frame below).
    static QRect PanelGeometry();

    void Open();            // opening state; nothing is sent
    void ResetHalf();       // the measure half of the panel's reset
    void Poll();            // one poll of the reading (its reply comes later)
    void ToggleHold();      // key "H": the Hold toggle inverted, as if clicked
    void ResetStatistics(); // key "R" and the "Reset" button
    void StopAveraging();   // the panel is being closed

    MeasureLogic& Logic() { return *logic; }

signals:
    // A reply that came later (a reading, a command carried out or found the link given up)
    // was taken and shown.
    void replyTaken();

private:
    class WindowTimer;

    void BuildHeadingAndFrame();
    void BuildSelectors();
    void BuildStatistics();
    // Shows the logic's state in the controls (without reporting clicks) and redraws.
    void Refresh();
    // Places a child given in the panel's dialog units.
    template <typename W> W* Placed(W* widget, int x, int y, int w, int h);
    QLabel* AddLabel(const QString& text, int x, int y, int w, int h, Qt::Alignment align);

    PanelMeterState state; // what the readout shows; the logic changes it
    std::unique_ptr<WindowTimer> averagingTimer;
    std::unique_ptr<DialogParamPrompt> prompt;
    std::unique_ptr<MeasureLogic> logic;

    OptionButton* rangeFamily = nullptr;
    OptionButton* thermocoupleFamily = nullptr;
    OptionButton* rtdFamily = nullptr;
    QButtonGroup* rangeGroup = nullptr;
    QList<QRadioButton*> rangeRadios;
    QComboBox* thermocoupleList = nullptr;
    QComboBox* rtdList = nullptr;
    QCheckBox* rlBox = nullptr;
    ColorButton* rlButton = nullptr;
    QLabel* rlOhm = nullptr;
    CMeterDisplay* display = nullptr;
    ToggleButton* holdToggle = nullptr;
    ColorButton* resetButton = nullptr;
    ColorButton* avgButton = nullptr;
    QLabel* averageField = nullptr;
    QLabel* maxField = nullptr;
    QLabel* minField = nullptr;
    QLabel* spreadField = nullptr;
};
