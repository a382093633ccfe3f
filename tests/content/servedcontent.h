#pragma once

#include "loopbackserver.h"
#include "testenvironment.h"
#include "testfiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>

// The content service as the tests serve it: a configuration of version "3" naming the three
// documents, two applications with their icons, and the English offer pictures.
namespace ServedContent {

using Response = LoopbackServer::Response;
using Answers = QMap<QString, Response>;

// A distinct picture per path, so that a saved file tells where it came from.
inline QByteArray pictureOf(const QString& path)
{
    return TestFiles::png(8 + int(qHash(path) % 64));
}

// The two applications the service offers, with their icons.
inline Response remoteApps()
{
    return Response::json(R"({"recommendApp": {"en": [
        {"icon": "a.png", "name": "A", "url": "https://a", "pic_url": "/icons/a.png"},
        {"icon": "b.png", "name": "B", "url": "https://b", "pic_url": "/icons/b.png"}]}})");
}

// Applications with nothing but an icon, fetched from "/icons/<icon>".
inline Response apps(const QStringList& icons, const QString& language = QStringLiteral("en"))
{
    QJsonArray list;
    for (const QString& icon : icons)
        list.append(QJsonObject { { "icon", icon }, { "pic_url", "/icons/" + icon } });
    const QJsonObject root { { "recommendApp", QJsonObject { { language, list } } } };
    return Response::json(QJsonDocument(root).toJson());
}

inline Answers hanging(const QStringList& paths)
{
    Answers answers;
    for (const QString& path : paths)
        answers.insert(path, Response::noAnswer());
    return answers;
}

// Serves the content with `changes` replacing answers by path, and names it in the product's
// extended parameters. Relative picture addresses stand for the service's own.
inline void serve(
    LoopbackServer& server, const Answers& changes = {}, const QJsonObject& configChanges = {})
{
    QJsonObject config { { "version", "3" }, { "banner_pic", server.address("/pics/banner_") },
        { "promotion_pic", server.address("/pics/promotion_") },
        { "recommendApp", server.address("/rec.json") },
        { "uninstallChose", server.address("/chose.json") },
        { "uninstallCause", server.address("/cause.json") } };
    for (auto it = configChanges.begin(); it != configChanges.end(); ++it)
        config.insert(it.key(), it.value());
    Answers all { { "/config.json", Response::json(QJsonDocument(config).toJson()) },
        { "/rec.json", remoteApps() },
        { "/chose.json", Response::json(R"({"uninstallCuaseCheck": true, "users": "3 users",
            "uninstallChose": {"en": ["a", "b"], "default": ["slow"]}})") },
        { "/cause.json",
            Response::json(R"({"uninstallCause": {"default": {"b": "Bee", "slow": "Slow"}}})") } };
    for (const char* picture : { "/pics/banner_en.png", "/pics/promotion_en.png", "/icons/a.png",
             "/icons/b.png", "/icons/ok.png" })
        all.insert(picture, Response::ok(pictureOf(picture)));
    for (auto it = changes.begin(); it != changes.end(); ++it)
        all.insert(it.key(), it.value());
    for (auto it = all.begin(); it != all.end(); ++it) {
        Response answer = it.value();
        answer.body.replace("\"/icons/", "\"" + server.address("/icons/").toUtf8());
        server.setResponse(it.key(), answer);
    }
    TestEnv::setExtendParam(QStringLiteral("uninstallConfigURL"), server.address("/config.json"));
}

} // namespace ServedContent
