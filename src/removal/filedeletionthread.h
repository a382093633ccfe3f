#pragma once

#include <QDir>
#include <QThread>

// Placeholder: the deletion worker.
class FileDeletionThread : public QThread {
    Q_OBJECT
public:
    explicit FileDeletionThread(const QDir& root);

signals:
    void updateBar(int value);
    void deleteComplete();

protected:
    void run() override;

private:
    QDir m_root;
};
