#include "app/CalibratorApp.h"

#include "link/CalFunctionTable.h"

#include <QCoreApplication>
#include <QDialog>

CCalibratorApp::CCalibratorApp(const QStringList& arguments) : arguments(arguments) {}

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
    QCoreApplication::setOrganizationName(QStringLiteral("Modrex"));
    FillCalFunctionTable();

    QDialog mainMenu;
    mainMenu.setWindowTitle(QStringLiteral("Tevano 718"));
    mainMenu.exec();
    return 0;
}
