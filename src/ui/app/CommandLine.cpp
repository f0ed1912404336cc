// SPDX-License-Identifier: MIT
#include "ui/app/CommandLine.h"

#include "ui/app/CCalibratorApp.h"
#include "core/base/ConsoleText.h"
#include "core/base/ProgramVersion.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

namespace {

const char* const helpText = R"(Użycie: r718 [opcje] [PLIK.met | PLIK.r718t]

Tevano 718: zdalny pulpit kalibratora R718 i sprawdzanie mierników.

Opcje:
  -h, --help       wypisuje tę pomoc
  -v, --version    wypisuje wersję programu
  --simulator      łączy porty COM1-COM4 z symulatorem kalibratora (r718-sim)
  --new-instance   uruchamia osobny program, także gdy jeden już działa
  --history        otwiera samo okno "Historia sprawdzeń" (bez portu kalibratora)
  --trace PLIK     dopisuje do pliku ślad łącza z kalibratorem: każdą wysłaną
                   ramkę i odpowiedź z czasem w milisekundach i wynikiem

PLIK.met: okno sprawdzania mierników otwiera się z tym dokumentem;
PLIK.r718t: okno sprawdzania przetworników otwiera się z tym dokumentem.
Gdy program już działa w tej sesji, kolejne uruchomienie przekazuje mu plik
(albo tylko wysuwa jego okno) i kończy się; przebiegi z --simulator działają
osobno od przebiegów z przyrządem.

Port COM n to urządzenie ze zmiennej środowiskowej R718_COM<n>, z okna
"Parametry transmisji" albo /dev/ttyS<n-1>.
Ślad łącza na standardowe wyjście błędów zamiast do pliku:
  QT_LOGGING_RULES="r718.link.debug=true" r718
Kody wyjścia: 0 gotowe, 1 nie można otworzyć okien albo zapisać śladu w pliku,
2 błędne argumenty.
)";

StartOptions Refusal(const QString& reason, int exitCode = 2)
{
    StartOptions options;
    options.action = StartOptions::Action::Refuse;
    options.exitCode = exitCode;
    options.text = ConsoleMessage(QStringLiteral("r718"), reason) + QLatin1Char('\n');
    if (exitCode == 2)
        options.text += QStringLiteral("Pomoc: r718 --help\n");
    return options;
}

StartOptions Printed(const QString& text)
{
    StartOptions options;
    options.action = StartOptions::Action::Print;
    options.text = text;
    return options;
}

const QString traceOption = QStringLiteral("trace");

QString MissingTraceFile()
{
    return QStringLiteral("opcja --trace wymaga nazwy pliku");
}

// The reason QCommandLineParser refused the arguments, in the program's words.
QString ParseError(const QCommandLineParser& parser, const QStringList& arguments)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("nieznana opcja %1%2")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    if (arguments.constLast() == QLatin1String("--") + traceOption)
        return MissingTraceFile();
    for (const QString& argument : arguments.mid(1))
        if (argument.startsWith(QLatin1String("--")) && argument.contains(QLatin1Char('=')) &&
            !argument.startsWith(QLatin1String("--") + traceOption + QLatin1Char('=')))
            return QStringLiteral("opcja %1 nie przyjmuje wartości")
                .arg(argument.section(QLatin1Char('='), 0, 0));
    return QStringLiteral("błędne argumenty");
}

} // namespace

StartOptions ParseCommandLine(const QStringList& arguments, bool displayAvailable)
{
    // The flags that only switch the start-up picture off are taken out first; they are not
    // options of their own.
    QStringList rest{arguments.value(0, QStringLiteral("r718"))};
    bool splashAllowed = true;
    for (const QString& argument : arguments.mid(1)) {
        if (CCalibratorApp::SplashAllowed({QString(), argument}))
            rest << argument;
        else
            splashAllowed = false;
    }

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption simulator(QStringLiteral("simulator"));
    const QCommandLineOption newInstance(QStringLiteral("new-instance"));
    const QCommandLineOption history(QStringLiteral("history"));
    const QCommandLineOption trace(traceOption, QString(), QStringLiteral("PLIK"));
    parser.addOptions({help, version, simulator, newInstance, history, trace});
    if (!parser.parse(rest))
        return Refusal(ParseError(parser, rest));
    if (parser.isSet(help))
        return Printed(QString::fromUtf8(helpText));
    if (parser.isSet(version))
        return Printed(QStringLiteral("r718 (Tevano 718) %1\n").arg(ProgramVersion()));
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1 || (parser.isSet(history) && !files.isEmpty()))
        return Refusal(QStringLiteral("nadmiarowy argument \"%1\"").arg(files.constLast()));
    // "--trace --simulator" is a file name forgotten, not a file called "--simulator".
    if (parser.isSet(trace) &&
        (parser.value(trace).isEmpty() || parser.value(trace).startsWith(QLatin1Char('-'))))
        return Refusal(MissingTraceFile());
    if (!displayAvailable)
        return Refusal(QStringLiteral("brak ekranu (zmienne DISPLAY i WAYLAND_DISPLAY są "
                                      "puste), okna programu nie mogą się otworzyć"),
                       1);

    StartOptions options;
    options.simulator = parser.isSet(simulator);
    options.historyOnly = parser.isSet(history);
    options.newInstance = parser.isSet(newInstance) || options.historyOnly;
    options.splashAllowed = splashAllowed;
    if (!files.isEmpty() && !files.first().isEmpty())
        options.document = QDir::toNativeSeparators(QFileInfo(files.first()).absoluteFilePath());
    if (parser.isSet(trace))
        options.traceFile = QFileInfo(parser.value(trace)).absoluteFilePath();
    return options;
}

QString DesktopSession()
{
    const QString platform = QGuiApplication::platformName();
    QString display;
    if (platform == QLatin1String("xcb"))
        display = qEnvironmentVariable("DISPLAY");
    else if (platform == QLatin1String("wayland"))
        display = qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
    return display.isEmpty() ? platform : platform + QLatin1Char('-') + display;
}

bool DisplayAvailable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    return true;
#endif
}
