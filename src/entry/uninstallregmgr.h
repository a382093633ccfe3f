#pragma once

#include "entry/uninstall_export.h"

struct UninstallContext;

// Holds the record the host registers before the wizard starts. One per process; it owns the
// record from the moment it is registered.
class UNINSTALL_EXPORT UninstallRegMgr {
public:
    static UninstallRegMgr* init();

    UninstallContext* context();
    void setRegContext(UninstallContext* context);
    void compositeFunction();
    UninstallRegMgr& operator=(const UninstallRegMgr& other);

    // The holder that init() published last; null before the host's first init().
    static UninstallRegMgr* holder();

private:
    UninstallRegMgr() = default;
    ~UninstallRegMgr();
    UninstallRegMgr(const UninstallRegMgr&) = delete;

    UninstallContext* m_context = nullptr;
};
