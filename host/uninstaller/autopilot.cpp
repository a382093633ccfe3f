#include "autopilot.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTextStream>

#include <cstdio>
#include <cstdlib>

namespace {

const int kDefaultTimeoutMs = 15000;

QWidget* findWidget(const QString& name)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        if (window->objectName() == name)
            return window;
    }
    for (QWidget* window : windows) {
        if (auto* child = window->findChild<QWidget*>(name))
            return child;
    }
    return nullptr;
}

bool hasState(QWidget* widget, const QString& state)
{
    if (state == QLatin1String("visible"))
        return widget && widget->isVisible();
    if (state == QLatin1String("hidden"))
        return !widget || !widget->isVisible();
    if (state == QLatin1String("enabled"))
        return widget && widget->isVisible() && widget->isEnabled();
    if (state == QLatin1String("disabled"))
        return widget && !widget->isEnabled();
    return false;
}

void pressAndRelease(QWidget* widget)
{
    const QPoint centre = widget->rect().center();
    const QPoint global = widget->mapToGlobal(centre);
    QMouseEvent press(
        QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(
        QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

} // namespace

Autopilot::Autopilot(const QString& scriptPath, QObject* parent)
    : QObject(parent)
{
    QFile script(scriptPath);
    if (!script.open(QIODevice::ReadOnly | QIODevice::Text)) {
        fail(QStringLiteral("cannot read script ") + scriptPath);
        return;
    }
    const QStringList lines = QString::fromUtf8(script.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString trimmed = line.trimmed();
        if (!trimmed.isEmpty() && !trimmed.startsWith(QLatin1Char('#')))
            m_steps.append(trimmed);
    }
    m_outputDir
        = qEnvironmentVariable("TERN_AUTOPILOT_OUTPUT", QFileInfo(scriptPath).absolutePath());
    QDir().mkpath(m_outputDir);
    connect(&m_timer, &QTimer::timeout, this, &Autopilot::tick);
    m_timer.start(50);
    qApp->installEventFilter(this);
    m_stepClock.start();
}

bool Autopilot::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->isWindow()) {
        std::fprintf(stderr, "autopilot: window shown: %s\n", qPrintable(watched->objectName()));
        std::fflush(stderr);
    }
    return QObject::eventFilter(watched, event);
}

void Autopilot::fail(const QString& why)
{
    std::fprintf(stderr, "autopilot: %s\n", qPrintable(why));
    std::fflush(stderr);
    std::_Exit(70);
}

void Autopilot::tick()
{
    if (m_current >= m_steps.size()) {
        m_timer.stop();
        return;
    }
    const QString line = m_steps.at(m_current);
    const QStringList step = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (runStep(step)) {
        std::fprintf(stderr, "autopilot: done: %s\n", qPrintable(line));
        ++m_current;
        m_sleepUntil = -1;
        m_stepClock.restart();
        return;
    }
    const int timeout = step.value(0) == QLatin1String("wait") ? step.value(3).toInt() : 0;
    if (m_stepClock.elapsed() > (timeout > 0 ? timeout : kDefaultTimeoutMs))
        fail(QStringLiteral("timed out on: ") + line);
}

bool Autopilot::runStep(const QStringList& step)
{
    const QString command = step.value(0);
    QWidget* widget = findWidget(step.value(1));

    if (command == QLatin1String("sleep")) {
        if (m_sleepUntil < 0)
            m_sleepUntil = m_stepClock.elapsed() + step.value(1).toInt();
        return m_stepClock.elapsed() >= m_sleepUntil;
    }
    if (command == QLatin1String("wait"))
        return hasState(widget, step.value(2));
    if (command == QLatin1String("page")) {
        auto* stack = qobject_cast<QStackedWidget*>(widget);
        return stack && stack->isVisible() && stack->currentIndex() == step.value(2).toInt();
    }
    if (!widget || !widget->isVisible() || !widget->isEnabled())
        return false;
    if (command == QLatin1String("text"))
        return widget->property("text").toString().contains(step.mid(2).join(QLatin1Char(' ')));
    if (command == QLatin1String("click")) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->click();
        else
            pressAndRelease(widget);
        return true;
    }
    if (command == QLatin1String("type")) {
        const QString text = step.mid(2).join(QLatin1Char(' '));
        if (auto* line = qobject_cast<QLineEdit*>(widget))
            line->setText(text);
        else if (auto* edit = qobject_cast<QTextEdit*>(widget))
            edit->setPlainText(text);
        return true;
    }
    if (command == QLatin1String("shot")) {
        const QString file = QDir(m_outputDir).absoluteFilePath(step.value(2));
        if (!widget->grab().save(file))
            fail(QStringLiteral("cannot save ") + file);
        return true;
    }
    if (command == QLatin1String("close")) {
        widget->window()->close();
        return true;
    }
    fail(QStringLiteral("unknown command: ") + command);
    return false;
}
