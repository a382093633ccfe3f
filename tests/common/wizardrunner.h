#pragma once

#include <QDesktopServices>
#include <QStringList>
#include <QUrl>
#include <QWidget>

#include <functional>
#include <memory>

class Uninstall;
struct UninstallContext;

// Stands in for the desktop's browser while it lives: records the http and https links opened.
class UrlRecorder : public QObject {
    Q_OBJECT
public:
    UrlRecorder()
    {
        for (const QString& scheme : { QStringLiteral("http"), QStringLiteral("https") })
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlRecorder() override
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }

    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.append(url); }
};

// Drives the wizard in this process through its real export, as the host does.
namespace WizardRunner {

// The analytics events sent so far, oldest first, each as the values of `fields` joined by '|'.
QStringList analytics(const QStringList& fields);

// Calls main_entry with the program name and `arguments`. Once the wizard window is shown,
// `script` runs with it; without a script the window is closed through its close button.
// A wizard still running after `timeoutMs` is ended with the result -1.
int runMainEntry(const QStringList& arguments, const std::function<void(Uninstall*)>& script = {},
    int timeoutMs = 20000);

// Runs `action` inside the application's event loop, as main_entry does, and tells whether the
// wizard ended that loop within `waitMs`.
bool quitsOn(const std::function<void()>& action, int waitMs = 3000);

// Window tests build the wizard themselves: log into the data location, register `context` as
// the host does, and report the product as not running.
void setUpHost(UninstallContext* context);

// A wizard in test mode (nothing removed) or normal mode, shown.
std::unique_ptr<Uninstall> showWizard(bool testMode);

template <typename T = QWidget> T* child(QWidget* window, const char* name)
{
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (!widget)
        qFatal("no widget %s", name);
    return widget;
}

// A key where the window system sends it: to the window's focus widget, else to the window.
void press(Qt::Key key, QWidget* window, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The mouse move that makes the window take the press as the start of a drag.
void startDragging(QWidget* window);

// Outer page, inner page and whether the closing screen shows: "1.0 0" is the home page.
QString where(QWidget* window);

enum Page { Home, Reason, UpdateOffer, Uninstalling };
// Waits for the home page, then clicks forward to `page`. On the reason page `causes` arrive,
// each with a text, and the box "c" is checked. False when a page does not come.
bool walkTo(Uninstall* wizard, Page page,
    const QStringList& causes = { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
        QStringLiteral("d"), QStringLiteral("e") });

} // namespace WizardRunner
