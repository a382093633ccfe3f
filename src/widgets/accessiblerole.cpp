#include "widgets/accessiblerole.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

const char kRoleProperty[] = "uninstallAccessibleRole";

class RoleAccessible : public QAccessibleWidget {
public:
    RoleAccessible(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (role() == QAccessible::Button)
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& actionName) override
    {
        if (role() != QAccessible::Button || actionName != pressAction()) {
            QAccessibleWidget::doAction(actionName);
            return;
        }
        for (const QEvent::Type type : { QEvent::KeyPress, QEvent::KeyRelease }) {
            QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            QCoreApplication::sendEvent(widget(), &key);
        }
    }
};

QAccessibleInterface* roleFactory(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    const QVariant role = widget ? widget->property(kRoleProperty) : QVariant();
    return role.isValid() ? new RoleAccessible(widget, QAccessible::Role(role.toInt())) : nullptr;
}

} // namespace

namespace AccessibleRole {

void set(QWidget* widget, QAccessible::Role role)
{
    // The factory list ignores a second installation of the same factory.
    QAccessible::installFactory(roleFactory);
    widget->setProperty(kRoleProperty, int(role));
    // Setting a widget's accessible texts already made it an interface of its class's kind.
    const QAccessible::Id made
        = QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget));
    QAccessible::deleteAccessibleInterface(made);
}

} // namespace AccessibleRole
