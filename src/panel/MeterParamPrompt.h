#pragma once

#include <QString>

#include <optional>

// Asks the user for one number of the measure half (t, RL) in the parameter dialog.
// Gives the accepted text on OK, nothing when the dialog was cancelled.
class MeterParamPrompt
{
public:
    struct Request
    {
        QString caption;
        QString unit;
        double low = 0;
        double high = 0;
        QString initial; // the button's current caption
    };

    virtual ~MeterParamPrompt() = default;
    virtual std::optional<QString> Ask(const Request& request) = 0;
};
