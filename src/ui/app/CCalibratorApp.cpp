// SPDX-License-Identifier: MIT
#include "ui/app/CCalibratorApp.h"

#include "ui/app/CMainMenuDlg.h"
#include "ui/app/CSplashWindow.h"
#include "ui/app/DialogFont.h"
#include "ui/app/ProgramIcon.h"
#include "ui/history/HistoryWindow.h"
#include "core/app/QtTranslations.h"
#include "core/app/SingleInstance.h"
#include "core/link/CalFunctionTable.h"
#include "core/link/CalibratorLink.h"
#include "core/metercheck/document/MeterCheckSession.h"

#include <QApplication>

CCalibratorApp::CCalibratorApp(const StartOptions& options, SingleInstance* session)
    : options(options), session(session)
{}

bool CCalibratorApp::SplashAllowed(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (!a.startsWith(QLatin1Char('/')) && !a.startsWith(QLatin1Char('-')))
            continue;
        QString flag = a.mid(1);
        if (flag.startsWith(QLatin1Char('-')))
            flag = flag.mid(1);
        if (flag.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0 ||
            flag.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

int CCalibratorApp::Run()
{
    if (options.simulator && !options.historyOnly)
        simulator.Start(messageBoxes);
    CSplashWindow::pictureAllowed = options.splashAllowed;
    // Per-user settings live under the maker's name; the application name stays the
    // executable's (the meter check's recent files go under "r718").
    QCoreApplication::setOrganizationName(QStringLiteral("Modrex"));
    QApplication::setWindowIcon(ProgramIcon());
    // Every window is laid out in dialog units measured for this font.
    QApplication::setFont(DialogFont());
    // Qt's own dialogs (files, printing, standard buttons) speak the program's language.
    QtTranslations qtTranslations;
    qtTranslations.Install();
    FillCalFunctionTable();

    if (options.historyOnly) {
        HistoryWindow window(history, messageBoxes);
        window.SetEndsTheProgram(true);
        window.exec();
        return 0;
    }

    // The one link to the calibrator, for every module; it ends after the main menu, closing
    // the port and its thread.
    CalibratorLink link(messageBoxes);
    // The meter check's document lives from here to the end of the program: closing the meter
    // check window does not clear it.
    MeterCheckSession meterCheck;
    // The program ends when the main menu closes; its result is not looked at.
    CMainMenuDlg mainMenu(link, meterCheck,
                          ProgramServices{messageBoxes, history, workbookExport, workbookOpener});
    if (!options.document.isEmpty())
        mainMenu.OpenDocumentAtStart(options.document);
    if (session)
        QObject::connect(session, &SingleInstance::requested, &mainMenu,
                         &CMainMenuDlg::OnAnotherStart);
    mainMenu.exec();
    return 0;
}
