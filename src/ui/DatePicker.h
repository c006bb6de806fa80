#pragma once

#include <QDateEdit>

namespace ui {

// A date picker with a drop-down calendar; reports a change of its date
// through QDateEdit::dateChanged. Tab leaves it at once, as it leaves any
// other field (the arrow keys move between day, month and year).
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;
};

} // namespace ui
