#include "framework.h"

#include "productdescription.h"
#include "ternresourcemgr.h"
#include "ternsettings.h"

#include <QApplication>
#include <QNetworkAccessManager>
#include <QPointer>

namespace {

struct FrameworkState {
    int argc = 0;
    bool initialized = false;
    bool aboutIconShown = true;
    QPointer<QNetworkAccessManager> manager;
};

FrameworkState& state()
{
    static FrameworkState s;
    return s;
}

} // namespace

void Framework::init(int argc, int /*flags*/, char** argv, int /*reserved*/)
{
    FrameworkState& s = state();
    if (!QCoreApplication::instance()) {
        // QApplication keeps a reference to argc for its whole life.
        s.argc = argc;
        new QApplication(s.argc, argv);
    }
    ProductDescription::reload();
    const ProductDescription& product = ProductDescription::current();
    QCoreApplication::setOrganizationName(product.organization);
    QCoreApplication::setApplicationName(product.name);
    QCoreApplication::setApplicationVersion(product.version);
    if (!s.manager)
        s.manager = new QNetworkAccessManager(QCoreApplication::instance());
    s.initialized = true;
}

void Framework::uninit()
{
    FrameworkState& s = state();
    if (!s.initialized)
        return;
    TernSettings::instance()->sync();
    TernResourceMgr::instance()->unloadTranslations();
    s.initialized = false;
}

bool Framework::isInitialized()
{
    return state().initialized;
}

void Framework::setAboutIcnShow(bool show)
{
    state().aboutIconShown = show;
}

bool Framework::aboutIcnShow()
{
    return state().aboutIconShown;
}

QNetworkAccessManager* Framework::networkAccessManager()
{
    return state().manager.data();
}
