#include "wizardprocess.h"

#include "testenvironment.h"

#include "platform.h"

#include <QDir>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSharedMemory>
#include <QTest>

#include <cstring>

namespace WizardProcess {

QString makeInstallation(
    const QString& name, const QJsonObject& extendParams, const QString& productName)
{
    const QString dir = QDir::isAbsolutePath(name)
        ? name
        : TestEnv::sandboxRoot() + QStringLiteral("/installations/") + name;
    QDir().mkpath(dir);
    QProcess::execute(QStringLiteral("sh"),
        { "-c", R"(cp -a "$0"/. "$1"/lib*.so* "$1"/uninstaller "$2")",
            qEnvironmentVariable("UNINSTALL_PRODUCT_DIR"),
            qEnvironmentVariable("UNINSTALL_STAGE_DIR"), dir });
    const QString product = dir + QStringLiteral("/product.json");
    const QJsonObject members = productName.isEmpty()
        ? QJsonObject()
        : QJsonObject { { QStringLiteral("name"), productName } };
    return TestEnv::mergeIntoProduct(product, {}, { { QStringLiteral("uninstallTest"), "1" } })
            && TestEnv::mergeIntoProduct(product, members, extendParams)
        ? dir
        : QString();
}

QString writeScript(const QString& name, const QStringList& steps)
{
    const QString path = TestEnv::sandboxRoot() + QStringLiteral("/scripts/") + name;
    TestEnv::writeFile(path, steps.join(QLatin1Char('\n')).toUtf8() + '\n');
    return path;
}

void start(QProcess& process, const QString& installation, const QString& script,
    const QStringList& arguments, const QStringList& environmentChanges)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& change : environmentChanges)
        environment.insert(
            change.section(QLatin1Char('='), 0, 0), change.section(QLatin1Char('='), 1));
    if (!script.isEmpty())
        environment.insert(QStringLiteral("TERN_AUTOPILOT"), script);
    // The product's waits at a tenth: a run ends within a second of its last report.
    if (!environment.contains(QStringLiteral("UNINSTALL_WAIT_SCALE")))
        environment.insert(
            QStringLiteral("UNINSTALL_WAIT_SCALE"), QString::number(TestEnv::waitScale(0.1)));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(TestEnv::sandboxRoot());
    process.start(installation + QStringLiteral("/uninstaller"), arguments);
}

Run run(const QString& installation, const QString& script, const QStringList& arguments,
    int timeoutMs, const QStringList& environmentChanges)
{
    QProcess process;
    start(process, installation, script, arguments, environmentChanges);
    return finish(process, timeoutMs);
}

Run finish(QProcess& process, int timeoutMs)
{
    Run result;
    result.ended
        = QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, timeoutMs)
        && process.exitStatus() == QProcess::NormalExit;
    process.kill();
    process.waitForFinished();
    result.exitCode = process.exitCode();
    static const QRegularExpression returned(QStringLiteral("main_entry returned (-?\\d+)"));
    const auto match = returned.match(QString::fromUtf8(process.readAllStandardOutput()));
    result.result = match.hasMatch() ? match.captured(1).toInt() : -1;
    result.errors = process.readAllStandardError();
    return result;
}

bool Run::returned(int expected) const
{
    // The host's status holds 8 bits: 512 leaves as 2.
    const int status = expected > 255 ? expected >> 8 : expected;
    if (ended && result == expected && exitCode == status)
        return true;
    qWarning("the uninstaller %s with exit code %d, main_entry returned %d (expected %d and exit "
             "code %d); its error output ends:\n%s",
        ended ? "ended" : "did not end", exitCode, result, expected, status,
        errors.right(6000).constData());
    return false;
}

quint32 publishedHandle(const QString& productName)
{
    // Read as a later start reads it: the wizard's own guard, which this process may hold.
    const QString name = productName + QStringLiteral("_uninstall");
    QSharedMemory segment;
    const QString nativeKey = Platform::sharedMemoryNativeKey(name);
    nativeKey.isEmpty() ? segment.setKey(name) : segment.setNativeKey(nativeKey);
    if (!segment.attach(QSharedMemory::ReadOnly))
        return 0;
    quint32 handle = 0;
    std::memcpy(&handle, segment.constData(), sizeof handle);
    return handle;
}

} // namespace WizardProcess
