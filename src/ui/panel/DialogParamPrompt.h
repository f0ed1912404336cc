// SPDX-License-Identifier: MIT
#pragma once

#include "core/panel/ParamPrompt.h"

class QWidget;

// Runs CParamDlg modally over the owner window.
class DialogParamPrompt : public ParamPrompt
{
public:
    explicit DialogParamPrompt(QWidget* owner = nullptr) : owner(owner) {}
    void Ask(const Request& request, const Closed& closed) override;

private:
    QWidget* owner;
};
