#pragma once

#include <QDialog>

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace print {

// The printer dialog " Yazıcı Seçimi" (objectName "YazSec"): the printers of
// the list, the one used last time ("RapPrn") preselected. Either button makes
// the printer named in the box current; only "Tamam" lets the printout go on.
// Every way of closing stores the box's text in "RapPrn".
class PrinterDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrinterDialog(QWidget* owner = nullptr);

    // Fills the list and preselects. With no printer at all it says so,
    // stores an empty "RapPrn" and returns false: the dialog is not shown.
    bool Load();
    // Either button: 0 "Vazgeç", 1 "Tamam".
    void Press(int index);

    QComboBox* Combo1 = nullptr;
    std::array<QPushButton*, 2> YazCmd{};
    QLineEdit* Text1 = nullptr;

    void done(int result) override;

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    bool saved_ = false;
};

// The calling protocol of every printout: SuppressListSync becomes false, the
// dialog is shown modally over `owner`, and the printout goes on only when
// this returns true (the dialog left true in SuppressListSync).
bool ShowPrinterDialog(QWidget* owner);

} // namespace print
