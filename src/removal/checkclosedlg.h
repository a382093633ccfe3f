#pragma once

#include "ternmainwindowbase.h"

class QTimer;

namespace Ui {
class CheckCloseDlg;
}

// Asks the user to let the wizard end the running application, ends it on "Continue" and
// watches the framework until the application is reported gone or the time-out passes.
class CheckCloseDlg : public TernMainWindowBase {
    Q_OBJECT
public:
    explicit CheckCloseDlg(QWidget* parent = nullptr);
    ~CheckCloseDlg() override;

signals:
    void completeKill();
    void completeKilling();
    void startKillCheck();
    void completeKillTimeout();

public slots:
    void onKillPrograms();

protected:
    int extraTitleButtons() override { return 0; }
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void poll();
    void onTimeout();

    Ui::CheckCloseDlg* form = nullptr;
    QTimer* checkTimer = nullptr;
    QTimer* killTimeout = nullptr;
};
