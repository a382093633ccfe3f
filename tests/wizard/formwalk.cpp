#include "formwalk.h"

#include "widgets/customtextedit.h"

#include <QLayoutItem>
#include <QWidget>

namespace FormWalk {

// CustomTextEdit has no meta object of its own, so only its C++ type tells it apart.
QString classOf(const QObject* object)
{
    if (dynamic_cast<const CustomTextEdit*>(object))
        return QStringLiteral("CustomTextEdit");
    return QString::fromLatin1(object->metaObject()->className());
}

bool isFormContainer(const QWidget* widget)
{
    const QString name = classOf(widget);
    return name == QLatin1String("QWidget") || name == QLatin1String("QFrame")
        || name == QLatin1String("QStackedWidget");
}

QHash<QString, QList<QWidget*>> formWidgets(QWidget* root)
{
    QHash<QString, QList<QWidget*>> found;
    const auto children = root->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        found[child->objectName()].append(child);
        if (isFormContainer(child)) {
            const auto below = formWidgets(child);
            for (auto it = below.cbegin(); it != below.cend(); ++it)
                found[it.key()].append(it.value());
        }
    }
    return found;
}

QString describeItem(QLayoutItem* item)
{
    QString text;
    if (QWidget* widget = item->widget()) {
        text = widget->objectName();
    } else if (QSpacerItem* spacer = item->spacerItem()) {
        const QSizePolicy policy = spacer->sizePolicy();
        const QSize hint = spacer->sizeHint();
        if (policy.horizontalPolicy() == QSizePolicy::Expanding
            && policy.verticalPolicy() == QSizePolicy::Minimum)
            text = QStringLiteral("hspacer");
        else if (policy.horizontalPolicy() == QSizePolicy::Minimum
            && policy.verticalPolicy() == QSizePolicy::Expanding)
            text = QStringLiteral("vspacer");
        else
            text = QStringLiteral("spacer(%1,%2)")
                       .arg(policy.horizontalPolicy())
                       .arg(policy.verticalPolicy());
        if (!hint.isNull())
            text += QStringLiteral(" %1x%2").arg(hint.width()).arg(hint.height());
    } else {
        text = QStringLiteral("nested layout");
    }
    if (item->alignment() == Qt::AlignCenter)
        text += QStringLiteral(" centred");
    else if (item->alignment() != 0)
        text += QStringLiteral(" aligned 0x%1").arg(int(item->alignment()), 0, 16);
    return text;
}

} // namespace FormWalk
