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
    if (!openSegment()) {
        m_canRun = false;
        return;
    }

    m_mutex = std::make_unique<Platform::NamedLock>(name);
    const Platform::NamedLock::Result lock = m_mutex->create();
    if (lock == Platform::NamedLock::Created) {
        // Nobody holds the lock, so a segment that was already there is what a wizard that
        // ended without cleaning up (a crash) left behind: take it over.
        if (!m_writable && !takeOverSegment())
            m_canRun = false;
        return;
    }
    m_mutex.reset();
    if (lock == Platform::NamedLock::AlreadyExists)
        activateRunningWizard();
    m_canRun = false;
}

UninstallSingleInstance::~UninstallSingleInstance()
{
    // The lock goes first; the segment is detached with its QSharedMemory child.
    m_mutex.reset();
}

bool UninstallSingleInstance::openSegment()
{
    // A segment can vanish between a failed create and the attach when its last user leaves;
    // then creating it is tried once more.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (m_memory->create(kSegmentSize, QSharedMemory::ReadWrite)) {
            m_writable = true;
            return true;
        }
        if (m_memory->error() != QSharedMemory::AlreadyExists)
            return false;
        if (m_memory->attach(QSharedMemory::ReadOnly))
            return true;
        if (m_memory->error() != QSharedMemory::NotFound)
            return false;
    }
    return false;
}

bool UninstallSingleInstance::takeOverSegment()
{
    m_memory->detach();
    if (!m_memory->create(kSegmentSize, QSharedMemory::ReadWrite)) {
        if (m_memory->error() != QSharedMemory::AlreadyExists
            || !m_memory->attach(QSharedMemory::ReadWrite))
            return false;
    }
    m_writable = true;
    // The handle left in it names a window of the ended wizard.
    if (m_memory->lock()) {
        std::memset(m_memory->data(), 0, size_t(m_memory->size()));
        m_memory->unlock();
    }
    return true;
}

void UninstallSingleInstance::activateRunningWizard()
{
    if (!m_memory->lock())
        return;
    quint32 handle = 0;
    if (m_memory->constData() && m_memory->size() >= int(sizeof handle))
        std::memcpy(&handle, m_memory->constData(), sizeof handle);
    m_memory->unlock();
    if (handle != 0 && Platform::isWindow(handle))
        Platform::activateWindow(handle);
}

void UninstallSingleInstance::setWindow(Uninstall* window)
{
    if (!m_writable || !m_memory->lock())
        return;
    m_window = window;
    const quint32 handle = window ? quint32(window->window()->winId()) : 0;
    if (m_memory->data() && m_memory->size() >= int(sizeof handle))
        std::memcpy(m_memory->data(), &handle, sizeof handle);
    m_memory->unlock();
}
