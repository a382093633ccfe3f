#include "entry/uninstallsingleinstance.h"

#include "wizard/uninstall.h"

#include "platform.h"
#include "ternproductinfo.h"

#include <QSharedMemory>

#include <cstring>
#include <functional>

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
    renewSegment();
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

void UninstallSingleInstance::renewSegment()
{
    delete m_memory;
    m_memory = new QSharedMemory(this);
    // Keyed in the same per-user place as the lock, so that every session of the user finds
    // both, and of a length that fits however long the product's name is.
    const QString nativeKey = Platform::sharedMemoryNativeKey(guardName());
    if (nativeKey.isEmpty())
        m_memory->setKey(guardName());
    else
        m_memory->setNativeKey(nativeKey);
}

bool UninstallSingleInstance::attachSegment(QSharedMemory::AccessMode mode)
{
    // A segment under a native key cannot attach once a create has failed on the same object
    // (its unused key lock keeps the error), so a fresh one attaches.
    renewSegment();
    return m_memory->attach(mode);
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
        if (attachSegment(QSharedMemory::ReadOnly))
            return true;
        if (m_memory->error() != QSharedMemory::NotFound)
            return false;
    }
    return false;
}

bool UninstallSingleInstance::takeOverSegment()
{
    // Detaching as its last user removes a segment left behind.
    m_memory->detach();
    if (!m_memory->create(kSegmentSize, QSharedMemory::ReadWrite)) {
        // Still there: only one that no live process uses is taken over.
        if (m_memory->error() != QSharedMemory::AlreadyExists
            || Platform::isSharedMemoryInUse(m_memory->nativeKey())
            || !attachSegment(QSharedMemory::ReadWrite))
            return false;
    }
    m_writable = true;
    // The handle left in it names a window of the ended wizard.
    withSegmentLocked([this] { std::memset(m_memory->data(), 0, size_t(m_memory->size())); });
    return true;
}

bool UninstallSingleInstance::withSegmentLocked(const std::function<void()>& access)
{
    // QSharedMemory locks only the segments it keys itself; one under a native key takes a
    // lock of the platform's.
    if (m_memory->key().isEmpty()) {
        const Platform::SharedMemoryLock lock(m_memory->nativeKey());
        if (!lock.isLocked())
            return false;
        access();
        return true;
    }
    if (!m_memory->lock())
        return false;
    access();
    m_memory->unlock();
    return true;
}

void UninstallSingleInstance::activateRunningWizard()
{
    quint32 handle = 0;
    const bool read = withSegmentLocked([&] {
        if (m_memory->constData() && m_memory->size() >= int(sizeof handle))
            std::memcpy(&handle, m_memory->constData(), sizeof handle);
    });
    if (read && handle != 0 && Platform::isWindow(handle))
        Platform::activateWindow(handle);
}

void UninstallSingleInstance::setWindow(Uninstall* window)
{
    if (!m_writable)
        return;
    withSegmentLocked([&] {
        m_window = window;
        const quint32 handle = window ? quint32(window->window()->winId()) : 0;
        if (m_memory->data() && m_memory->size() >= int(sizeof handle))
            std::memcpy(m_memory->data(), &handle, sizeof handle);
    });
}
