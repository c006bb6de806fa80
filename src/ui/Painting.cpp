#include "ui/Painting.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace ui {

PaintOnce::PaintOnce(QWidget* window) : window_(window && window->updatesEnabled() ? window : nullptr)
{
    if (window_)
        window_->setUpdatesEnabled(false);
}

void PaintOnce::Release()
{
    if (window_)
        window_->setUpdatesEnabled(true);
    window_ = nullptr;
}

ShowingProgress::ShowingProgress(QWidget* window)
    : hold_(window), window_(hold_.Holds() ? window : nullptr)
{
    if (window)
        for (DataGrid* grid : window->findChildren<DataGrid*>())
            grids_.push_back(std::make_unique<DataGrid::HoldFollowing>(grid));
    since_.start();
}

void ShowingProgress::Step()
{
    if (since_.elapsed() < 100)
        return;
    // Only the outermost hold lets the window be drawn.
    if (window_)
        window_->setUpdatesEnabled(true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (window_)
        window_->setUpdatesEnabled(false);
    since_.restart();
}

} // namespace ui
