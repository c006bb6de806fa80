#pragma once

namespace store { class RecordView; }

namespace app {

// Re-reads a view and leaves it on its first row with a complete count, with
// every error ignored: a failing step is skipped, a failing query leaves the
// view empty. Shows the hourglass and lets pending window events run once.
void RefreshData(store::RecordView& view);

// While one is held, RefreshData does not let window events run: an action
// that refreshes several views and holds the window's painting lets events
// run at its own pace, or once when it ends.
class HoldRefreshEvents {
public:
    HoldRefreshEvents();
    ~HoldRefreshEvents();
    HoldRefreshEvents(const HoldRefreshEvents&) = delete;
    HoldRefreshEvents& operator=(const HoldRefreshEvents&) = delete;
};

} // namespace app
