#include "testenvironment.h"

#include "entry/uninstallexports.h"

#include "ternga.h"
#include "ternlog.h"
#include "ternproductinfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QString installDir()
{
    return QCoreApplication::applicationDirPath();
}

QString sandboxRoot()
{
    const QString root = qEnvironmentVariable("UNINSTALL_SANDBOX");
    return root.isEmpty() ? QFileInfo(installDir()).absolutePath() : root;
}

QString productFile()
{
    return installDir() + QStringLiteral("/product.json");
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
    mergeIntoProduct(productFile(), members, extendParams);
    TernProductInfo::reloadDescription();
}

bool mergeIntoProduct(
    const QString& productFile, const QJsonObject& members, const QJsonObject& extendParams)
{
    QFile file(productFile);
    QJsonObject product;
    if (file.open(QIODevice::ReadOnly))
        product = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    for (auto it = members.begin(); it != members.end(); ++it)
        product.insert(it.key(), it.value());
    QJsonObject params = product.value(QStringLiteral("extendParams")).toObject();
    for (auto it = extendParams.begin(); it != extendParams.end(); ++it)
        params.insert(it.key(), it.value());
    product.insert(QStringLiteral("extendParams"), params);
    return writeFile(productFile, QJsonDocument(product).toJson());
}

void setExtendParam(const QString& name, const QString& value)
{
    updateProduct({}, QJsonObject { { name, value } });
}

QList<QJsonObject> analyticsEvents()
{
    QList<QJsonObject> events;
    QFile file(TERNGA::eventFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return events;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (!line.trimmed().isEmpty())
            events.append(QJsonDocument::fromJson(line).object());
    }
    return events;
}

void clearAnalyticsEvents()
{
    QFile::remove(TERNGA::eventFilePath());
}

namespace {
QString logFilePath(const QString& dataFolder = QString())
{
    return (dataFolder.isEmpty() ? dataLocation() : dataFolder) + QStringLiteral("/uninstall.log");
}
} // namespace

QStringList logLines(const QString& dataFolder)
{
    QFile file(logFilePath(dataFolder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList logMessages(const QString& channel, const QString& dataFolder)
{
    // A line reads: <date> <time> [<thread>] [<channel>] [<level>] <message>
    static const QRegularExpression format(
        QStringLiteral("^\\S+ \\S+ \\[[^]]*\\] \\[([^]]*)\\] \\[[^]]*\\] (.*)$"));
    QStringList messages;
    for (const QString& line : logLines(dataFolder)) {
        const QRegularExpressionMatch match = format.match(line);
        if (match.hasMatch() && (channel.isEmpty() || match.captured(1) == channel))
            messages.append(match.captured(2));
    }
    return messages;
}

void useWizardLog()
{
    SetLogfile(logFilePath().toStdString().c_str());
    SetLogLevel(1);
}

void clearLog()
{
    QFile file(logFilePath());
    file.resize(0);
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(data) == data.size();
}

bool makeDeepTree(const QString& root, int depth, const char* name)
{
    // Each level is made from a handle on the one above: the path soon outgrows PATH_MAX.
    int directory = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < depth && directory >= 0; ++level) {
        const int next = ::mkdirat(directory, name, 0700) == 0
            ? ::openat(directory, name, O_RDONLY | O_DIRECTORY)
            : -1;
        ::close(directory);
        directory = next;
    }
    if (directory < 0)
        return false;
    const int file = ::openat(directory, "bottom.txt", O_CREAT | O_WRONLY, 0600);
    ::close(directory);
    if (file < 0)
        return false;
    ::close(file);
    return true;
}

bool childFailed(const QString& how, const QByteArray& errors)
{
    qWarning("%s; its error output ends:\n%s", qUtf8Printable(how), errors.right(6000).constData());
    return false;
}

} // namespace TestEnv
