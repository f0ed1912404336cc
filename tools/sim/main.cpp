// SPDX-License-Identifier: MIT
// r718-sim: a simulated R718 calibrator on a pseudo-terminal. Prints the device path as its
// first line of output; the program under test opens that path as its serial port.

#include "SimEngine.h"
#include "SimFrameLog.h"
#include "SimPty.h"
#include "SimServer.h"

#include "core/base/ConsoleText.h"
#include "core/base/FileAccess.h"
#include "core/base/ProgramVersion.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {

const QString program = QStringLiteral("r718-sim");

struct FaultOption
{
    const char* name;
    const char* control; // the control line the option stands for; "%1" takes the value
    const char* help;
    const char* valueName = "K";
};

constexpr FaultOption faultOptions[] = {
    {"nak", "nak %1", "odpowiada NAK na K następnych ramek"},
    {"silence", "silence %1", "nie odpowiada na K następnych ramek"},
    {"garbage", "garbage %1", "odpowiada śmieciami na K następnych ramek"},
    {"hangup-after", "hangup-after %1", "rozłącza linię po K ramkach"},
    {"late", "late %1",
     "odpowiada na następną ramkę z opóźnieniem MS milisekund (od 400 poza oknem odczytu "
     "400 ms); w tym czasie linia nie jest obsługiwana",
     "MS"},
    {"hangup-mid", "hangup-mid %1",
     "rozłącza w środku następnej transakcji: frame - po pierwszych dwóch bajtach ramki, "
     "reply - po całej ramce, przed odpowiedzią",
     "frame|reply"},
};

constexpr FaultOption switchOptions[] = {
    {"silence-forever", "silence forever", "nigdy nie odpowiada"},
    {"over-range", "over-range on", "każdy odczyt jest ponad zakresem"},
    {"under-range", "under-range on", "każdy odczyt jest poniżej zakresu"},
    {"no-pace", "pace off", "wysyła odpowiedzi od razu, nie w tempie 9600 bodów"},
    {"no-noise", "noise off", "odczyty bez szumu"},
    {"stay-away", "stay-away on",
     "po rozłączeniu urządzenie znika (także ścieżka --link), dopóki wiersz sterujący "
     "plug-in go nie przywróci; bez tej opcji od razu pojawia się nowe"},
};

struct PlainOption
{
    const char* name;
    const char* valueName;
    const char* help;
};

constexpr PlainOption plainOptions[] = {
    {"link", "ŚCIEŻKA", "tworzy pod ŚCIEŻKĄ dowiązanie do urządzenia"},
    {"log", "PLIK", "dopisuje do PLIKU każdą ramkę (- to standardowe wyjście błędów)"},
    {"parent", "PID", "kończy od razu, jeśli proces PID nie jest rodzicem"},
    {"seed", "N", "ziarno szumu odczytów"},
    {"split", "K", "wysyła K następnych odpowiedzi w trzech częściach z przerwami"},
    {"transmitter", "USTAWIENIA",
     "między źródłem a wejściem pomiarowym jest przetwornik: in=DOLNA:GÓRNA (wejście), "
     "out=DOLNA:GÓRNA (wyjście), function=linear|sqrt, zero=% i span=% (błędy w % zakresu "
     "wyjścia), noise=ODCHYLENIE, lag=SEKUNDY, switch=ZADZIAŁANIE:POWRÓT (zamiast funkcji "
     "przetwarzania styk: wyjście GÓRNA po zadziałaniu, DOLNA po powrocie); ustawienia "
     "rozdzielone przecinkami"},
    {"split-pause", "MS",
     "przerwa między częściami odpowiedzi (domyślnie 100; powyżej okna odczytu 400 ms "
     "koniec przychodzi za późno)"},
};

const char* const description =
    "Symulowany kalibrator R718 na pseudoterminalu. Wypisuje najpierw ścieżkę urządzenia, "
    "potem czyta ze standardowego wejścia wiersze sterujące (nak K, silence K|forever|off, "
    "garbage K, split K [MS], late MS [K|forever], late off, hangup, hangup-after K, "
    "hangup-mid frame|reply|off, stay-away on|off, plug-in, over-range on|off, "
    "under-range on|off, pace on|off, noise on|off, transmitter USTAWIENIA|off, clear, "
    "ping) i odpowiada na każdy ok "
    "albo error z przyczyną.";

// `text` broken into lines of at most `width` characters, each after `indent`.
QString Wrapped(const QString& text, int indent, int width)
{
    QString result;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (!line.isEmpty() && line.size() + 1 + word.size() > width) {
            result += line + QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            line.clear();
        }
        line += (line.isEmpty() ? QString() : QStringLiteral(" ")) + word;
    }
    return result + line;
}

QString HelpText()
{
    constexpr int column = 24;
    constexpr int lineWidth = 79;
    QString text = QStringLiteral("Użycie: r718-sim [opcje]\n\n") +
                   Wrapped(QString::fromUtf8(description), 0, lineWidth) +
                   QStringLiteral("\n\nOpcje:\n");
    const auto row = [&](const QString& names, const char* help) {
        QString left = QStringLiteral("  ") + names;
        left = left.size() + 2 > column
                   ? left + QLatin1Char('\n') + QString(column, QLatin1Char(' '))
                   : left.leftJustified(column);
        text +=
            left + Wrapped(QString::fromUtf8(help), column, lineWidth - column) + QLatin1Char('\n');
    };
    row(QStringLiteral("-h, --help"), "wypisuje tę pomoc");
    row(QStringLiteral("-v, --version"), "wypisuje wersję programu");
    for (const PlainOption& o : plainOptions)
        row(QStringLiteral("--%1 %2").arg(QLatin1String(o.name), QString::fromUtf8(o.valueName)),
            o.help);
    for (const FaultOption& o : faultOptions)
        row(QStringLiteral("--%1 %2").arg(QLatin1String(o.name), QLatin1String(o.valueName)),
            o.help);
    for (const FaultOption& o : switchOptions)
        row(QStringLiteral("--") + QLatin1String(o.name), o.help);
    text += QStringLiteral("\nKody wyjścia: 0 zakończony sygnałem albo z rodzicem, 1 nie można "
                           "przygotować\npseudoterminala, dowiązania, dziennika albo obsługi "
                           "sygnałów, 2 błędne argumenty.\n");
    return text;
}

// Why QCommandLineParser refused the arguments, in the program's words (its own are English).
QString ParseError(const QCommandLineParser& parser, const QStringList& arguments,
                   const QStringList& valueOptions)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString name = parser.unknownOptionNames().first();
        return QStringLiteral("nieznana opcja %1%2")
            .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name);
    }
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (!arguments[i].startsWith(QLatin1String("--")))
            continue;
        const QString name = arguments[i].mid(2).section(QLatin1Char('='), 0, 0);
        const bool hasValue = arguments[i].contains(QLatin1Char('='));
        if (valueOptions.contains(name) && !hasValue && i + 1 == arguments.size())
            return QStringLiteral("opcja --%1 wymaga wartości").arg(name);
        if (!valueOptions.contains(name) && hasValue)
            return QStringLiteral("opcja --%1 nie przyjmuje wartości").arg(name);
    }
    return QStringLiteral("błędne argumenty");
}

int Refuse(const QString& reason, int code = 2)
{
    std::fputs(qPrintable(ConsoleMessage(program, reason) + QLatin1Char('\n')), stderr);
    if (code == 2)
        std::fputs("Pomoc: r718-sim --help\n", stderr);
    return code;
}

} // namespace

int main(int argc, char* argv[])
{
#ifdef __linux__
    // The instrument goes when the program that started it goes, however that ends.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(program);
    QCoreApplication::setApplicationVersion(ProgramVersion());

    QCommandLineParser parser;
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption versionOption(
        QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({helpOption, versionOption});
    QStringList valueOptions;
    for (const PlainOption& o : plainOptions) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(o.name), QString::fromUtf8(o.help),
                                            QString::fromUtf8(o.valueName)));
        valueOptions << QString::fromLatin1(o.name);
    }
    for (const FaultOption& o : faultOptions) {
        parser.addOption(QCommandLineOption(QString::fromLatin1(o.name), QString::fromUtf8(o.help),
                                            QString::fromLatin1(o.valueName)));
        valueOptions << QString::fromLatin1(o.name);
    }
    for (const FaultOption& o : switchOptions)
        parser.addOption(
            QCommandLineOption(QString::fromLatin1(o.name), QString::fromUtf8(o.help)));
    const QString linkOption = QStringLiteral("link");
    const QString logOption = QStringLiteral("log");
    const QString parentOption = QStringLiteral("parent");
    const QString seedOption = QStringLiteral("seed");
    const QString splitOption = QStringLiteral("split");
    const QString splitPauseOption = QStringLiteral("split-pause");
    // Bad arguments end with 2, as in the other tools (QCommandLineParser::process uses 1).
    const QStringList arguments = QCoreApplication::arguments();
    if (!parser.parse(arguments))
        return Refuse(ParseError(parser, arguments, valueOptions));
    if (parser.isSet(versionOption)) {
        std::printf("r718-sim %s\n", qPrintable(ProgramVersion()));
        return 0;
    }
    if (parser.isSet(helpOption)) {
        std::fputs(qPrintable(HelpText()), stdout);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return Refuse(
            QStringLiteral("nadmiarowy argument \"%1\"").arg(parser.positionalArguments().first()));

    // The parent may have gone before the death signal was asked for.
    if (parser.isSet(parentOption) && getppid() != parser.value(parentOption).toLongLong())
        return 0;

    SimEngine engine;
    for (const FaultOption& o : faultOptions) {
        if (!parser.isSet(QString::fromLatin1(o.name)))
            continue;
        const QString error = engine.plan.Apply(
            QString::fromLatin1(o.control).arg(parser.value(QString::fromLatin1(o.name))));
        if (!error.isEmpty())
            return Refuse(
                QStringLiteral("błędna wartość opcji --%1 (%2)").arg(QLatin1String(o.name), error));
    }
    for (const FaultOption& o : switchOptions) {
        if (parser.isSet(QString::fromLatin1(o.name)))
            engine.plan.Apply(QString::fromLatin1(o.control));
    }
    if (parser.isSet(splitOption) || parser.isSet(splitPauseOption)) {
        const QString split =
            QStringLiteral("split %1 %2")
                .arg(parser.isSet(splitOption) ? parser.value(splitOption) : QStringLiteral("0"),
                     parser.isSet(splitPauseOption)
                         ? parser.value(splitPauseOption)
                         : QString::number(SimFaultPlan::defaultSplitPauseMs));
        const QString error = engine.plan.Apply(split);
        if (!error.isEmpty()) {
            // The count is looked at first: when it is good, the pause was wrong.
            bool countGood = true;
            if (parser.isSet(splitOption))
                countGood = parser.value(splitOption).toInt(&countGood) >= 0 && countGood;
            return Refuse(QStringLiteral("błędna wartość opcji --%1 (%2)")
                              .arg(countGood ? splitPauseOption : splitOption, error));
        }
    }
    if (parser.isSet(QStringLiteral("transmitter"))) {
        const QString error = engine.Control(QStringLiteral("transmitter ") +
                                             parser.value(QStringLiteral("transmitter")));
        if (!error.isEmpty())
            return Refuse(QStringLiteral("błędna wartość opcji --transmitter (%1)").arg(error));
    }
    if (parser.isSet(seedOption))
        engine.instrument.SetSeed(parser.value(seedOption).toUInt());

    SimFrameLog log;
    if (parser.isSet(logOption) && !log.Open(parser.value(logOption).toLocal8Bit()))
        return Refuse(QStringLiteral("nie można otworzyć dziennika ramek %1: %2")
                          .arg(parser.value(logOption), SystemErrorText(errno)),
                      1);
    if (!SimServer::InstallSignalHandlers())
        return Refuse(QStringLiteral("nie można przygotować obsługi sygnałów: %1")
                          .arg(SystemErrorText(errno)),
                      1);

    SimPty pty;
    QString error;
    if (!pty.Open(&error))
        return Refuse(error, 1);
    const QByteArray linkPath = parser.value(linkOption).toLocal8Bit();
    if (!pty.Link(linkPath))
        return Refuse(QStringLiteral("nie można utworzyć dowiązania %1: %2")
                          .arg(parser.value(linkOption), SystemErrorText(errno)),
                      1);
    SimServer::Say(pty.SlavePath());
    return SimServer(engine, log, pty, linkPath).Run();
}
