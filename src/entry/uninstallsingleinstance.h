#pragma once

#include <QObject>
#include <QSharedMemory>

#include <functional>
#include <memory>

class Uninstall;

namespace Platform {
class NamedLock;
}

// Lets one wizard run per product and user. The running wizard publishes its window handle
// in a small shared segment; a later start brings that window to the front and stays out.
class UninstallSingleInstance : public QObject {
    Q_OBJECT
public:
    static constexpr int kSegmentSize = 64;

    static UninstallSingleInstance* instance();
    static void destroy();
    // The name of the segment and of the lock: the product name and "_uninstall".
    static QString guardName();

    explicit UninstallSingleInstance(QObject* parent = nullptr);
    ~UninstallSingleInstance() override;

    bool canRun() const { return m_canRun; }
    void setWindow(Uninstall* window);

private:
    void renewSegment();
    bool attachSegment(QSharedMemory::AccessMode mode);
    bool openSegment();
    bool takeOverSegment();
    void activateRunningWizard();
    // Runs `access` while this process alone may touch the segment; false when it cannot.
    bool withSegmentLocked(const std::function<void()>& access);

    bool m_canRun = true;
    bool m_writable = false; // attached for writing: this process owns the segment
    std::unique_ptr<Platform::NamedLock> m_mutex;
    QSharedMemory* m_memory = nullptr;
    Uninstall* m_window = nullptr;
};
