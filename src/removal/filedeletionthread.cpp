#include "removal/filedeletionthread.h"

FileDeletionThread::FileDeletionThread(const QDir& root)
    : m_root(root)
{
}

void FileDeletionThread::run()
{
    emit deleteComplete();
}
