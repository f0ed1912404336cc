// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class CommandSender;

// The calibrator output of the exact-reading dialog: the operator moves it in steps of one
// digit until the meter shows the nominal value. Every change goes to the calibrator at once.
class ExactReadingControl
{
public:
    // Starts at the value last sent (setpointText) of calibrator function `functionIndex`.
    ExactReadingControl(int functionIndex, const QString& startText, CommandSender& sender);

    static constexpr int digitCount = 5;
    static constexpr int digitButtonY = 171;
    // x of the button of digit `position` (1 = least significant) when the output has
    // `decimals` decimals: the buttons sit under the digits of the display, skipping the point.
    static int DigitButtonX(int decimals, int position);

    double OutputValue() const { return outputValue; }
    double StepValue() const { return stepValue; }
    int DigitPosition() const { return digitPosition; }
    int Decimals() const { return decimals; }
    // True while the sign button says the output is not negative.
    bool SignFlag() const { return signFlag; }

    // The display: magnitude with the function's decimals, and "-" for a negative output.
    QString MagnitudeText() const;
    QString SignText() const;
    // The set-value command of the output ("N-12.345", "N0.050").
    QString OutputCommand() const;

    // Chooses the digit the spin changes (1-5).
    void SelectDigit(int position);
    // One step up or down; refused beyond the function's limits. The output is sent either way.
    bool StepUp();
    bool StepDown();

    // A key-down anywhere in the dialog: the arrow keys step, and every key re-sends the
    // output. Returns true for "+" and "-", which also press the sign button.
    bool KeyDown(int qtKey);

    // The sign button: a negative output when the flag was set, a positive one otherwise;
    // then the flag turns over and the output is sent. A sign the function cannot produce (a
    // negative resistance) is refused: nothing changes and false is returned.
    bool ToggleSign();

    void SendOutput();

    // The output as it is stored in the point's setting.
    QString SettingText() const;

private:
    bool Step(double delta);
    double Rounded(double value) const;

    CommandSender& sender;
    double lowLimit = 0;
    double highLimit = 0;
    int decimals = 1;
    double outputValue = 0;
    double stepValue = 0.1;
    int digitPosition = 1;
    bool signFlag = true;
};
