#include "entry/uninstallsingleinstance.h"

#include "wizard/uninstall.h"

#include "platform.h"
#include "ternproductinfo.h"

#include <QSharedMemory>

#include <cstring>

namespace {
UninstallSingleInstance* g_instance = nullptr;
}

UninstallSingleInstance* UninstallSingleInstance::instance()
{
    if (!g_instance)
        g_instance = new UninstallSingleInstance;
    return g_instance;
}

void UninstallSingleInstance::destroy()
{
    delete g_instance;
    g_instance = nullptr;
}

QString UninstallSingleInstance::guardName()
{
    return TernProductInfo::instance()->productName(QString()) + QStringLiteral("_uninstall");
}

UninstallSingleInstance::UninstallSingleInstance(QObject* parent)
    : QObject(parent)
{
    const QString name = guardName();
    m_memory = new QSharedMemory(name, this);
    bool readOnly = false;
    if (!m_memory->create(kSegmentSize, QSharedMemory::ReadWrite)) {
        if (m_memory->error() != QSharedMemory::AlreadyExists) {
            m_canRun = false;
            return;
        }
        if (!m_memory->attach(QSharedMemory::ReadOnly)) {
            m_canRun = false;
            return;
        }
        readOnly = true;
    }

    m_mutex = std::make_unique<Platform::NamedLock>(name);
    const Platform::NamedLock::Result lock = m_mutex->create();
    if (lock == Platform::NamedLock::Created) {
        if (readOnly) {
            // A wizard that ended without cleaning up left the segment: take it over.
            m_memory->detach();
            if (!m_memory->attach(QSharedMemory::ReadWrite)) {
                m_canRun = false;
                return;
            }
            if (m_memory->lock()) {
                std::memset(m_memory->data(), 0, size_t(m_memory->size()));
                m_memory->unlock();
            }
        }
        return;
    }
    m_mutex->close();
    if (lock == Platform::NamedLock::AlreadyExists)
        activateRunningWizard();
    m_canRun = false;
}

UninstallSingleInstance::~UninstallSingleInstance()
{
    if (m_mutex)
        m_mutex->close();
}

void UninstallSingleInstance::activateRunningWizard()
{
    if (!m_memory->lock())
        return;
    quint32 handle = 0;
    if (m_memory->data() && m_memory->size() >= int(sizeof handle))
        std::memcpy(&handle, m_memory->constData(), sizeof handle);
    m_memory->unlock();
    if (handle != 0 && Platform::isWindow(handle))
        Platform::activateWindow(handle);
}

void UninstallSingleInstance::setWindow(Uninstall* window)
{
    if (!m_memory->isAttached() || !m_memory->lock())
        return;
    m_window = window;
    const quint32 handle = window ? quint32(window->window()->winId()) : 0;
    if (m_memory->data())
        std::memcpy(m_memory->data(), &handle, sizeof handle);
    m_memory->unlock();
}
