// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include <functional>
#include <optional>

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

    // Receives the accepted text on OK, nothing when the dialog was cancelled.
    using Closed = std::function<void(const std::optional<QString>& accepted)>;

    virtual ~ParamPrompt() = default;
    // Asks, and runs `closed` as the dialog closes: the follow-up of a parameter belongs to
    // the closing, before any key or click that came after it is handled.
    virtual void Ask(const Request& request, const Closed& closed) = 0;
};
