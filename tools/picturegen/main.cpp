// picturegen: draws every picture of the sample product.
//
//   picturegen --product DIR --content DIR
//
// --product is the product's installation folder (product/install): shipped offer pictures and
// icons under resources/uninstallConfig, skin pictures under resources/skins/default/images,
// logo and application icon under resources. --content is the content service's folder
// (tools/content): the remote offer pictures, tagged so a screenshot tells them apart.

#include "pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace {

bool writeAll(const QString& root, const QVector<Picture>& pictures)
{
    for (const Picture& picture : pictures) {
        const QString path = QDir(root).filePath(picture.path);
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !picture.image.save(path, "PNG")) {
            std::fprintf(stderr, "picturegen: cannot write %s\n", qPrintable(path));
            return false;
        }
        std::printf(
            "%4dx%-4d %s\n", picture.image.width(), picture.image.height(), qPrintable(path));
    }
    return true;
}

}

int main(int argc, char** argv)
{
    // Drawing needs fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString product;
    QString content;
    const QStringList arguments = app.arguments();
    for (int i = 1; i + 1 < arguments.size(); i += 2) {
        if (arguments.at(i) == QLatin1String("--product"))
            product = arguments.at(i + 1);
        else if (arguments.at(i) == QLatin1String("--content"))
            content = arguments.at(i + 1);
    }
    if (product.isEmpty() || content.isEmpty() || arguments.size() != 5) {
        std::fputs("usage: picturegen --product DIR --content DIR\n", stderr);
        return 2;
    }

    const QString resources = QDir(product).filePath(QStringLiteral("resources"));
    const QString defaults = QDir(resources).filePath(QStringLiteral("uninstallConfig"));
    const QString skinImages = QDir(resources).filePath(QStringLiteral("skins/default/images"));
    const bool written = writeAll(defaults, offerPictures(false) + appIcons())
        && writeAll(skinImages, skinPictures()) && writeAll(resources, brandIcons())
        && writeAll(content, offerPictures(true) + appIcons());
    return written ? 0 : 1;
}
