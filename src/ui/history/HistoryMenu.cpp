// SPDX-License-Identifier: MIT
#include "ui/history/HistoryMenu.h"

#include "ui/history/HistoryDatabaseDlg.h"
#include "ui/history/HistoryWindow.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QMenu>
#include <QMenuBar>

void AddHistoryMenu(QMenuBar* bar, const MeterCheckSession& session, HistoryService& history,
                    MessageService& messages, QWidget* owner)
{
    QMenu* menu = bar->addMenu(QStringLiteral("&Historia"));
    menu->setObjectName(QStringLiteral("historyMenu"));
    QAction* window = menu->addAction(QStringLiteral("Historia &sprawdzeń..."));
    window->setObjectName(QStringLiteral("historyWindow"));
    QObject::connect(window, &QAction::triggered, owner, [owner, &session, &history, &messages] {
        HistoryWindow checks(history, messages, owner, session.documentName);
        checks.exec();
    });
    QAction* database = menu->addAction(QStringLiteral("&Baza danych..."));
    database->setObjectName(QStringLiteral("historyDatabase"));
    QObject::connect(database, &QAction::triggered, owner, [owner, &history, &messages] {
        HistoryDatabaseDlg dialog(history, messages, owner);
        dialog.exec();
    });
}
