// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

class QSqlDatabase;

// The tamper-evident chain of a history database. Every check and every note added to a check
// is a link of the table `chain`: its place (seq, 1, 2, ... without gaps), the hash of the link
// before it and its own hash,
//     hash = hex SHA-256( previous hash + "\n" + canonical content )
// where the first link's previous hash is 64 zeros. The canonical content is read back from the
// rows as stored (ContentOfCheck, ContentOfNote): compact JSON, keys sorted, every column's
// value as its text, a check's points ordered by position. A value changed, a point added or
// taken away, a link removed or a row added past the program shows on the next walk.
//
// Links are added inside the transaction that stores the item, while the writers of the
// database take turns (BeginWriting): the chain follows the order in which the transactions
// commit, on the PostgreSQL server as in a SQLite file.
namespace HistoryChain {

enum class Kind
{
    Check,
    Note,
};

// Starts a transaction in which links may be added: SQLite BEGIN IMMEDIATE (one writer at a
// time), PostgreSQL an advisory lock held until the transaction ends. Commit or roll back with
// the database's own commit() and rollback(). False with the database's reason.
bool BeginWriting(QSqlDatabase& db, QString* error);

// Adds the stored item as the chain's next link (inside BeginWriting's transaction). An empty
// text or the reason.
QString Append(QSqlDatabase& db, Kind kind, const QString& id);

// Links the checks stored before the chain existed, in the order of their time (then range
// and id), once, when the tables are upgraded. Their content is sealed as it was then.
QString SealExisting(QSqlDatabase& db);

// The canonical content of a stored check or note; none when it is not there (empty error)
// or cannot be read (error says why).
std::optional<QByteArray> ContentOfCheck(QSqlDatabase& db, const QString& id, QString* error);
std::optional<QByteArray> ContentOfNote(QSqlDatabase& db, const QString& id, QString* error);

QString LinkHash(const QString& previousHash, const QByteArray& content);
// The first link's previous hash.
QString StartHash();
// The first 12 hexadecimal digits of a hash, as the window and the report show it.
QString ShortHash(const QString& hash);

// The first link that does not hold, or what was added past the chain.
struct Fault
{
    enum class What
    {
        Content,   // the item's content is not what its hash says (changed, or gone)
        Link,      // the link does not follow the one before it (one removed, moved or forged)
        Unchained, // an item stored without a link
    };
    What what = What::Content;
    int seq = 0; // 0 for an item without a link
    Kind kind = Kind::Check;
    QString id;
    QString meterName; // empty when the item is gone
    QString meterNumber;
    QDateTime at;
};

struct Report
{
    int links = 0;    // links that hold, up to the fault or to the end
    QString lastHash; // of the last link that holds
    std::optional<Fault> fault;
    QString error;    // the chain could not be read
};

// Walks the chain from its first link; stops at the first fault.
Report Verify(QSqlDatabase& db);

// The fault in Polish, naming the link, the item, its meter and time, and what does not hold.
QString FaultText(const Fault& fault);

} // namespace HistoryChain
