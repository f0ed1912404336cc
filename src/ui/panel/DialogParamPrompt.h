// SPDX-License-Identifier: MIT
#pragma once

#include "core/panel/ParamPrompt.h"

class MessageService;
class QWidget;

// Runs CParamDlg modally over the owner window.
class DialogParamPrompt : public ParamPrompt
{
public:
    explicit DialogParamPrompt(MessageService& messages, QWidget* owner = nullptr)
        : messages(messages), owner(owner)
    {}
    void Ask(const Request& request, const Closed& closed) override;

private:
    MessageService& messages;
    QWidget* owner;
};
