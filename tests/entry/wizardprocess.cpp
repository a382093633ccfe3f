#include "wizardprocess.h"

#include "testenvironment.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcessEnvironment>
#include <QSharedMemory>
#include <QSignalSpy>

#include <cstring>

namespace WizardProcess {

QString makeInstallation(
    const QString& name, const QJsonObject& extendParams, const QString& productName)
{
    const QString dir = TestEnv::makeInstallation(name);
    QFile file(dir + QStringLiteral("/product.json"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QJsonObject product = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    QJsonObject params = product.value(QStringLiteral("extendParams")).toObject();
    params.insert(QStringLiteral("uninstallTest"), QStringLiteral("1"));
    for (auto it = extendParams.begin(); it != extendParams.end(); ++it)
        params.insert(it.key(), it.value());
    product.insert(QStringLiteral("extendParams"), params);
    if (!productName.isEmpty())
        product.insert(QStringLiteral("name"), productName);
    if (!TestEnv::writeFile(file.fileName(), QJsonDocument(product).toJson()))
        return {};
    return dir;
}

QString writeScript(const QString& name, const QStringList& steps)
{
    const QString path = TestEnv::sandboxRoot() + QStringLiteral("/scripts/") + name;
    TestEnv::writeFile(path, steps.join(QLatin1Char('\n')).toUtf8() + '\n');
    return path;
}

void start(QProcess& process, const QString& installation, const QString& script,
    const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!script.isEmpty())
        environment.insert(QStringLiteral("TERN_AUTOPILOT"), script);
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(TestEnv::sandboxRoot());
    process.start(installation + QStringLiteral("/uninstaller"), arguments);
}

Run run(
    const QString& installation, const QString& script, const QStringList& arguments, int timeoutMs)
{
    QProcess process;
    QSignalSpy finished(&process, qOverload<int, QProcess::ExitStatus>(&QProcess::finished));
    start(process, installation, script, arguments);
    Run result;
    result.ended = finished.wait(timeoutMs) && process.exitStatus() == QProcess::NormalExit;
    if (!result.ended) {
        process.kill();
        process.waitForFinished();
    }
    result.exitCode = process.exitCode();
    const QByteArray output = process.readAllStandardOutput();
    const int at = output.indexOf("main_entry returned ");
    if (at >= 0)
        result.result = output.mid(at + 20).split('\n').value(0).toInt();
    result.errors = process.readAllStandardError();
    return result;
}

quint32 publishedHandle(const QString& productName)
{
    QSharedMemory segment(productName + QStringLiteral("_uninstall"));
    if (!segment.attach(QSharedMemory::ReadOnly) || !segment.lock())
        return 0;
    quint32 handle = 0;
    std::memcpy(&handle, segment.constData(), sizeof handle);
    segment.unlock();
    return handle;
}

} // namespace WizardProcess
