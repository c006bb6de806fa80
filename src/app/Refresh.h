#pragma once

namespace store { class RecordView; }

namespace app {

// Re-reads a view and leaves it on its first row with a complete count, with
// every error ignored: a failing step is skipped, a failing query leaves the
// view empty. Shows the hourglass and lets pending window events run once.
void RefreshData(store::RecordView& view);

} // namespace app
