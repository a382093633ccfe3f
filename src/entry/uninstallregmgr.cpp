#include "entry/uninstallregmgr.h"

#include "entry/uninstallcontext.h"

#include <new>

namespace {
// Published by every init(); the window reads the host's record through it.
UninstallRegMgr* g_holder = nullptr;
}

UninstallRegMgr* UninstallRegMgr::init()
{
    static UninstallRegMgr* instance = new (std::nothrow) UninstallRegMgr;
    g_holder = instance;
    return instance;
}

UninstallRegMgr* UninstallRegMgr::holder()
{
    return g_holder;
}

UninstallRegMgr::~UninstallRegMgr()
{
    delete m_context;
}

UninstallContext* UninstallRegMgr::context()
{
    return m_context;
}

void UninstallRegMgr::setRegContext(UninstallContext* context)
{
    if (context)
        m_context = context;
}

void UninstallRegMgr::compositeFunction() { }

UninstallRegMgr& UninstallRegMgr::operator=(const UninstallRegMgr& other)
{
    m_context = other.m_context;
    return *this;
}
