#include "testenvironment.h"

#include "entry/uninstallexports.h"

#include "ternga.h"
#include "ternlog.h"
#include "ternproductinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

void TestEnv_initFramework(int& argc, char** argv)
{
    UinstallFramworkInit(argc, 0, argv);
}

namespace TestEnv {

namespace {

QString dataFile(const char* name, const QString& dataFolder = QString())
{
    return (dataFolder.isEmpty() ? dataLocation() : dataFolder) + QLatin1String(name);
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

QString installDir()
{
    return QCoreApplication::applicationDirPath();
}

QString sandboxRoot()
{
    const QString root = qEnvironmentVariable("UNINSTALL_SANDBOX");
    return root.isEmpty() ? QFileInfo(installDir()).absolutePath() : root;
}

QString resourceRoot()
{
    return installDir() + QStringLiteral("/resources");
}

QString dataLocation()
{
    return QStandardPaths::writableLocation(QStandardPaths::DataLocation);
}

void updateProduct(const QJsonObject& members, const QJsonObject& extendParams)
{
    mergeIntoProduct(installDir() + QStringLiteral("/product.json"), members, extendParams);
    TernProductInfo::reloadDescription();
}

bool mergeIntoProduct(
    const QString& productFile, const QJsonObject& members, const QJsonObject& extendParams)
{
    QVariantMap product = QJsonDocument::fromJson(readAll(productFile)).object().toVariantMap();
    product.insert(members.toVariantMap());
    QVariantMap params = product.value(QStringLiteral("extendParams")).toMap();
    params.insert(extendParams.toVariantMap());
    product.insert(QStringLiteral("extendParams"), params);
    return writeFile(productFile, QJsonDocument::fromVariant(product).toJson());
}

void setExtendParam(const QString& name, const QString& value)
{
    updateProduct({}, QJsonObject { { name, value } });
}

QList<QJsonObject> analyticsEvents()
{
    QList<QJsonObject> events;
    for (const QByteArray& line : readAll(TERNGA::eventFilePath()).split('\n')) {
        if (!line.trimmed().isEmpty())
            events.append(QJsonDocument::fromJson(line).object());
    }
    return events;
}

void clearAnalyticsEvents()
{
    QFile::remove(TERNGA::eventFilePath());
}

QStringList logMessages(const QString& channel, const QString& dataFolder)
{
    // A line reads: <date> <time> [<thread>] [<channel>] [<level>] <message>
    static const QRegularExpression format(
        QStringLiteral("^\\S+ \\S+ \\[[^]]*\\] \\[([^]]*)\\] \\[[^]]*\\] (.*)$"));
    QStringList messages;
    for (const QString& line :
        QString::fromUtf8(readAll(dataFile("/uninstall.log", dataFolder))).split('\n')) {
        const QRegularExpressionMatch match = format.match(line);
        if (match.hasMatch() && (channel.isEmpty() || match.captured(1) == channel))
            messages.append(match.captured(2));
    }
    return messages;
}

QStringList leftovers(const QString& dataFolder)
{
    QStringList leftovers;
    const QByteArray list = readAll(dataFile("/leftovers.json", dataFolder));
    for (const QJsonValue leftover : QJsonDocument::fromJson(list)["leftovers"].toArray())
        leftovers << leftover["reason"].toString() + QLatin1Char(' ')
                + QFileInfo(leftover["path"].toString()).fileName();
    return leftovers;
}

void useWizardLog()
{
    SetLogfile(dataFile("/uninstall.log").toStdString().c_str());
    SetLogLevel(1);
}

void clearLog()
{
    QFile(dataFile("/uninstall.log")).resize(0);
}

double waitScale(double fast)
{
    bool ok = false;
    const double slowdown = qEnvironmentVariable("UNINSTALL_TEST_SLOWDOWN").toDouble(&ok);
    return ok && slowdown > 0 ? fast * slowdown : fast;
}

QString waitScaleSetting(double fast)
{
    return QStringLiteral("UNINSTALL_WAIT_SCALE=%1").arg(waitScale(fast));
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

bool makeDeepTree(const QString& root, int depth, const char* name)
{
    // Each level is made from a handle on the one above: the path soon outgrows PATH_MAX.
    int directory = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < depth && directory >= 0; ++level) {
        ::mkdirat(directory, name, 0700);
        const int next = ::openat(directory, name, O_RDONLY | O_DIRECTORY);
        ::close(directory);
        directory = next;
    }
    const int file = ::openat(directory, "bottom.txt", O_CREAT | O_WRONLY, 0600);
    ::close(directory);
    return ::close(file) == 0;
}

} // namespace TestEnv
