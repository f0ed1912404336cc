// SPDX-License-Identifier: MIT
#pragma once

#include "metercheck/window/MeterCheckDialogRunner.h"

class QWidget;

// The meter check's dialogs on the screen, each modal over `parent`.
class ScreenDialogs : public MeterCheckDialogRunner
{
public:
    explicit ScreenDialogs(QWidget* parent) : parent(parent) {}

    QString ChooseFileToOpen() override;
    QString ChooseFileToSave() override;
    bool RunMeterData() override;
    bool RunRangeDialog() override;
    bool RunPointDialog() override;

    // Filter and default suffix of both file dialogs.
    static QString FileFilter();
    static QString DefaultSuffix() { return QStringLiteral("met"); }

private:
    QWidget* parent;
};
