#include "wizardlibrary.h"

namespace {

// The C++ exports under the names each compiler family gives them. The library is built with
// the host's own compiler, so the family this host was built with names them.
struct DecoratedNames {
    const char* frameworkInit;
    const char* regMgrInit;
    const char* setRegContext;
};

enum CompilerFamily { Itanium, MsvcX86, MsvcX64 };

constexpr DecoratedNames kDecoratedNames[] = {
    // GCC, Clang and mingw (the Itanium C++ ABI)
    { "_Z20UinstallFramworkInitiiPPc", "_ZN15UninstallRegMgr4initEv",
        "_ZN15UninstallRegMgr13setRegContextEP16UninstallContext" },
    // MSVC x86
    { "?UinstallFramworkInit@@YAXHHPAPAD@Z", "?init@UninstallRegMgr@@SAPAV1@XZ",
        "?setRegContext@UninstallRegMgr@@QAEXPAUUninstallContext@@@Z" },
    // MSVC x64
    { "?UinstallFramworkInit@@YAXHHPEAPEAD@Z", "?init@UninstallRegMgr@@SAPEAV1@XZ",
        "?setRegContext@UninstallRegMgr@@QEAAXPEAUUninstallContext@@@Z" },
};

#if defined(_MSC_VER) && defined(_WIN64)
constexpr CompilerFamily kBuiltWith = MsvcX64;
#elif defined(_MSC_VER)
constexpr CompilerFamily kBuiltWith = MsvcX86;
#else
constexpr CompilerFamily kBuiltWith = Itanium;
#endif

} // namespace

void* WizardLibrary::resolve(const char* name)
{
    void* entry = m_library.resolve(name);
    if (!entry && m_error.isEmpty())
        m_error = QStringLiteral("no export %1").arg(QLatin1String(name));
    return entry;
}

bool WizardLibrary::load(const QString& path)
{
    if (!m_library.load(path)) {
        m_error = m_library.errorString();
        return false;
    }
    const DecoratedNames& names = kDecoratedNames[kBuiltWith];
    m_frameworkInit = reinterpret_cast<FrameworkInit>(resolve(names.frameworkInit));
    m_mainEntry = reinterpret_cast<MainEntry>(resolve("main_entry"));
    m_regMgrInit = reinterpret_cast<RegMgrInit>(resolve(names.regMgrInit));
    m_setRegContext = reinterpret_cast<SetRegContext>(resolve(names.setRegContext));
    return m_frameworkInit && m_mainEntry && m_regMgrInit && m_setRegContext;
}

void WizardLibrary::registerContext(UninstallContext* context) const
{
    if (UninstallRegMgr* holder = m_regMgrInit())
        m_setRegContext(holder, context);
}
