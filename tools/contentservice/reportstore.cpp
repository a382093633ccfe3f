#include "reportstore.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

#include <sqlite3.h>

namespace {

const char* const schema = "CREATE TABLE IF NOT EXISTS reports ("
                           " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                           " received TEXT NOT NULL,"
                           " path TEXT NOT NULL,"
                           " content_type TEXT NOT NULL,"
                           " kind TEXT NOT NULL,"
                           " tid TEXT NOT NULL,"
                           " user_id TEXT NOT NULL,"
                           " body BLOB NOT NULL)";

QJsonObject parseObject(const QByteArray& body)
{
    const QJsonDocument document = QJsonDocument::fromJson(body);
    return document.isObject() ? document.object() : QJsonObject();
}

QString columnText(sqlite3_stmt* statement, int column)
{
    // By length: a client's text may hold a NUL.
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, column)) : QString();
}

QByteArray columnBlob(sqlite3_stmt* statement, int column)
{
    const auto* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
    return QByteArray(data, sqlite3_column_bytes(statement, column));
}

void bindText(sqlite3_stmt* statement, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
}

} // namespace

ReportStore::~ReportStore()
{
    if (m_db)
        sqlite3_close(m_db);
}

bool ReportStore::open(const QString& path, Mode mode)
{
    // Even a listing opens for writing: reading a WAL database may have to touch its index.
    const int flags = mode == Mode::Existing ? SQLITE_OPEN_READWRITE
                                             : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    if (sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags | SQLITE_OPEN_FULLMUTEX, nullptr)
        != SQLITE_OK) {
        setError(QStringLiteral("cannot open %1").arg(path));
        return false;
    }
    // A listing may run while the service writes; give the other side time to finish.
    sqlite3_busy_timeout(m_db, 5000);
    if (mode == Mode::Existing)
        return true;
    // WAL lets a listing read while the service keeps writing.
    return exec("PRAGMA journal_mode=WAL") && exec(schema);
}

bool ReportStore::exec(const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    m_error = QString::fromUtf8(message ? message : "unknown error");
    sqlite3_free(message);
    return false;
}

void ReportStore::setError(const QString& what)
{
    m_error = what + QStringLiteral(": ")
        + QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : "out of memory");
}

QString ReportStore::kindOf(const QByteArray& body)
{
    const QJsonObject object = parseObject(body);
    if (object.contains(QLatin1String("userEmail")))
        return QStringLiteral("second");
    if (object.contains(QLatin1String("uninstallCause")))
        return QStringLiteral("first");
    return QStringLiteral("unknown");
}

ReportStore::Stored ReportStore::store(
    const QString& path, const QString& contentType, const QByteArray& body)
{
    const QJsonObject object = parseObject(body);
    Stored stored;
    stored.kind = kindOf(body);

    std::lock_guard<std::mutex> lock(m_mutex);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db,
            "INSERT INTO reports (received, path, content_type, kind, tid, user_id, body)"
            " VALUES (?, ?, ?, ?, ?, ?, ?)",
            -1, &statement, nullptr)
        != SQLITE_OK) {
        setError(QStringLiteral("cannot prepare insert"));
        return stored;
    }
    bindText(statement, 1, QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    bindText(statement, 2, path);
    bindText(statement, 3, contentType);
    bindText(statement, 4, stored.kind);
    bindText(statement, 5, object.value(QLatin1String("tid")).toString());
    bindText(statement, 6, object.value(QLatin1String("userId")).toString());
    sqlite3_bind_blob(statement, 7, body.constData(), body.size(), SQLITE_TRANSIENT);
    if (sqlite3_step(statement) == SQLITE_DONE)
        stored.id = sqlite3_last_insert_rowid(m_db);
    else
        setError(QStringLiteral("cannot store report"));
    sqlite3_finalize(statement);
    return stored;
}

int ReportStore::list(std::ostream& out)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db,
            "SELECT id, received, path, content_type, kind, tid, user_id, body"
            " FROM reports ORDER BY id",
            -1, &statement, nullptr)
        != SQLITE_OK) {
        setError(QStringLiteral("cannot read reports"));
        return -1;
    }
    int count = 0;
    int status = SQLITE_ROW;
    while ((status = sqlite3_step(statement)) == SQLITE_ROW) {
        const QByteArray body = columnBlob(statement, 7);
        const QJsonDocument parsed = QJsonDocument::fromJson(body);
        const QJsonObject line {
            { QStringLiteral("id"), sqlite3_column_int64(statement, 0) },
            { QStringLiteral("received"), columnText(statement, 1) },
            { QStringLiteral("path"), columnText(statement, 2) },
            { QStringLiteral("contentType"), columnText(statement, 3) },
            { QStringLiteral("kind"), columnText(statement, 4) },
            { QStringLiteral("tid"), columnText(statement, 5) },
            { QStringLiteral("userId"), columnText(statement, 6) },
            // The exact bytes, so a check can compare the serialisation, and the parsed
            // document (null when the body is no JSON object) for convenient queries.
            { QStringLiteral("body"), QString::fromUtf8(body.constData(), body.size()) },
            { QStringLiteral("document"),
                parsed.isObject() ? QJsonValue(parsed.object()) : QJsonValue() },
        };
        out << QJsonDocument(line).toJson(QJsonDocument::Compact).constData() << '\n';
        ++count;
    }
    sqlite3_finalize(statement);
    if (status != SQLITE_DONE) {
        setError(QStringLiteral("cannot read reports"));
        return -1;
    }
    out.flush();
    return count;
}
