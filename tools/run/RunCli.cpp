// SPDX-License-Identifier: MIT
#include "RunCli.h"

#include "core/base/ConsoleText.h"
#include "core/base/MessageService.h"
#include "core/base/ProgramVersion.h"
#include "core/link/CalibratorLink.h"
#include "core/link/LinkSession.h"
#include "core/link/PortMap.h"
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

namespace {

const QString program = QStringLiteral("r718-run");
constexpr int exitOk = 0;
constexpr int exitFailed = 1;
constexpr int exitUsage = 2;
// The calibrator's port as the link knows it; --device says what it stands for.
constexpr int port = 1;

const char* const usage = R"(Użycie:
  r718-run transducer PLIK --device ŚCIEŻKA [--as-left] [--json]
  r718-run --help
  r718-run --version

Polecenia:
  transducer  sprawdza przetwornik opisany w PLIKU kalibratorem dołączonym do ŚCIEŻKI
              (na przykład /dev/ttyUSB0): ustawia kolejne punkty wejścia, mierzy wyjście,
              zapisuje wyniki w PLIKU i wypisuje tabelę; --as-left: sprawdzenie po
              regulacji (bez niej: przed regulacją); --json: wyniki w postaci JSON

Kody wyjścia: 0 sprawdzenie zakończone (wynik w wypisanej tabeli), 1 błąd pliku, definicji,
portu lub komunikacji, 2 błędne argumenty.
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
    QString file;
    QString device;
    bool asLeft = false;
    bool json = false;
};

int Refuse(QTextStream& err, const QString& reason)
{
    err << ConsoleMessage(program, reason) << Qt::endl << "Pomoc: r718-run --help" << Qt::endl;
    return exitUsage;
}

// Parses the arguments after "transducer"; an empty text when they are good, else why not.
QString Parse(const QStringList& args, Arguments* a)
{
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
        } else if (arg == QLatin1String("--as-left") && !hasValue) {
            a->asLeft = true;
        } else if (arg == QLatin1String("--json") && !hasValue) {
            a->json = true;
        } else if (arg.startsWith(QLatin1Char('-')) && arg != QLatin1String("-")) {
            return QStringLiteral("nieznana opcja %1 polecenia transducer").arg(args[i]);
        } else if (a->file.isEmpty()) {
            a->file = arg;
        } else {
            return QStringLiteral("nadmiarowy argument \"%1\"").arg(arg);
        }
    }
    if (a->file.isEmpty())
        return QStringLiteral("brak pliku przetwornika");
    if (a->device.isEmpty())
        return QStringLiteral("brak opcji --device ze ścieżką kalibratora");
    return {};
}

int Fail(QTextStream& err, const QString& text)
{
    err << ConsoleMessage(program, text) << Qt::endl;
    return exitFailed;
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

    // The link opens COM<port>; its variable, which no setting overrides, leads to the device.
    qputenv(PortVariableName(port).toLocal8Bit(), QFile::encodeName(a.device));
    ConsoleMessages messages(err);
    CalibratorLink link(messages);
    link.SetPortNumber(port);
    LinkSession session(link);
    TransducerRun run(session, EventLoopRunClock());
    QEventLoop loop;
    RunEnd end = RunEnd::Stopped;
    bool opened = false;
    run.finished = [&](RunEnd e) {
        end = e;
        loop.quit();
    };
    session.Open(port, [&](bool ok) {
        opened = ok;
        if (!ok) {
            loop.quit();
            return;
        }
        session.Send(QStringLiteral("I")); // the first command after the port opens
        run.Start(doc);
    });
    loop.exec();
    if (!opened)
        return exitFailed; // the link has said why
    session.End();

    const RunKind kind = a.asLeft ? RunKind::AsLeft : RunKind::AsFound;
    doc.Run(kind) = run.Result();
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
                             .arg(CountText(run.Result().points.size(), QStringLiteral("punkt"),
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
    if (command != QLatin1String("transducer"))
        return Refuse(err, QStringLiteral("nieznane polecenie \"%1\"").arg(command));
    Arguments a;
    const QString refusal = Parse(args, &a);
    if (!refusal.isEmpty())
        return Refuse(err, refusal);
    return Transducer(a, out, err);
}
