#include "app/Refresh.h"

#include "store/RecordView.h"

#include <QApplication>

#include <exception>

namespace app {

namespace {

// Runs one step; whatever it throws is dropped and the next step still runs.
template <typename Step>
void Try(Step&& step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

int eventHolds = 0;

} // namespace

HoldRefreshEvents::HoldRefreshEvents() { ++eventHolds; }
HoldRefreshEvents::~HoldRefreshEvents() { --eventHolds; }

void RefreshData(store::RecordView& view)
{
    // The hourglass only makes sense with a screen (tools and store tests run
    // without a QApplication).
    const bool gui = qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
    if (gui) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (eventHolds == 0)
            QCoreApplication::processEvents();
    }

    // A query that cannot run leaves the view empty (the view drops its old
    // result before it runs the new one).
    Try([&] { view.Refresh(); });
    Try([&] {
        if (!view.BOF())
            view.MoveLast();
    });
    Try([&] {
        if (!view.EOF())
            view.MoveFirst();
    });

    if (gui)
        QApplication::restoreOverrideCursor();
}

} // namespace app
