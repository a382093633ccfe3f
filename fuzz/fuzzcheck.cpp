#include "fuzzcheck.h"

#include "content/picturequeue.h"

#include <QDir>

#include <cstdio>
#include <cstdlib>

namespace FuzzCheck {

void fail(const char* file, int line, const char* condition, const QString& detail)
{
    std::fprintf(stderr, "%s:%d: property broken: %s\n  %s\n", file, line, condition,
        qUtf8Printable(detail));
    std::abort();
}

bool isOneName(const QString& name)
{
    const QString parent = QStringLiteral("/parent");
    const QString target = QDir::cleanPath(parent + QLatin1Char('/') + name);
    return !name.trimmed().isEmpty() && target.section(QLatin1Char('/'), 0, -2) == parent
        && target != parent && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'))
        && !name.contains(QLatin1Char(':')) && !name.contains(QLatin1String(".."))
        && !name.contains(QChar(0));
}

void checkDownload(const DownloadItem& item)
{
    if (!PictureQueue::refusal(item).isEmpty())
        return;
    FUZZ_CHECK(isOneName(item.fileName), QStringLiteral("file name ") + item.fileName);
    const QString scheme = item.url.scheme();
    FUZZ_CHECK((scheme == QLatin1String("http") || scheme == QLatin1String("https"))
            && !item.url.host().isEmpty(),
        QStringLiteral("address ") + item.url.toString());
}

} // namespace FuzzCheck
