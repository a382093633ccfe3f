#pragma once

#include "entry/uninstall_export.h"

#include "platform.h"

struct UninstallContext;
class UninstallRegMgr;

// The wizard library's exports, resolved by name as the real host does.
class WizardLibrary {
public:
    WizardLibrary() = default;
    // Never unloaded: the application object and what the wizard registered live until exit.
    ~WizardLibrary() { m_library.leak(); }
    bool load(const QString& path);
    QString errorString() const { return m_error; }

    void frameworkInit(int argc, int flags, char** argv) const
    {
        m_frameworkInit(argc, flags, argv);
    }
    int mainEntry(int argc, char** argv) const { return m_mainEntry(argc, argv); }
    void registerContext(UninstallContext* context) const;

private:
    using FrameworkInit = void(UNINSTALL_CDECL*)(int, int, char**);
    using MainEntry = int(UNINSTALL_CDECL*)(int, char**);
    using RegMgrInit = UninstallRegMgr* (*)();
#if defined(_WIN32) && !defined(_WIN64)
    // A member function of the exported class: the object in ECX, the callee pops its argument.
    using SetRegContext = void(__thiscall*)(UninstallRegMgr*, UninstallContext*);
#else
    // Elsewhere a member function takes the object as its first argument.
    using SetRegContext = void (*)(UninstallRegMgr*, UninstallContext*);
#endif

    void* resolve(const char* name);

    Platform::Library m_library;
    QString m_error;
    FrameworkInit m_frameworkInit = nullptr;
    MainEntry m_mainEntry = nullptr;
    RegMgrInit m_regMgrInit = nullptr;
    SetRegContext m_setRegContext = nullptr;
};
