// SPDX-License-Identifier: MIT
#include "HistoryCli.h"

#include "ReportCli.h"

#include "core/base/ConsoleText.h"
#include "core/base/CsvText.h"
#include "core/history/DueDates.h"
#include "core/history/HistoryChain.h"
#include "core/history/HistoryCsv.h"
#include "core/history/HistoryDatabase.h"
#include "core/history/PointConformity.h"
#include "core/metercheck/report/ReportClock.h"
#include "core/metercheck/report/ReportTexts.h"

#include <QDataStream>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>
#include <QTextStream>

namespace {

const QString program = QStringLiteral("r718-report");

const char* const usage = R"(Użycie:
  r718-report history list [--meter TEKST] [--json]
  r718-report history show ID [--json]
  r718-report history export --csv WYNIK.csv [--meter TEKST]
  r718-report history backup KOPIA.sqlite
  r718-report history verify
  r718-report history due [--days N] [--json | --csv]

Polecenia:
  list     wypisuje sprawdzenia (od najnowszych) mierników, których nazwa lub numer
           zawiera TEKST (bez --meter: wszystkich); --json: w postaci JSON
  show     wypisuje jedno sprawdzenie z punktami; ID jak w poleceniu list albo jego
           jednoznaczny początek (co najmniej 8 znaków)
  export   zapisuje sprawdzenia do pliku CSV (UTF-8, separator ';', przecinek dziesiętny)
  backup   zapisuje spójną kopię lokalnej bazy danych (także gdy stanowiska zapisują
           sprawdzenia); bazę na serwerze kopiuje jego administrator programem pg_dump
  verify   sprawdza łańcuch zapisów historii (skróty SHA-256 sprawdzeń i uwag, każdy
           powiązany z poprzednim); wypisuje liczbę zapisów i skrót ostatniego albo
           pierwszy zapis, który się nie zgadza (jego treść albo powiązanie)
  due      wypisuje mierniki po terminie sprawdzenia albo z terminem w ciągu N dni
           (domyślnie 30); termin to data ostatniego sprawdzenia i okres miernika
           ustawiony w oknie historii; --json: w postaci JSON, --csv: CSV (jak export)

Baza danych jak w programie: ustawienia okna "Baza danych..." albo zmienna R718_HISTORY
(postgresql://użytkownik@serwer:port/baza lub local). Sprawdzenia czekające na serwer są
najpierw do niego wysyłane.
Kody wyjścia: 0 gotowe, 1 błąd bazy danych lub zapisu, 2 błędne argumenty,
3 łańcuch historii nie zgadza się (verify).
)";

struct Arguments
{
    QString command;
    QString id;
    QString meter;
    QString csvPath;
    QString backupPath;
    bool json = false;
    bool csv = false; // due: the list as CSV
    int days = 30;    // due: the days ahead
};

constexpr int exitChainBroken = 3;

const QStringList commands = {"list", "show", "export", "backup", "verify", "due"};

struct UsageError
{
    QString text;
};

Arguments Parse(const QStringList& args)
{
    Arguments a;
    a.command = args.value(2);
    const QString known = commands.join(QStringLiteral(", "));
    if (!commands.contains(a.command))
        throw UsageError{a.command.isEmpty()
                             ? QStringLiteral("brak polecenia (%1)").arg(known)
                             : QStringLiteral("nieznane polecenie \"%1\" (%2)").arg(a.command, known)};
    for (int i = 3; i < args.size(); ++i) {
        QString arg = args[i];
        QString value;
        bool hasValue = false;
        if (arg.startsWith("--") && arg.contains('=')) {
            value = arg.section('=', 1);
            arg = arg.section('=', 0, 0);
            hasValue = true;
        }
        auto takeValue = [&] {
            if (hasValue)
                return value;
            if (i + 1 >= args.size())
                throw UsageError{QStringLiteral("brak wartości opcji %1").arg(arg)};
            return args[++i];
        };
        if (arg == "--json" && (a.command == "list" || a.command == "show" || a.command == "due")) {
            a.json = true;
        } else if (arg == "--csv" && a.command == "due") {
            a.csv = true;
        } else if (arg == "--days" && a.command == "due") {
            bool ok = false;
            const QString text = takeValue();
            a.days = text.toInt(&ok);
            if (!ok || a.days < 0 || a.days > 3660)
                throw UsageError{
                    QStringLiteral("liczba dni w opcji --days musi być liczbą od 0 do 3660, "
                                   "a jest \"%1\"")
                        .arg(text)};
        } else if (arg == "--meter" && (a.command == "list" || a.command == "export")) {
            a.meter = takeValue();
        } else if (arg == "--csv" && a.command == "export") {
            a.csvPath = takeValue();
            if (a.csvPath.isEmpty())
                throw UsageError{QStringLiteral("pusta nazwa pliku w opcji --csv")};
        } else if (arg.startsWith("-") && arg != "-") {
            throw UsageError{
                QStringLiteral("nieznana opcja %1 polecenia history %2").arg(arg, a.command)};
        } else if (a.command == "show" && a.id.isEmpty()) {
            a.id = arg;
        } else if (a.command == "backup" && a.backupPath.isEmpty()) {
            a.backupPath = arg;
        } else {
            throw UsageError{QStringLiteral("nadmiarowy argument \"%1\"").arg(arg)};
        }
    }
    if (a.command == "show" && a.id.isEmpty())
        throw UsageError{QStringLiteral("brak identyfikatora sprawdzenia")};
    if (a.command == "backup" && a.backupPath.isEmpty())
        throw UsageError{QStringLiteral("brak nazwy pliku kopii")};
    if (a.json && a.csv)
        throw UsageError{QStringLiteral("opcje --json i --csv wykluczają się")};
    if (a.command == "export" && a.csvPath.isEmpty())
        throw UsageError{QStringLiteral("brak opcji --csv z nazwą pliku wynikowego")};
    return a;
}

QString When(const QDateTime& t)
{
    return ReportDateText(t.date()) + QLatin1Char(' ') + ReportTimeText(t.time());
}

// The check as one object of the JSON list.
QJsonObject ListedCheck(const CheckRecord& c)
{
    return QJsonObject{{"id", c.id},
                       {"checkedAt", c.checkedAt.toString(Qt::ISODate)},
                       {"meterName", c.meterName},
                       {"meterNumber", c.meterNumber},
                       {"rangeValue", c.rangeValue},
                       {"rangeUnit", c.rangeUnit},
                       {"sensorName", c.sensorName},
                       {"passed", c.passed},
                       {"verdict", c.VerdictText()}};
}

// The list as QJsonDocument writes an indented array, written object by object as the checks
// are read.
class JsonList
{
public:
    explicit JsonList(QTextStream& out) : out(out) { out << "[\n"; }
    void Add(const QJsonObject& object)
    {
        if (count++ > 0)
            out << ",\n";
        // The object as a document, moved one level in.
        QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Indented);
        text.chop(1); // its line end
        out << "    " << QString::fromUtf8(text.replace("\n", "\n    "));
    }
    void End() { out << (count > 0 ? "\n]\n" : "]\n"); }

private:
    QTextStream& out;
    int count = 0;
};

// The text table: columns two spaces apart, each as wide as its widest text, the last one not
// padded. The widths are known only after the last row, so the rows wait in a temporary file
// rather than in memory.
class TextTable
{
public:
    bool Open(QString* error)
    {
        if (spool.open())
            return true;
        *error = QStringLiteral("Nie można utworzyć pliku tymczasowego: %1").arg(spool.errorString());
        return false;
    }
    void Add(const QStringList& row)
    {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i == widths.size())
                widths << 0;
            widths[i] = qMax(widths[i], row[i].size());
        }
        rows << row;
        ++count;
    }
    // False with the reason when the spooled rows could not be written or read back.
    bool Print(QTextStream& out, QString* error)
    {
        rows.device()->seek(0);
        for (qint64 n = 0; n < count; ++n) {
            QStringList row;
            rows >> row;
            if (rows.status() != QDataStream::Ok) {
                *error = QStringLiteral("Nie można odczytać pliku tymczasowego %1: %2")
                             .arg(spool.fileName(), spool.errorString());
                return false;
            }
            QString line;
            for (qsizetype i = 0; i < row.size(); ++i)
                line += i + 1 < row.size() ? row[i].leftJustified(widths[i] + 2) : row[i];
            out << line << '\n';
        }
        return true;
    }

private:
    QTemporaryFile spool;
    QDataStream rows{&spool};
    QList<qsizetype> widths;
    qint64 count = 0;
};

int List(HistoryStore& store, const QString& meter, bool json, QTextStream& out,
         QTextStream& err)
{
    QString error;
    qint64 listed = 0;
    if (json) {
        JsonList list(out);
        error = store.EachCheck([&](const CheckRecord& c) {
            if (MeterMatches(c.meterName, c.meterNumber, meter))
                list.Add(ListedCheck(c));
            return true;
        });
        if (error.isEmpty())
            list.End();
    } else {
        // The number as it was typed: it may hold its own "Nr".
        TextTable table;
        if (table.Open(&error)) {
            table.Add({QStringLiteral("Identyfikator"), QStringLiteral("Data"),
                       QStringLiteral("Nazwa miernika"), QStringLiteral("Numer miernika"),
                       QStringLiteral("Zakres"), QStringLiteral("Wynik")});
            error = store.EachCheck([&](const CheckRecord& c) {
                if (MeterMatches(c.meterName, c.meterNumber, meter)) {
                    table.Add({c.id, When(c.checkedAt), c.meterName, c.meterNumber, c.RangeText(),
                               c.VerdictText()});
                    ++listed;
                }
                return true;
            });
        }
        if (error.isEmpty() && listed > 0)
            table.Print(out, &error);
        if (error.isEmpty())
            out << "Sprawdzeń: " << listed << Qt::endl;
    }
    out.flush();
    if (!error.isEmpty()) {
        err << ConsoleMessage(program, error) << Qt::endl;
        return exitFailed;
    }
    return exitOk;
}

// The checks of the meters whose name or number holds the text, with their points, written to
// the CSV file as they are read.
int Export(HistoryStore& store, const QString& meter, const QString& path, QTextStream& out,
           QTextStream& err)
{
    HistoryCsvFile csv;
    QString error = csv.Open(path);
    QString writeError;
    qint64 written = 0;
    if (error.isEmpty())
        error = store.EachCheckWithPoints([&](const CheckRecord& c) {
            if (!MeterMatches(c.meterName, c.meterNumber, meter))
                return true;
            writeError = csv.Add(c);
            ++written;
            return writeError.isEmpty();
        });
    if (error.isEmpty())
        error = writeError.isEmpty() ? csv.Commit() : writeError;
    if (!error.isEmpty()) {
        err << ConsoleMessage(program, error) << Qt::endl;
        return exitFailed;
    }
    out << QStringLiteral("Historię sprawdzeń zapisano w pliku %1 (%2).")
               .arg(path, CountText(written, QStringLiteral("sprawdzenie"),
                                    QStringLiteral("sprawdzenia"), QStringLiteral("sprawdzeń")))
        << Qt::endl;
    return exitOk;
}

void Show(const CheckRecord& c, QTextStream& out)
{
    out << "Sprawdzenie: " << c.id << '\n'
        << "Data: " << When(c.checkedAt) << '\n'
        << "Komputer: " << c.computer << "; użytkownik: " << c.user << '\n'
        << "Nazwa miernika: " << c.meterName << '\n'
        << "Numer miernika: " << c.meterNumber << '\n'
        << "Metoda: " << MethodText(CheckMethod(c.method)) << '\n'
        << "Dokument: " << c.documentPath << '\n'
        << "Zakres: " << c.RangeText() << '\n';
    if (!c.sensorText.isEmpty())
        out << c.sensorText << '\n';
    out << c.classText << '\n' << "Wynik: " << c.VerdictText() << '\n';
    out << PolicyLine(c) << '\n';
    const QString calibrator = CalibratorLine(c);
    if (!calibrator.isEmpty())
        out << calibrator << '\n';
    out << "Skrót w łańcuchu: "
        << (c.chainHash.isEmpty() ? QStringLiteral("brak (czeka na wysłanie)") : c.chainHash)
        << '\n';
    out << "Nr  Wskazanie  Nastawa    Błąd rzecz.  Błąd dop.  Błąd kal.  j.m.  ON  U        TUR    "
           "Stwierdzenie\n";
    for (const CheckPointRecord& p : c.points) {
        const PointConformity judged = JudgePoint(c, p);
        out << QString::number(p.position + 1).leftJustified(4) << p.reading.leftJustified(11)
            << p.setting.leftJustified(11)
            << (p.actualError + (p.exceeded ? "*" : "")).leftJustified(13)
            << p.permissibleError.leftJustified(11) << p.calibratorError.leftJustified(11)
            << p.unit.leftJustified(6) << QString(p.marked ? "+" : "").leftJustified(4)
            << judged.UncertaintyText().leftJustified(9)
            << (judged.TurText() + (judged.turLow ? "!" : "")).leftJustified(7)
            << judged.StatementText() << '\n';
    }
    if (!c.notes.isEmpty()) {
        out << "Uwagi:\n";
        for (const CheckNote& n : c.notes)
            out << "  " << NoteLine(n) << '\n';
    }
    out.flush();
}

// The check that `id` names: its whole id, or a beginning of at least 8 characters that no
// other check's id shares.
Fetched<CheckRecord> FindCheck(HistoryStore& store, const QString& id)
{
    constexpr int shortest = 8;
    constexpr int listed = 5;
    Fetched<CheckRecord> check = store.Check(id);
    if (!check.Ok() || !check.value.id.isEmpty())
        return check;
    const QString none = QStringLiteral("nie ma sprawdzenia o identyfikatorze %1").arg(id);
    if (id.size() < shortest) {
        check.error = none + QStringLiteral(" (początek identyfikatora musi mieć co najmniej "
                                            "%1 znaków)")
                                 .arg(shortest);
        return check;
    }
    const Fetched<QStringList> ids = store.IdsStartingWith(id, listed + 1);
    if (!ids.Ok()) {
        check.error = ids.error;
    } else if (ids.value.isEmpty()) {
        check.error = none;
    } else if (ids.value.size() > 1) {
        check.error = QStringLiteral("identyfikator %1 nie jest jednoznaczny: tak zaczynają się "
                                     "identyfikatory %2%3; podaj dłuższy początek")
                          .arg(id, ids.value.mid(0, listed).join(QStringLiteral(", ")),
                               ids.value.size() > listed ? QStringLiteral(" i inne") : QString());
    } else {
        check = store.Check(ids.value.first());
        if (check.Ok() && check.value.id.isEmpty())
            check.error = none; // gone since
    }
    return check;
}

// The record as the queue keeps it, with its link's hash and its notes.
QJsonObject ShownJson(const CheckRecord& c)
{
    QJsonObject shown = RecordToJson(c);
    shown.insert("chainHash", c.chainHash);
    QJsonArray notes;
    for (const CheckNote& n : c.notes)
        notes.append(QJsonObject{{"id", n.id},
                                 {"notedAt", n.notedAt.toString(Qt::ISODate)},
                                 {"computer", n.computer},
                                 {"user", n.user},
                                 {"mark", int(n.mark)},
                                 {"markText", CheckMarkText(n.mark)},
                                 {"text", n.text}});
    shown.insert("notes", notes);
    return shown;
}

int Verify(HistoryStore& store, QTextStream& out, QTextStream& err)
{
    const HistoryChain::Report report = store.VerifyChain();
    if (!report.error.isEmpty()) {
        err << ConsoleMessage(program, report.error) << Qt::endl;
        return exitFailed;
    }
    const QString holding = CountText(report.links, QStringLiteral("zapis"),
                                      QStringLiteral("zapisy"), QStringLiteral("zapisów"));
    if (report.fault) {
        out << QStringLiteral("Zgodne zapisy przed nim: %1.").arg(report.links) << Qt::endl;
        err << ConsoleMessage(program, HistoryChain::FaultText(*report.fault)) << Qt::endl;
        return exitChainBroken;
    }
    out << QStringLiteral("Łańcuch historii jest zgodny: %1 (sprawdzenia i uwagi).").arg(holding)
        << '\n'
        << QStringLiteral("Skrót ostatniego zapisu: %1").arg(report.lastHash) << Qt::endl;
    return exitOk;
}

int Due(HistoryStore& store, const Arguments& a, QTextStream& out, QTextStream& err)
{
    const Fetched<QList<MeterSummary>> meters = store.Meters();
    const Fetched<QList<MeterInterval>> intervals = store.Intervals();
    for (const QString& error : {meters.error, intervals.error}) {
        if (!error.isEmpty()) {
            err << ConsoleMessage(program, error) << Qt::endl;
            return exitFailed;
        }
    }
    const QDate today = QDate::currentDate();
    const QList<DueMeter> due = DueMeters(meters.value, intervals.value, today, a.days);
    if (a.json) {
        QJsonArray list;
        for (const DueMeter& d : due)
            list.append(QJsonObject{{"meterName", d.meterName},
                                    {"meterNumber", d.meterNumber},
                                    {"lastCheckedAt", d.lastCheckedAt.toString(Qt::ISODate)},
                                    {"intervalMonths", d.months},
                                    {"dueOn", d.dueOn.toString(Qt::ISODate)},
                                    {"daysLeft", d.daysLeft},
                                    {"overdue", d.Overdue()}});
        out << QJsonDocument(list).toJson(QJsonDocument::Indented);
        return exitOk;
    }
    const QStringList header{QStringLiteral("Nazwa miernika"), QStringLiteral("Numer miernika"),
                             QStringLiteral("Ostatnie sprawdzenie"), QStringLiteral("Okres (mies.)"),
                             QStringLiteral("Termin"), QStringLiteral("Stan")};
    if (a.csv) {
        QStringList lines{header.join(QLatin1Char(';'))};
        for (const DueMeter& d : due)
            lines << QStringList{CsvText::Field(d.meterName), CsvText::Field(d.meterNumber),
                                 When(d.lastCheckedAt), QString::number(d.months),
                                 ReportDateText(d.dueOn), DueStateText(d)}
                         .join(QLatin1Char(';'));
        out << QStringLiteral("\uFEFF") << lines.join(QStringLiteral("\r\n")) << "\r\n";
        out.flush();
        return exitOk;
    }
    if (!due.isEmpty()) {
        TextTable table;
        QString error;
        const auto failed = [&] {
            err << ConsoleMessage(program, error) << Qt::endl;
            return exitFailed;
        };
        if (!table.Open(&error))
            return failed();
        table.Add(header);
        for (const DueMeter& d : due)
            table.Add({d.meterName, d.meterNumber, When(d.lastCheckedAt), QString::number(d.months),
                       ReportDateText(d.dueOn), DueStateText(d)});
        if (!table.Print(out, &error))
            return failed();
    }
    out << QStringLiteral("Do sprawdzenia (po terminie albo w ciągu %1): %2")
               .arg(CountText(a.days, QStringLiteral("dnia"), QStringLiteral("dni"),
                              QStringLiteral("dni")))
               .arg(due.size())
        << Qt::endl;
    return exitOk;
}

} // namespace

int RunHistoryCommand(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    const QStringList rest = arguments.mid(2);
    if (rest.contains("--help") || rest.contains("-h") || rest.value(0) == "help") {
        out << usage;
        return exitOk;
    }
    Arguments a;
    try {
        a = Parse(arguments);
    } catch (const UsageError& e) {
        err << ConsoleMessage(program, e.text) << Qt::endl
            << "Pomoc: r718-report history --help" << Qt::endl;
        return exitUsage;
    }

    HistoryDatabase database(HistoryConfig::Current());
    if (a.command == "backup") {
        const QString failure = database.BackUp(a.backupPath);
        if (!failure.isEmpty()) {
            err << ConsoleMessage(program, failure) << Qt::endl;
            return exitFailed;
        }
        out << QStringLiteral("Kopię historii sprawdzeń zapisano w pliku %1.").arg(a.backupPath)
            << Qt::endl;
        return exitOk;
    }
    // Whatever waits for the server goes first; a server out of reach fails the read below.
    database.SendQueued();
    QString error;
    HistoryStore* store = database.Store(&error);
    if (!store) {
        err << ConsoleMessage(program, error) << Qt::endl;
        return exitFailed;
    }

    if (a.command == "show") {
        const Fetched<CheckRecord> check = FindCheck(*store, a.id);
        if (!check.Ok()) {
            err << ConsoleMessage(program, check.error) << Qt::endl;
            return exitFailed;
        }
        if (a.json)
            out << QJsonDocument(ShownJson(check.value)).toJson(QJsonDocument::Indented);
        else
            Show(check.value, out);
        return exitOk;
    }

    if (a.command == "verify")
        return Verify(*store, out, err);
    if (a.command == "due")
        return Due(*store, a, out, err);

    if (a.command == "list")
        return List(*store, a.meter, a.json, out, err);
    return Export(*store, a.meter, a.csvPath, out, err);
}
