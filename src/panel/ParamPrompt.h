// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <optional>

class QWidget;

// Asks the user for one parameter of the control panel (step sizes, reference temperature,
// lead resistance, averaging time). The panel uses the parameter dialog; tests answer from
// a script.
class ParamPrompt
{
public:
    struct Request
    {
        QString caption; // e.g. "RL = "
        QString unit;    // may be empty
        double low = 0;
        double high = 0;
        QString initial; // the button's current caption
    };

    virtual ~ParamPrompt() = default;
    // The accepted text on OK, nothing when the dialog was cancelled.
    virtual std::optional<QString> Ask(const Request& request) = 0;
};

// Runs CParamDlg modally over the owner window.
class DialogParamPrompt : public ParamPrompt
{
public:
    explicit DialogParamPrompt(QWidget* owner = nullptr) : owner(owner) {}
    std::optional<QString> Ask(const Request& request) override;

private:
    QWidget* owner;
};
