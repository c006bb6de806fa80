#pragma once

class QCoreApplication;

namespace app {

// The program speaks Turkish whatever the system's language: the default
// locale becomes Turkish (Turkey), so calendars, month and weekday names,
// number grouping and date formats are Turkish also under a C or English
// locale, and Qt's own texts (dialog buttons, the context menus of text
// boxes) come from Qt's Turkish translations when they are installed.
// Returns false when those translations were not found; the locale is set
// either way.
bool UseTurkish(QCoreApplication& app);

} // namespace app
