#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

class QWidget;

// Walks the wizard from a script, for demos and end-to-end tests: the host starts it when
// TERN_AUTOPILOT names a script file. One command per line; '#' starts a comment.
//   wait <name> visible|hidden|enabled|disabled [timeout ms]
//   click <name>          a button's click, or a press and release in the widget's centre
//   type <name> <text>    replaces the text of a line or text edit
//   text <name> <text>    waits until the widget shows a text that contains this one
//   shot <name> <file>    saves a picture of the widget (a window name for a whole window)
//   sleep <ms>
//   page <stack> <index>  waits until the stacked widget shows that page
//   close <name>          asks the window system to close the window
// A step that cannot be done in time ends the process with exit code 70. Every window shown is
// reported on the error output ("autopilot: window shown: <name>").
class Autopilot : public QObject {
    Q_OBJECT
public:
    explicit Autopilot(const QString& scriptPath, QObject* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tick();
    bool runStep(const QStringList& step);
    void fail(const QString& why);

    QStringList m_steps;
    int m_current = 0;
    QTimer m_timer;
    QElapsedTimer m_stepClock;
    qint64 m_sleepUntil = -1;
    QString m_outputDir;
};
