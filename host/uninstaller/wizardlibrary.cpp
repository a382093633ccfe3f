#include "wizardlibrary.h"

#include <QString>

namespace {
#if defined(_WIN32)
const char* const kRegMgrInit = "?init@UninstallRegMgr@@SAPAV1@XZ";
const char* const kSetRegContext = "?setRegContext@UninstallRegMgr@@QAEXPAUUninstallContext@@@Z";
#else
const char* const kRegMgrInit = "_ZN15UninstallRegMgr4initEv";
const char* const kSetRegContext = "_ZN15UninstallRegMgr13setRegContextEP16UninstallContext";
#endif
} // namespace

bool WizardLibrary::load(const QString& path)
{
    if (!m_library.load(path))
        return false;
    m_frameworkInit = reinterpret_cast<FrameworkInit>(m_library.resolve("UinstallFramworkInit"));
    m_mainEntry = reinterpret_cast<MainEntry>(m_library.resolve("main_entry"));
    m_regMgrInit = reinterpret_cast<RegMgrInit>(m_library.resolve(kRegMgrInit));
    m_setRegContext = reinterpret_cast<SetRegContext>(m_library.resolve(kSetRegContext));
    return m_frameworkInit && m_mainEntry && m_regMgrInit && m_setRegContext;
}

void WizardLibrary::registerContext(UninstallContext* context) const
{
    if (UninstallRegMgr* holder = m_regMgrInit())
        m_setRegContext(holder, context);
}
