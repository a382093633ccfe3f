#pragma once

#include "ternmainwindowbase.h"

// Placeholder: the running-program dialog.
class CheckCloseDlg : public TernMainWindowBase {
    Q_OBJECT
public:
    explicit CheckCloseDlg(QWidget* parent = nullptr);

signals:
    void completeKill();
    void completeKilling();
    void startKillCheck();
    void completeKillTimeout();

public slots:
    void onKillPrograms();

protected:
    int extraTitleButtons() override { return 0; }
};
