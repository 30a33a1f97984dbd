#pragma once

#include "ParamEvent.h"

#include <QMainWindow>

class RankMain;

// The main window. Its central widget is always the hub RankMain; the website editor asks
// it for a rebuild of the hub (event 1001, a ParamEvent with the website to select) and
// for an update run of the selected website (event 1002).
class RMainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr int EVENT_Rebuild = EVENT_RebuildHub;
    static constexpr int EVENT_UpdateSelected = EVENT_UpdateSelectedWebsite;

    explicit RMainWindow(QWidget* parent = nullptr);
    ~RMainWindow() override;

    RankMain* Hub() const;

protected:
    void customEvent(QEvent* event) override;
};

// The one main window of the process; null until start-up has built it.
extern RMainWindow* s_wndRMainWindow;
