#include "content/picturequeue.h"
#include "content/urlhandler.h"

#include "entry/waits.h"

#include "contentevents.h"
#include "loopbackserver.h"
#include "testenvironment.h"
#include "testfiles.h"

#include "ternsettings.h"

#include <QDir>
#include <QFile>
#include <QThread>
#include <QtTest>

namespace {

QByteArray downloaded(const QString& name)
{
    QFile file(UrlHandler::downloadDirectory() + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

} // namespace

// The worker on its own thread, driven as the profile drives it, against a loopback service.
class TestUrlHandler : public QObject {
    Q_OBJECT

    void start(QList<DownloadItem> downloads = {})
    {
        if (downloads.isEmpty()) {
            downloads = { { m_server->url(QStringLiteral("/banner.png")),
                              QStringLiteral("banner_pic_en.png") },
                { m_server->url(QStringLiteral("/promotion.png")),
                    QStringLiteral("promotion_pic_en.png") } };
        }
        auto* worker = new UrlHandler(QStringLiteral("1"), downloads,
            m_server->address(QStringLiteral("/rec.json")),
            m_server->address(QStringLiteral("/chose.json")),
            m_server->address(QStringLiteral("/cause.json")));
        m_events = new ContentEvents(worker);
        connect(worker, &UrlHandler::LoadResError, m_events, [this] { ++m_loadErrors; });

        m_thread = new QThread;
        worker->runOn(m_thread);
        m_thread->start();
    }

    LoopbackServer* m_server = nullptr;
    QThread* m_thread = nullptr;
    ContentEvents* m_events = nullptr;
    int m_loadErrors = 0;
    const QByteArray m_picture = TestFiles::png();

private slots:
    void initTestCase() { TestEnv::useWizardLog(); }

    void init()
    {
        using Response = LoopbackServer::Response;
        // Room for a busy machine where answers are expected, little where waits run out.
        Waits::setScale(0.5);
        TestEnv::clearLog();
        TernSettings::instance()->setValue(QStringLiteral("uninstall_version"), QString());
        QDir(UrlHandler::downloadDirectory()).removeRecursively();
        m_server = new LoopbackServer;
        QVERIFY(m_server->listen());
        m_server->setResponse(
            QStringLiteral("/rec.json"), Response::json(R"({"recommendApp": {"en": []}})"));
        m_server->setResponse(QStringLiteral("/chose.json"),
            Response::json(R"({"uninstallChose": {"default": ["a"]}})"));
        m_server->setResponse(QStringLiteral("/cause.json"),
            Response::json(R"({"uninstallCause": {"default": {"a": "A"}}})"));
        m_server->setResponse(QStringLiteral("/banner.png"), Response::ok(m_picture));
        m_server->setResponse(QStringLiteral("/promotion.png"), Response::ok(m_picture));
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
        Waits::setScale(0.1);
        m_server->setResponse(path, LoopbackServer::Response::noAnswer());
        start();

        QTRY_COMPARE(m_loadErrors, 1);
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error")),
            (QStringList { QStringLiteral("request timed out after %1 ms: ")
                               .arg(Waits::scaled(Waits::kConfigurationMs))
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

    // Answers that give the wizard nothing to use count as a failed document.
    void unusableDocumentFails_data()
    {
        using Response = LoopbackServer::Response;
        QTest::addColumn<QString>("path");
        QTest::addColumn<Response>("answer");
        QTest::addColumn<QString>("error"); // the start of the first "error" line

        const QString unusable = QStringLiteral("document without usable content");
        QTest::newRow("choice as an array")
            << "/chose.json" << Response::json(R"({"uninstallChose": []})") << unusable;
        QTest::newRow("choice of a string")
            << "/chose.json" << Response::json(R"({"uninstallChose": {"en": "slow"}})") << unusable;
        QTest::newRow("texts as an array")
            << "/chose.json" << Response::json(R"({"uninstallCause": []})") << unusable;
        QTest::newRow("no texts") << "/cause.json"
                                  << Response::json(R"({"uninstallCause": {"default": {}}})")
                                  << unusable;
        QTest::newRow("applications of no known shape")
            << "/rec.json" << Response::json(R"({"apps": []})") << unusable;
        QTest::newRow("no content")
            << "/chose.json" << Response::error(204) << "NetworkError error:empty body";
        QTest::newRow("redirect off to plain http")
            << "/chose.json" << Response::redirect(302, "http://content.example/c.json")
            << "refused redirect to http://content.example/c.json";
        QTest::newRow("over 1 MB") << "/rec.json" << Response::json(QByteArray(2 << 20, ' ') + "{}")
                                   << "download over 1048576 bytes refused: ";
    }

    void unusableDocumentFails()
    {
        QFETCH(QString, path);
        QFETCH(LoopbackServer::Response, answer);
        QFETCH(QString, error);
        m_server->setResponse(path, answer);
        start();

        QTRY_COMPARE(m_loadErrors, 1);
        const QStringList errors = TestEnv::logMessages(QStringLiteral("error"));
        QVERIFY2(
            !errors.isEmpty() && errors.first().startsWith(error), qPrintable(errors.join('|')));
        QTRY_COMPARE(m_events->ready, 1);
        QTest::qWait(50);
        QCOMPARE(m_loadErrors, 1);
    }

    // Only a whole picture replaces the one of an earlier run.
    void pictureAnswers_data()
    {
        using Response = LoopbackServer::Response;
        QTest::addColumn<Response>("answer");
        QTest::addColumn<bool>("saved");
        const QByteArray picture = TestFiles::png();
        QTest::newRow("picture") << Response::ok(picture) << true;
        QTest::newRow("redirect within the service")
            << Response::redirect(302, QStringLiteral("/promotion.png")) << true;
        QTest::newRow("redirect off to plain http")
            << Response::redirect(301, QStringLiteral("http://content.example/b.png")) << false;
        QTest::newRow("no content") << Response::error(204) << false;
        QTest::newRow("server error") << Response::error(500, picture) << false;
        QTest::newRow("not a picture") << Response::ok("<html>sorry</html>") << false;
        QTest::newRow("declares 20000 x 20000")
            << Response::ok(TestFiles::pngDeclaring(20000, 20000)) << false;
        QTest::newRow("cut off") << Response::truncated(picture, 20) << false;
    }

    void pictureAnswers()
    {
        QFETCH(LoopbackServer::Response, answer);
        QFETCH(bool, saved);
        const QByteArray earlier = TestFiles::png(4);
        QVERIFY(TestEnv::writeFile(UrlHandler::downloadDirectory() + "banner_pic_en.png", earlier));
        m_server->setResponse(QStringLiteral("/banner.png"), answer);
        start();

        QTRY_COMPARE(m_events->ready, 1);
        QCOMPARE(downloaded("banner_pic_en.png"), saved ? m_picture : earlier);
        // The queue goes on past a failure.
        QCOMPARE(downloaded("promotion_pic_en.png"), m_picture);
        QCOMPARE(m_loadErrors, 0);
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error")).isEmpty(), saved);
    }

    void picturesShareOneDeadline()
    {
        Waits::setScale(0.1);
        QList<DownloadItem> downloads;
        for (int i = 0; i < 6; ++i) {
            const QString path = QStringLiteral("/hang%1.png").arg(i);
            m_server->setResponse(path, LoopbackServer::Response::noAnswer());
            downloads.append({ m_server->url(path), QStringLiteral("p%1.png").arg(i) });
        }
        start(downloads);

        QTRY_COMPARE(m_events->ready, 1);
        // Four at a time: the last two never started.
        QCOMPARE(m_server->requestCount() - 3, PictureQueue::kParallel);
        QCOMPARE(TestEnv::logMessages(QStringLiteral("error")),
            QStringList { QStringLiteral("pictures not in by the deadline: 6") });
        QVERIFY(QDir(UrlHandler::downloadDirectory()).isEmpty());
    }
};

UNINSTALL_TEST_MAIN(TestUrlHandler)
#include "tst_urlhandler.moc"
