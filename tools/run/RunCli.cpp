// SPDX-License-Identifier: MIT
#include "RunCli.h"

#include "core/base/ConsoleText.h"
#include "core/base/MessageService.h"
#include "core/base/ProgramVersion.h"
#include "core/link/CalibratorLink.h"
#include "core/link/LinkSession.h"
#include "core/link/PortMap.h"
#include "core/program/ProgramExport.h"
#include "core/program/ProgramFile.h"
#include "core/program/ProgramRun.h"
#include "core/program/ProgramText.h"
#include "core/program/ProgramValidation.h"
#include "core/transducer/RunClock.h"
#include "core/transducer/TransducerFile.h"
#include "core/transducer/TransducerRun.h"
#include "core/transducer/TransducerText.h"
#include "core/transducer/TransducerValidation.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QTextStream>

#include <functional>
#include <memory>
#include <optional>

namespace {

const QString program = QStringLiteral("r718-run");
constexpr int exitOk = 0;
constexpr int exitFailed = 1;
constexpr int exitUsage = 2;
// The calibrator's port as the link knows it; --device says what it stands for.
constexpr int port = 1;

const char* const usage = R"(Użycie:
  r718-run transducer PLIK --device ŚCIEŻKA [--as-left] [--json]
  r718-run program PLIK --device ŚCIEŻKA [--log DZIENNIK.csv] [--json]
  r718-run --help
  r718-run --version

Polecenia:
  transducer  sprawdza przetwornik opisany w PLIKU kalibratorem dołączonym do ŚCIEŻKI
              (na przykład /dev/ttyUSB0): ustawia kolejne punkty wejścia, mierzy wyjście,
              zapisuje wyniki w PLIKU i wypisuje tabelę; --as-left: sprawdzenie po
              regulacji (bez niej: przed regulacją); --json: wyniki w postaci JSON
  program     wykonuje program źródła z PLIKU (.r718p) kalibratorem dołączonym do ŚCIEŻKI:
              ustawia kolejne nastawy w zaplanowanych chwilach, odczytuje pomiar i wypisuje
              punkty zadziałania; --log: dziennik nastaw i odczytów w pliku CSV; --json:
              wyniki w postaci JSON

Kody wyjścia: 0 sprawdzenie lub program zakończone (wynik w wypisanej tabeli), 1 błąd pliku,
definicji, portu lub komunikacji, 2 błędne argumenty.
)";

// The link's message boxes as lines on the error stream.
class ConsoleMessages : public MessageService
{
public:
    explicit ConsoleMessages(QTextStream& err) : err(err) {}
    MessageAnswer Show(const QString& text, const QString& caption, MessageIcon icon,
                       MessageButtons buttons, QObject* owner) override
    {
        return ShowDetailed(text, QString(), caption, icon, buttons, owner);
    }
    MessageAnswer ShowDetailed(const QString& text, const QString& detail, const QString&,
                               MessageIcon, MessageButtons buttons, QObject*) override
    {
        err << ConsoleMessage(program, detail.isEmpty() ? text : text + QLatin1Char('\n') + detail)
            << Qt::endl;
        ++shown;
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    int shown = 0;

private:
    QTextStream& err;
};

struct Arguments
{
    QString command;
    QString file;
    QString device;
    QString log;
    bool asLeft = false;
    bool json = false;
};

int Refuse(QTextStream& err, const QString& reason)
{
    err << ConsoleMessage(program, reason) << Qt::endl << "Pomoc: r718-run --help" << Qt::endl;
    return exitUsage;
}

// Parses the arguments after the command; an empty text when they are good, else why not.
QString Parse(const QStringList& args, Arguments* a)
{
    const bool program = a->command == QLatin1String("program");
    for (int i = 2; i < args.size(); ++i) {
        QString arg = args[i];
        QString value;
        bool hasValue = false;
        if (arg.startsWith(QLatin1String("--")) && arg.contains(QLatin1Char('='))) {
            value = arg.section(QLatin1Char('='), 1);
            arg = arg.section(QLatin1Char('='), 0, 0);
            hasValue = true;
        }
        if (arg == QLatin1String("--device")) {
            if (!hasValue && i + 1 >= args.size())
                return QStringLiteral("brak wartości opcji --device");
            a->device = hasValue ? value : args[++i];
            if (a->device.isEmpty())
                return QStringLiteral("pusta ścieżka w opcji --device");
        } else if (arg == QLatin1String("--log") && program) {
            if (!hasValue && i + 1 >= args.size())
                return QStringLiteral("brak wartości opcji --log");
            a->log = hasValue ? value : args[++i];
            if (a->log.isEmpty())
                return QStringLiteral("pusta ścieżka w opcji --log");
        } else if (arg == QLatin1String("--as-left") && !hasValue && !program) {
            a->asLeft = true;
        } else if (arg == QLatin1String("--json") && !hasValue) {
            a->json = true;
        } else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
            return QStringLiteral("nieznana opcja %1 polecenia %2").arg(args[i], a->command);
        } else if (a->file.isEmpty()) {
            a->file = arg;
        } else {
            return QStringLiteral("nadmiarowy argument \"%1\"").arg(arg);
        }
    }
    if (a->file.isEmpty())
        return program ? QStringLiteral("brak pliku programu")
                       : QStringLiteral("brak pliku przetwornika");
    if (a->device.isEmpty())
        return QStringLiteral("brak opcji --device ze ścieżką kalibratora");
    return {};
}

int Fail(QTextStream& err, const QString& text)
{
    err << ConsoleMessage(program, text) << Qt::endl;
    return exitFailed;
}

// Opens the calibrator at the device and runs `start` once the port is open; runs the event
// loop until `quit` is called. False when the port could not be opened (the link has said
// why).
bool RunOnCalibrator(const Arguments& a, ConsoleMessages& messages,
                     const std::function<void(LinkSession&, std::function<void()> quit)>& start)
{
    // The link opens COM<port>; its variable, which no setting overrides, leads to the device.
    qputenv(PortVariableName(port).toLocal8Bit(), QFile::encodeName(a.device));
    CalibratorLink link(messages);
    link.SetPortNumber(port);
    LinkSession session(link);
    QEventLoop loop;
    bool opened = false;
    session.Open(port, [&](bool ok) {
        opened = ok;
        if (!ok) {
            loop.quit();
            return;
        }
        session.Send(QStringLiteral("I")); // the first command after the port opens
        start(session, [&loop] { loop.quit(); });
    });
    loop.exec();
    session.End();
    return opened;
}

int Program(const Arguments& a, QTextStream& out, QTextStream& err)
{
    ProgramDoc doc;
    QString message;
    if (!ProgramFile::Load(a.file, &doc, &message))
        return Fail(err, message);
    const ProgramProblem problem = CheckProgram(doc);
    if (!problem.IsNone())
        return Fail(err, QStringLiteral("plik %1: %2").arg(a.file, problem.message));

    ConsoleMessages messages(err);
    std::unique_ptr<ProgramRun> run;
    std::optional<ProgramEnd> end;
    const bool opened =
        RunOnCalibrator(a, messages, [&](LinkSession& session, std::function<void()> quit) {
            run = std::make_unique<ProgramRun>(session, EventLoopRunClock());
            run->finished = [&end, quit](ProgramEnd e) {
                end = e;
                quit();
            };
            run->Start(doc);
        });
    if (!opened)
        return exitFailed;

    const ProgramRunLog& log = run->Log();
    const bool logSaved = a.log.isEmpty() || ProgramExport::SaveCsv(a.log, doc, log, &message);
    if (a.json)
        out << QJsonDocument(ProgramText::RunJson(doc, log, run->Plan().totalMs))
                   .toJson(QJsonDocument::Indented);
    else
        out << ProgramText::RunTable(doc, log);
    out.flush();
    if (!logSaved)
        return Fail(err, message);
    if (end == ProgramEnd::LinkLost)
        return Fail(err, QStringLiteral("program przerwany: brak komunikacji z kalibratorem"));
    return end == ProgramEnd::Completed ? exitOk : exitFailed;
}

int Transducer(const Arguments& a, QTextStream& out, QTextStream& err)
{
    TransducerDoc doc;
    QString message;
    if (!TransducerFile::Load(a.file, &doc, &message))
        return Fail(err, message);
    const TransducerProblem problem = CheckTransducer(doc);
    if (!problem.IsNone())
        return Fail(err, QStringLiteral("plik %1: %2").arg(a.file, problem.message));

    ConsoleMessages messages(err);
    std::unique_ptr<TransducerRun> run;
    RunEnd end = RunEnd::Stopped;
    const bool opened =
        RunOnCalibrator(a, messages, [&](LinkSession& session, std::function<void()> quit) {
            run = std::make_unique<TransducerRun>(session, EventLoopRunClock());
            run->finished = [&end, quit](RunEnd e) {
                end = e;
                quit();
            };
            run->Start(doc);
        });
    if (!opened)
        return exitFailed; // the link has said why

    const RunKind kind = a.asLeft ? RunKind::AsLeft : RunKind::AsFound;
    doc.Run(kind) = run->Result();
    const bool saved = TransducerFile::Save(a.file, doc, &message);
    if (a.json)
        out << QJsonDocument(TransducerText::RunJson(doc, kind)).toJson(QJsonDocument::Indented);
    else
        out << TransducerText::RunTable(doc, kind);
    out.flush();
    if (!saved)
        return Fail(err, message);
    if (end == RunEnd::LinkLost)
        return Fail(err, QStringLiteral("sprawdzenie przerwane: brak komunikacji z kalibratorem; "
                                        "zapisano %1")
                             .arg(CountText(run->Result().points.size(), QStringLiteral("punkt"),
                                            QStringLiteral("punkty"), QStringLiteral("punktów"))));
    return end == RunEnd::Completed ? exitOk : exitFailed;
}

} // namespace

int RunCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QString command = args.value(1);
    if (command == QLatin1String("--help") || command == QLatin1String("-h")) {
        out << usage;
        return exitOk;
    }
    if (command == QLatin1String("--version") || command == QLatin1String("-v")) {
        out << program << ' ' << ProgramVersion() << '\n';
        return exitOk;
    }
    if (command.isEmpty())
        return Refuse(err, QStringLiteral("brak polecenia"));
    if (command != QLatin1String("transducer") && command != QLatin1String("program"))
        return Refuse(err, QStringLiteral("nieznane polecenie \"%1\"").arg(command));
    Arguments a;
    a.command = command;
    const QString refusal = Parse(args, &a);
    if (!refusal.isEmpty())
        return Refuse(err, refusal);
    return command == QLatin1String("program") ? Program(a, out, err) : Transducer(a, out, err);
}
