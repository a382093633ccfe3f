// The product description: the names that become folders and files stay one component inside
// their parent, and whatever is missing takes its default.

#include "fuzzcheck.h"

#include "productdescription.h"

#include <QDir>
#include <QJsonDocument>

namespace {

const QString kInstallDir = QStringLiteral("/opt/Tern Converter");

void checkComponent(const char* what, const QString& name)
{
    FUZZ_CHECK(FuzzCheck::isOneName(name), QLatin1String(what) + QStringLiteral(": ") + name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = FuzzCheck::bytes(data, size);
    const ProductDescription product = ProductDescription::parse(bytes, kInstallDir);
    checkComponent("name", product.name);
    checkComponent("organization", product.organization);
    checkComponent("defaultSkin", product.defaultSkin);
    checkComponent("defaultLanguage", product.defaultLanguage);
    FUZZ_CHECK(product.installDir == kInstallDir, product.installDir);
    FUZZ_CHECK(QDir::isAbsolutePath(product.resourceRoot), product.resourceRoot);
    FUZZ_CHECK(!product.version.isEmpty(), QStringLiteral("no version"));

    // A description that is no JSON object is the defaults.
    if (!QJsonDocument::fromJson(bytes).isObject()) {
        FUZZ_CHECK(product.name == QLatin1String("Product")
                && product.organization == QLatin1String("Tern")
                && product.defaultSkin == QLatin1String("default")
                && product.defaultLanguage == QLatin1String("en")
                && product.version == QLatin1String("1.0.0")
                && product.resourceRoot == kInstallDir + QStringLiteral("/resources")
                && product.uninstallDiscount == 0 && product.extendParams.isEmpty(),
            QStringLiteral("not the defaults"));
    }
    return 0;
}
