// SPDX-License-Identifier: MIT
#include "ReportCli.h"

#include "ConsoleMessageService.h"
#include "DocumentText.h"
#include "HistoryCli.h"

#include "core/base/ConsoleText.h"
#include "core/base/ProgramVersion.h"
#include "core/metercheck/document/MetFile.h"
#include "core/metercheck/document/MeterCheckSession.h"
#include "core/metercheck/report/ExcelExport.h"
#include "ui/metercheck/report/PdfFileJobs.h"
#include "ui/metercheck/report/ProtocolPrinter.h"
#include "ui/metercheck/report/ReportCharts.h"
#include "core/metercheck/report/ReportClock.h"

#include <QJsonDocument>
#include <QTextStream>

#include <memory>
#include <optional>

namespace {

const QString program = QStringLiteral("r718-report");

const char* const usage = R"(Użycie:
  r718-report show PLIK.met [--json]
  r718-report print PLIK.met --pdf WYNIK.pdf [--range N | --all] [--points-chart]
                             [--errors-chart] [--no-table]
  r718-report export PLIK.met --xlsx WYNIK.xlsx [--range N | --all]
  r718-report history list|show|export|backup ...   (r718-report history --help)
  r718-report --help
  r718-report --version

Polecenia:
  show     wypisuje dokument sprawdzania miernika (miernik, metoda, zakresy, punkty);
           --json: w postaci JSON
  print    zapisuje protokół sprawdzania do pliku PDF: tabelę pomiarów i na życzenie
           wykresy punktów (--points-chart) i błędów (--errors-chart); --no-table pomija
           tabelę
  export   zapisuje skoroszyt .xlsx z jednym arkuszem na zakres

Zakresy numerowane są od 1, jak w poleceniu show. Bez --range i --all: zakres 1.
Kody wyjścia: 0 gotowe, 1 błąd pliku lub zapisu, 2 błędne argumenty.
)";

struct Arguments
{
    QString command;
    QString file;
    QString outPath;
    bool json = false;
    bool all = false;
    std::optional<int> range;
    bool table = true;
    bool pointsChart = false;
    bool errorsChart = false;
};

class UsageError
{
public:
    explicit UsageError(QString text) : text(std::move(text)) {}
    QString text;
};

// Parses the arguments after the command; throws UsageError with the reason.
Arguments Parse(const QStringList& args)
{
    Arguments a;
    a.command = args.value(1);
    const QString outOption = a.command == "print" ? "--pdf" : "--xlsx";
    for (int i = 2; i < args.size(); ++i) {
        QString arg = args[i];
        QString value;
        bool hasValue = false;
        if (arg.startsWith("--") && arg.contains('=')) {
            value = arg.section('=', 1);
            arg = arg.section('=', 0, 0);
            hasValue = true;
        }
        auto takeValue = [&]() {
            if (hasValue)
                return value;
            if (i + 1 >= args.size())
                throw UsageError(QStringLiteral("brak wartości opcji %1").arg(arg));
            return args[++i];
        };
        if (a.command == "show" && arg == "--json") {
            a.json = true;
        } else if (a.command != "show" && arg == outOption) {
            a.outPath = takeValue();
            if (a.outPath.isEmpty())
                throw UsageError(QStringLiteral("pusta nazwa pliku w opcji %1").arg(arg));
        } else if (a.command != "show" && arg == "--range") {
            const QString text = takeValue();
            bool ok = false;
            const int n = text.toInt(&ok);
            if (!ok || n < 1)
                throw UsageError(
                    QStringLiteral("błędny numer zakresu \"%1\" (liczba od 1)").arg(text));
            a.range = n;
        } else if (a.command != "show" && arg == "--all") {
            a.all = true;
        } else if (a.command == "print" && arg == "--points-chart") {
            a.pointsChart = true;
        } else if (a.command == "print" && arg == "--errors-chart") {
            a.errorsChart = true;
        } else if (a.command == "print" && arg == "--no-table") {
            a.table = false;
        } else if (arg.startsWith("-") && arg != "-") {
            throw UsageError(QStringLiteral("nieznana opcja %1 polecenia %2").arg(arg, a.command));
        } else if (a.file.isEmpty()) {
            a.file = arg;
        } else {
            throw UsageError(QStringLiteral("nadmiarowy argument \"%1\"").arg(arg));
        }
    }
    if (a.file.isEmpty())
        throw UsageError(QStringLiteral("brak pliku .met"));
    if (a.command != "show" && a.outPath.isEmpty())
        throw UsageError(QStringLiteral("brak opcji %1 z nazwą pliku wynikowego").arg(outOption));
    if (a.range && a.all)
        throw UsageError(QStringLiteral("opcje --range i --all wykluczają się"));
    if (a.command == "print" && !a.table && !a.pointsChart && !a.errorsChart)
        throw UsageError(QStringLiteral("nic do wydruku: --no-table bez wykresów"));
    return a;
}

// The ranges chosen (slot indexes); nullopt after a message when the file has no such range.
std::optional<QList<int>> ChosenRanges(const MeterCheckDoc& doc, const Arguments& a,
                                       QTextStream& err)
{
    const int n = CountRanges(doc);
    if (n == 0) {
        err << ConsoleMessage(program, QStringLiteral("plik %1 nie zawiera żadnego zakresu "
                                                      "pomiarowego")
                                           .arg(a.file))
            << Qt::endl;
        return std::nullopt;
    }
    QList<int> ranges;
    if (a.all) {
        for (int i = 0; i < n; ++i)
            ranges << i;
        return ranges;
    }
    const int number = a.range.value_or(1);
    if (number > n) {
        err << ConsoleMessage(program, QStringLiteral("zakres %1 nie istnieje; plik %2 ma %3")
                                           .arg(number)
                                           .arg(a.file, CountText(n, QStringLiteral("zakres"),
                                                                  QStringLiteral("zakresy"),
                                                                  QStringLiteral("zakresów"))))
            << Qt::endl;
        return std::nullopt;
    }
    return QList<int>{number - 1};
}

int Show(const MeterCheckDoc& doc, const Arguments& a, QTextStream& out)
{
    if (a.json)
        out << QJsonDocument(DocumentJson(doc, a.file)).toJson(QJsonDocument::Indented);
    else
        out << DocumentListing(doc, a.file);
    return exitOk;
}

int Print(MeterCheckSession& session, const Arguments& a, const QList<int>& ranges,
          ConsoleMessageService& messages, QTextStream& out, QTextStream& err)
{
    std::unique_ptr<ReportChartPrinter> charts;
    if (a.pointsChart || a.errorsChart)
        charts = CreateReportChartPrinter(session.document, messages);
    PdfFileJobs jobs;

    PrintOptions options;
    options.printTable = a.table;
    options.printPointsChart = a.pointsChart;
    options.printErrorsChart = a.errorsChart;
    options.printScope = RangeScope::Current;
    // The current range is printed once per chosen range, so that --range and --all print
    // exactly what the window prints for the current range and for all ranges.
    for (int range : ranges) {
        session.currentRange = qint16(range);
        PrintReport(options, session, jobs, charts.get(), SystemReportClock(), messages);
    }
    // The appendix, when the lab's policy asks for it, once after every range's pages.
    const LabPolicy policy = LabPolicy::FromSettings();
    if (a.table && policy.AppendixWanted())
        PrintReportAppendix(jobs, session.document, ranges, policy, SystemReportClock(), messages);

    if (messages.captions.contains(QString::fromUtf8(reportMessageCaption)))
        return exitFailed;
    if (jobs.PagesPrinted() == 0) {
        err << ConsoleMessage(program, QStringLiteral("nic nie wydrukowano (brak pomiarów lub "
                                                      "zaznaczonych punktów do wykresów)"))
            << Qt::endl;
        return exitFailed;
    }
    if (!jobs.Save(a.outPath, session.documentName, messages))
        return exitFailed;
    out << QStringLiteral("Wydruk zapisano w pliku %1 (%2).")
               .arg(a.outPath, CountText(jobs.PagesPrinted(), QStringLiteral("strona"),
                                         QStringLiteral("strony"), QStringLiteral("stron")))
        << Qt::endl;
    return exitOk;
}

class GivenPath : public ExportPathChooser
{
public:
    explicit GivenPath(QString path) : path(std::move(path)) {}
    QString AskWorkbookPath() override { return path; }
    QString path;
};

int Export(const MeterCheckSession& session, const Arguments& a, const QList<int>& ranges,
           MessageService& messages, QTextStream& out)
{
    ExcelExport excel(messages);
    GivenPath chooser(a.outPath);
    if (!excel.Export(session, ranges, chooser, nullptr))
        return exitFailed;
    out << QStringLiteral("Skoroszyt zapisano w pliku %1 (%2).")
               .arg(a.outPath, CountText(excel.Workbook().Sheets().size(), QStringLiteral("arkusz"),
                                         QStringLiteral("arkusze"), QStringLiteral("arkuszy")))
        << Qt::endl;
    return exitOk;
}

} // namespace

int RunReportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QString command = arguments.value(1);
    if (command == "history")
        return RunHistoryCommand(arguments, out, err);
    if (command == "--help" || command == "-h" || command == "help" ||
        (arguments.size() > 2 && (arguments.contains("--help") || arguments.contains("-h")))) {
        out << usage;
        return exitOk;
    }
    if (command == "--version" || command == "-v") {
        out << "r718-report (Tevano 718) " << ProgramVersion() << Qt::endl;
        return exitOk;
    }
    if (command.isEmpty()) {
        err << usage;
        return exitUsage;
    }
    if (command != "show" && command != "print" && command != "export") {
        err << ConsoleMessage(program, QStringLiteral("nieznane polecenie \"%1\" (show, print, "
                                                      "export)")
                                           .arg(command))
            << Qt::endl
            << "Pomoc: r718-report --help" << Qt::endl;
        return exitUsage;
    }

    Arguments a;
    try {
        a = Parse(arguments);
    } catch (const UsageError& e) {
        err << ConsoleMessage(program, e.text) << Qt::endl
            << "Pomoc: r718-report --help" << Qt::endl;
        return exitUsage;
    }

    ConsoleMessageService messages(err);
    MeterCheckSession session;
    if (!LoadDocument(session, a.file, messages))
        return exitFailed;
    session.documentName = a.file; // the reports never replace the file they are made from
    if (a.command == "show")
        return Show(session.document, a, out);

    const std::optional<QList<int>> ranges = ChosenRanges(session.document, a, err);
    if (!ranges)
        return CountRanges(session.document) == 0 ? exitFailed : exitUsage;
    if (a.command == "print")
        return Print(session, a, *ranges, messages, out, err);
    return Export(session, a, *ranges, messages, out);
}
