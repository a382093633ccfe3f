#pragma once

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
    QString errorString() const { return m_library.errorString(); }

    void frameworkInit(int argc, int flags, char** argv) const
    {
        m_frameworkInit(argc, flags, argv);
    }
    int mainEntry(int argc, char** argv) const { return m_mainEntry(argc, argv); }
    void registerContext(UninstallContext* context) const;

private:
    using FrameworkInit = void (*)(int, int, char**);
    using MainEntry = int (*)(int, char**);
    // Non-virtual members of an exported class, called with the object as first argument.
    using RegMgrInit = UninstallRegMgr* (*)();
    using SetRegContext = void (*)(UninstallRegMgr*, UninstallContext*);

    Platform::Library m_library;
    FrameworkInit m_frameworkInit = nullptr;
    MainEntry m_mainEntry = nullptr;
    RegMgrInit m_regMgrInit = nullptr;
    SetRegContext m_setRegContext = nullptr;
};
