#include "entry/coreevents.h"

#include "entry/logging.h"

#include "platform.h"
#include "ternproductinfo.h"
#include "ternsettings.h"

#include <QFileInfo>

namespace CoreEvents {

namespace {

using CoreEventEntry = void (*)(const char*, const char*, const char*, int);

// Loaded once and kept for the rest of the process; a failed load is tried again.
struct Channel {
    Platform::Library library;
    CoreEventEntry entry = nullptr;
};

Channel& channel()
{
    static Channel* c = new Channel;
    return *c;
}

CoreEventEntry resolveEntry()
{
    Channel& c = channel();
    if (c.entry)
        return c.entry;
    if (!c.library.isLoaded() && !c.library.load(libraryPath()))
        return nullptr;
    c.entry = reinterpret_cast<CoreEventEntry>(c.library.resolve("CEIPGCoreEvent"));
    return c.entry;
}

void sendOnce(const QString& event)
{
    const bool first = isFirstTime(QStringLiteral("ternga"), event);
    const QString name = first ? event + QStringLiteral("_1st") : event;
    send("ternga", name.toStdString().c_str());
    UninstallLog::ceip(QStringLiteral(" CEIPG::CoreEvent, ") + name);
}

} // namespace

QString libraryPath()
{
    const QString executable = Platform::executablePath();
    // Without a folder the bare name is looked up on the library search path.
    const QString dir = executable.isEmpty()
        ? QString()
        : QFileInfo(executable).absolutePath() + QLatin1Char('/');
    return dir + Platform::sharedLibraryFileName(QStringLiteral("CEIPG"));
}

void send(const char* channelName, const char* event)
{
    if (CoreEventEntry entry = resolveEntry())
        entry(channelName, event, "", 0);
}

bool isFirstTime(const QString& channelName, const QString& event)
{
    const QString key
        = QStringLiteral("%1/%2_%3")
              .arg(TernProductInfo::instance()->productVersion(QString()), channelName, event);
    TernSettings* settings = TernSettings::instance();
    const bool first = settings->value(key, true).toBool();
    settings->setValue(key, false);
    return first;
}

void sendStartEvent()
{
    sendOnce(QStringLiteral("c_start_uinstall"));
}

void sendStopEvent()
{
    sendOnce(QStringLiteral("c_stop_uinstall"));
}

} // namespace CoreEvents
