// SPDX-License-Identifier: MIT
#include "ui/base/BoxMessageService.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMessageBox>

MessageAnswer BoxMessageService::Show(const QString& text, const QString& caption, MessageIcon icon,
                                      MessageButtons buttons, QObject* owner)
{
    return ShowDetailed(text, QString(), caption, icon, buttons, owner);
}

MessageAnswer BoxMessageService::ShowDetailed(const QString& text, const QString& detail,
                                              const QString& caption, MessageIcon icon,
                                              MessageButtons buttons, QObject* owner)
{
    // The owner is the window the box belongs to; anything else (or none) leaves it without one.
    QMessageBox box(qobject_cast<QWidget*>(owner));
    box.setWindowTitle(caption);
    box.setText(text);
    // In sight at once, under the text: the reader needs it to act, not on request. It can
    // be selected and copied (a command to type, a path).
    if (!detail.isEmpty()) {
        box.setInformativeText(detail);
        if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
            label->setTextInteractionFlags(Qt::TextSelectableByMouse);
            // Room for a device path and a command on one line each, rather than the
            // width of the short sentence above.
            label->setMinimumWidth(label->fontMetrics().averageCharWidth() * 56);
        }
    }
    switch (icon) {
    case MessageIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    // Polish captions on the standard buttons.
    if (auto* b = box.button(QMessageBox::Yes))
        b->setText(QStringLiteral("&Tak"));
    if (auto* b = box.button(QMessageBox::No))
        b->setText(QStringLiteral("&Nie"));
    if (auto* b = box.button(QMessageBox::Cancel))
        b->setText(QStringLiteral("Anuluj"));
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    default:
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
    }
}
