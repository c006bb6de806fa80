#pragma once

#include <QDateEdit>

namespace ui {

// A date picker with a drop-down calendar; reports a change of its date
// through QDateEdit::dateChanged.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);
};

} // namespace ui
