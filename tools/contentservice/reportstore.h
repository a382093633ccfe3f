#pragma once

#include <QByteArray>
#include <QString>

#include <mutex>
#include <ostream>

struct sqlite3;

// Keeps every feedback report the service receives, so a script can look at what a wizard sent
// after the wizard has gone. Safe to call from the server's worker threads.
class ReportStore {
public:
    // Existing opens only a database that is already there (for listing), without changing it.
    enum class Mode { Create, Existing };

    ReportStore() = default;
    ~ReportStore();
    ReportStore(const ReportStore&) = delete;
    ReportStore& operator=(const ReportStore&) = delete;

    bool open(const QString& path, Mode mode);
    QString errorString() const { return m_error; }

    struct Stored {
        qint64 id = -1;
        QString kind;
    };
    // Returns an id of -1 when the report could not be written.
    Stored store(const QString& path, const QString& contentType, const QByteArray& body);

    // One compact JSON object per report and line, oldest first; returns the number written,
    // or -1 when the database could not be read.
    int list(std::ostream& out);

    // "first" for the report that carries the causes, "second" for the one with the e-mail
    // address, "unknown" for anything else.
    static QString kindOf(const QByteArray& body);

private:
    bool exec(const char* sql);
    void setError(const QString& what);

    sqlite3* m_db = nullptr;
    std::mutex m_mutex;
    QString m_error;
};
