#include "ui/Painting.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>

namespace ui {

namespace {

// Set on a held window: swallows its requests to draw itself. What becomes
// dirty meanwhile is remembered by Qt and drawn on the first request after
// the hold (which the hold posts when it ends).
class DrawingHold : public QObject {
public:
    explicit DrawingHold(QWidget* window) : QObject(window)
    {
        setObjectName(QStringLiteral("VelmoraDrawingHold"));
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override { return e->type() == QEvent::UpdateRequest; }
};

DrawingHold* HoldOf(const QWidget* window)
{
    return window ? window->findChild<DrawingHold*>(QStringLiteral("VelmoraDrawingHold"), Qt::FindDirectChildrenOnly)
                  : nullptr;
}

void Hold(QWidget* window) { new DrawingHold(window); }

void Unhold(QWidget* window)
{
    delete HoldOf(window);
    // The requests swallowed during the hold are not sent again by Qt.
    QCoreApplication::postEvent(window, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}

} // namespace

PaintOnce::PaintOnce(QWidget* widget)
{
    QWidget* window = widget ? widget->window() : nullptr;
    if (!window || HoldOf(window))
        return;
    window_ = window;
    Hold(window);
}

void PaintOnce::Release()
{
    if (window_)
        Unhold(window_);
    window_ = nullptr;
}

bool PaintOnce::Held(const QWidget* widget) { return widget && HoldOf(widget->window()); }

void PaintOnce::LetDraw(QWidget* widget)
{
    if (Held(widget))
        Unhold(widget->window());
}

ShowingProgress::ShowingProgress(QWidget* window)
    : hold_(window), window_(hold_.Holds() ? window->window() : nullptr)
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
        Unhold(window_);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (window_)
        Hold(window_);
    since_.restart();
}

} // namespace ui
