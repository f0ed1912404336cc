// SPDX-License-Identifier: MIT
#pragma once

#include "core/panel/PanelKeys.h"
#include "core/panel/PanelState.h"
#include "core/panel/SourceLogic.h"
#include "ui/panel/DialogParamPrompt.h"

#include <QList>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class ColorButton;
class OptionButton;
class ToggleButton;
class CSourceDisplay;
class CommandSender;

// The right half of the control panel, headed "SOURCE": function family, range and sensor,
// the set-point keypad, operate/standby and the step keys. The rules are SourceLogic's; this
// widget shows its state and hands it the clicks. The half covers its heading and its frame;
// its children are placed in the panel's dialog units.
class SourceHalf : public QWidget
{
    Q_OBJECT

public:
    // Top left of the half (its heading) in the panel's dialog units.
    static constexpr int originX = 282;
    static constexpr int originY = 6;
    // Where the half stands in the panel, in pixels (the heading at the top, the frame below).
    static QRect PanelGeometry();

    // A null prompt means the parameter dialog, which tells its refusals through `messages`.
    SourceHalf(QWidget* parent, CommandSender& sender, MessageService& messages,
               ParamPrompt* prompt = nullptr);

    // Opening state of the half; nothing is sent except "S1" from the operate toggle.
    void Open();
    // The source half of the panel's reset.
    void ResetHalf();
    // A panel key meant for this half (keypad, enter, CE, O/S, steps); false when not.
    bool HandleKey(const PanelKeyAction& action);

    SourceLogic& Logic() { return logic; }

private:
    void BuildHeadingAndFrame();
    void BuildSelection();
    void BuildKeypad();
    void BuildSteps();
    ColorButton* AddKey(const QString& caption, int x, int y, int w, int h, const QColor& face,
                        const QFont& font);
    QLabel* AddLabel(const QString& text, int x, int y, int w, int h);
    // Runs a logic action and brings the controls up to date with it.
    template <typename F> void Act(F&& action);
    void Sync();

    DialogParamPrompt dialogPrompt;
    PanelSourceState state; // what the readout shows; the logic changes it
    SourceLogic logic;

    QList<OptionButton*> familyButtons;
    QButtonGroup* rangeGroup = nullptr;
    QButtonGroup* junctionGroup = nullptr;
    QComboBox* thermocoupleList = nullptr;
    QComboBox* rtdList = nullptr;
    QLabel* degreeLabel = nullptr;
    QCheckBox* rlBox = nullptr;
    QLabel* ohmLabel = nullptr;
    ColorButton* toButton = nullptr;
    ColorButton* rlButton = nullptr;
    ColorButton* deltaButton = nullptr;
    ColorButton* mButton = nullptr;
    CSourceDisplay* display = nullptr;
    ToggleButton* operateButton = nullptr;
    QList<ColorButton*> keypadButtons;
};
