#include "RMainWindow.h"

#include "HeaderBar.h"
#include "ParamEvent.h"
#include "RankMain.h"
#include "ui_HeaderBar.h"

#include "WebsiteView.h"

#include <QComboBox>
#include <QMetaObject>

#include <QPointer>
#include <QThread>
#include <QTimer>

RMainWindow* s_wndRMainWindow = nullptr;

namespace {

// Deletes a replaced hub once no code of it can still be running. A rebuild can be asked
// for from inside a modal dialog of the old hub's pages; its event loop then runs nested
// in the page's handler, and deleting the hub there (even with deleteLater, which that
// nested loop would serve) would pull the page out from under the handler. So the hub is
// kept until the event loop level is below the one at which the rebuild was handled. At
// the outermost loop (level 1 and below) nothing of the hub is on the stack.
void DeleteWhenUnwound(QPointer<RankMain> hub, int loopLevel)
{
    if (!hub)
        return;
    if (loopLevel <= 1 || QThread::currentThread()->loopLevel() < loopLevel) {
        hub->deleteLater();
        return;
    }
    QTimer::singleShot(50, hub, [hub, loopLevel] { DeleteWhenUnwound(hub, loopLevel); });
}

} // namespace

RMainWindow::RMainWindow(QWidget* parent) : QMainWindow(parent, Qt::WindowFlags())
{
    setCentralWidget(new RankMain(nullptr, Qt::WindowFlags()));
}

RMainWindow::~RMainWindow()
{
    if (s_wndRMainWindow == this)
        s_wndRMainWindow = nullptr;
}

RankMain* RMainWindow::Hub() const
{
    return qobject_cast<RankMain*>(centralWidget());
}

void RMainWindow::customEvent(QEvent* event)
{
    if (event->type() == QEvent::Type(EVENT_Rebuild)) {
        const auto* param = dynamic_cast<const ParamEvent*>(event);
        const LTInt64 select = param ? param->m_nParam : -1;

        // Taken out first: setCentralWidget would otherwise schedule the old hub's
        // deletion itself. It stays a hidden child of the window until it is deleted, so
        // code of its pages that is still running finds its main window.
        QPointer<RankMain> old = qobject_cast<RankMain*>(takeCentralWidget());
        if (old) {
            old->Stop();
            old->setParent(this);
            old->hide();
        }

        setCentralWidget(new RankMain(nullptr, Qt::WindowFlags()));

        if (old)
            DeleteWhenUnwound(old, QThread::currentThread()->loopLevel());

        // Selects the website through the header combo, which brings the overview's list
        // along. The index comes from the event: only one the combo has is taken.
        QComboBox* websites = Hub()->m_pHeaderBar->ui->comboBoxWebsite;
        if (select >= 0 && select < websites->count())
            websites->setCurrentIndex(int(select));
    } else if (event->type() == QEvent::Type(EVENT_UpdateSelected)) {
        // The overview page's update of the website selected in its list; it returns at
        // once while another run is in progress.
        RankMain* hub = Hub();
        if (hub && !hub->IsStopped() && hub->m_pWebsiteView)
            QMetaObject::invokeMethod(hub->m_pWebsiteView, "on_btnUpdate_clicked",
                                      Qt::DirectConnection);
    }
}
