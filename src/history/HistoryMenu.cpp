// SPDX-License-Identifier: MIT
#include "history/HistoryMenu.h"

#include "history/HistoryDatabaseDlg.h"
#include "history/HistoryWindow.h"

#include <QMenu>
#include <QMenuBar>

void AddHistoryMenu(QMenuBar* bar, QWidget* owner)
{
    QMenu* menu = bar->addMenu(QStringLiteral("&Historia"));
    menu->setObjectName(QStringLiteral("historyMenu"));
    QAction* window = menu->addAction(QStringLiteral("Historia &sprawdzeń..."));
    window->setObjectName(QStringLiteral("historyWindow"));
    QObject::connect(window, &QAction::triggered, owner, [owner] {
        HistoryWindow history(owner);
        history.exec();
    });
    QAction* database = menu->addAction(QStringLiteral("&Baza danych..."));
    database->setObjectName(QStringLiteral("historyDatabase"));
    QObject::connect(database, &QAction::triggered, owner, [owner] {
        HistoryDatabaseDlg dialog(owner);
        dialog.exec();
    });
}
