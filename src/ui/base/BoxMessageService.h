// SPDX-License-Identifier: MIT
#pragma once

#include "core/base/MessageService.h"

// The messages as message boxes on the screen, with Polish captions on the buttons.
class BoxMessageService : public MessageService
{
public:
    MessageAnswer Show(const QString& text, const QString& caption, MessageIcon icon,
                       MessageButtons buttons, QObject* owner) override;
    // The detail stands under the text, selectable, with room for a path or a command.
    MessageAnswer ShowDetailed(const QString& text, const QString& detail, const QString& caption,
                               MessageIcon icon, MessageButtons buttons, QObject* owner) override;
};
