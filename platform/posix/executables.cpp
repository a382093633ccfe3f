#include "platform.h"

#include <QFile>

#include <dlfcn.h>

namespace Platform {

QString executableFileName(const QString& baseName)
{
    return baseName;
}

QString sharedLibraryFileName(const QString& baseName)
{
    return QStringLiteral("lib") + baseName + QStringLiteral(".so");
}

QString executablePath()
{
    return QFile::symLinkTarget(QStringLiteral("/proc/self/exe"));
}

Library::~Library()
{
    if (m_handle)
        dlclose(m_handle);
}

bool Library::load(const QString& path)
{
    if (m_handle)
        return true;
    m_handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* error = dlerror();
        m_error = error ? QString::fromLocal8Bit(error) : QStringLiteral("cannot load ") + path;
    }
    return m_handle != nullptr;
}

void* Library::resolve(const char* symbol) const
{
    return m_handle ? dlsym(m_handle, symbol) : nullptr;
}

} // namespace Platform
