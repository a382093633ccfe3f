#include "content/urlhandler.h"

#include "contentevents.h"
#include "httptestserver.h"
#include "testenvironment.h"

#include "ternlog.h"
#include "ternsettings.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <QtTest>

// The worker on its own thread, driven as the profile drives it, with a short request deadline.
class TestUrlHandler : public QObject {
    Q_OBJECT

    void start()
    {
        const QList<DownloadItem> downloads {
            { m_server->url(QStringLiteral("/banner.png")), QStringLiteral("banner_pic_en.png") },
            { m_server->url(QStringLiteral("/promotion.png")),
                QStringLiteral("promotion_pic_en.png") },
        };
        auto* worker = new UrlHandler(QStringLiteral("1"), downloads,
            m_server->address(QStringLiteral("/rec.json")),
            m_server->address(QStringLiteral("/chose.json")),
            m_server->address(QStringLiteral("/cause.json")));
        worker->setRequestTimeout(kDeadlineMs);
        m_events = new ContentEvents(worker);
        connect(worker, &UrlHandler::LoadResError, m_events, [this] { ++m_loadErrors; });

        m_thread = new QThread;
        worker->runOn(m_thread);
        m_thread->start();
    }

    static constexpr int kDeadlineMs = 300;
    HttpTestServer* m_server = nullptr;
    QThread* m_thread = nullptr;
    ContentEvents* m_events = nullptr;
    int m_loadErrors = 0;

private slots:
    void initTestCase() { TestEnv::useWizardLog(); }

    void init()
    {
        using Response = HttpTestServer::Response;
        TestEnv::clearLog();
        TernSettings::instance()->setValue(QStringLiteral("uninstall_version"), QString());
        QDir(UrlHandler::downloadDirectory()).removeRecursively();
        m_server = new HttpTestServer(this);
        QVERIFY(m_server->listen());
        m_server->setResponse(
            QStringLiteral("/rec.json"), Response::json(R"({"recommendApp": {"en": []}})"));
        m_server->setResponse(QStringLiteral("/chose.json"),
            Response::json(R"({"uninstallChose": {"default": ["a"]}})"));
        m_server->setResponse(QStringLiteral("/cause.json"),
            Response::json(R"({"uninstallCause": {"default": {"a": "A"}}})"));
        m_server->setResponse(QStringLiteral("/banner.png"), Response::ok("banner"));
        m_server->setResponse(QStringLiteral("/promotion.png"), Response::ok("promotion"));
        m_loadErrors = 0;
    }

    void cleanup()
    {
        if (m_thread) {
            m_thread->quit();
            QVERIFY(m_thread->wait(5000));
        }
        delete m_thread;
        m_thread = nullptr;
        delete m_events;
        m_events = nullptr;
        delete m_server;
        m_server = nullptr;
    }

    void hangingDocumentFailsAtItsDeadline_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("applications") << "/rec.json";
        QTest::newRow("cause choice") << "/chose.json";
        QTest::newRow("cause texts") << "/cause.json";
    }

    void hangingDocumentFailsAtItsDeadline()
    {
        QFETCH(QString, path);
        m_server->setResponse(path, HttpTestServer::Response::noAnswer());
        start();

        QTRY_COMPARE(m_loadErrors, 1);
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error")),
            (QStringList { QStringLiteral("request timed out after %1 ms: ").arg(kDeadlineMs)
                    + m_server->address(path),
                QStringLiteral("NetworkError error:Operation canceled") }));
        QVERIFY(TestEnv::logMessages(QStringLiteral("debug"))
                    .contains(QStringLiteral("load default res!")));
        // The other chain is not held up by the hanging one.
        if (path != QLatin1String("/rec.json"))
            QTRY_COMPARE(m_events->ready, 1);
        else
            QTRY_COMPARE(m_events->causes.size(), 1);
    }

    void hangingPictureIsSkipped()
    {
        m_server->setResponse(QStringLiteral("/banner.png"), HttpTestServer::Response::noAnswer());
        start();

        QTRY_COMPARE(m_events->ready, 1);
        QCOMPARE(m_loadErrors, 0);
        QVERIFY(!QFile::exists(UrlHandler::downloadDirectory() + "banner_pic_en.png"));
        QVERIFY(QFile::exists(UrlHandler::downloadDirectory() + "promotion_pic_en.png"));
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error")).size(), 2);
    }
};

UNINSTALL_TEST_MAIN(TestUrlHandler)
#include "tst_urlhandler.moc"
