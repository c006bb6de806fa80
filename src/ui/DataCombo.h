#pragma once

#include <QComboBox>

namespace store { class RecordView; }

namespace ui {

// A combo listing one field of a record view (the staff picker). Its text is
// free: it may be set to a name that is not in the list.
class DataCombo : public QComboBox {
    Q_OBJECT
public:
    explicit DataCombo(QWidget* parent = nullptr);
    void bind(store::RecordView* view, const QString& listField);
    // Re-reads the list from the view (after the view was refreshed).
    void reload();
    QString Text() const;
    void setText(const QString& text);

private:
    store::RecordView* view_ = nullptr;
    QString field_;
};

} // namespace ui
