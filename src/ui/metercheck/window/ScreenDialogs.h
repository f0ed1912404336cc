// SPDX-License-Identifier: MIT
#pragma once

#include "core/metercheck/window/MeterCheckDialogRunner.h"

class MessageService;
class QWidget;
struct MeterCheckSession;

// The meter check's dialogs on the screen, each modal over `parent`, on the session's document.
class ScreenDialogs : public MeterCheckDialogRunner
{
public:
    ScreenDialogs(MeterCheckSession& session, MessageService& messages, QWidget* parent)
        : session(session), messages(messages), parent(parent)
    {}

    QString ChooseFileToOpen() override;
    QString ChooseFileToSave() override;
    bool RunMeterData(MeterCheckMode mode) override;
    bool RunRangeDialog(MeterCheckMode mode, int range) override;
    bool RunPointDialog(MeterCheckMode mode, int range, int point) override;

    // Filter and default suffix of both file dialogs.
    static QString FileFilter();
    static QString DefaultSuffix() { return QStringLiteral("met"); }

private:
    MeterCheckSession& session;
    MessageService& messages;
    QWidget* parent;
};
