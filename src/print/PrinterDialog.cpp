#include "print/PrinterDialog.h"

#include "app/HoverGroup.h"
#include "app/Prompt.h"
#include "app/Settings.h"
#include "app/SharedState.h"
#include "print/Printers.h"

#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace print {

namespace {

const QString kLastPrinter = QStringLiteral("RapPrn");

} // namespace

PrinterDialog::PrinterDialog(QWidget* owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("YazSec"));
    setWindowTitle(QStringLiteral(" Yazıcı Seçimi"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);

    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr); // a typed name stays as typed
    Combo1->setMinimumWidth(320);

    const char* captions[] = {"Vazgeç", "Tamam"};
    for (int i = 0; i < 2; ++i) {
        YazCmd[i] = new QPushButton(QString::fromUtf8(captions[i]), this);
        YazCmd[i]->setObjectName(QStringLiteral("YazCmd(%1)").arg(i));
        YazCmd[i]->setMinimumSize(110, 30);
        connect(YazCmd[i], &QPushButton::clicked, this, [this, i] { Press(i); });
    }

    // Only there to take the focus away from the buttons when the mouse is
    // over the dialog's background.
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFrame(false);
    Text1->setFixedSize(1, 1);
    Text1->setFocusPolicy(Qt::ClickFocus);

    auto* label = new QLabel(QStringLiteral("&Yazıcı:"), this);
    label->setBuddy(Combo1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Text1);
    buttons->addStretch(1);
    buttons->addWidget(YazCmd[0]);
    buttons->addWidget(YazCmd[1]);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 14);
    layout->addWidget(label);
    layout->addWidget(Combo1);
    layout->addSpacing(10);
    layout->addLayout(buttons);

    auto* hover = new app::HoverGroup(this);
    hover->addMutual({YazCmd[0], YazCmd[1]});
    setMouseTracking(true);
    installEventFilter(this);
}

bool PrinterDialog::Load()
{
    app::SuppressListSync = false;
    Combo1->clear();
    Combo1->addItems(Printers().Names());
    if (Combo1->count() == 0) {
        app::Prompt::Message(parentWidget(), QStringLiteral("Sistemde Yazıcı Bulunamadı."));
        done(QDialog::Rejected);
        return false;
    }
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(CurrentPrinter().name);
    const QString last = app::GetRegString(app::RootKey::CurrentUser, app::kSettingsKey, kLastPrinter);
    if (!last.isEmpty()) {
        // Exact: same letters, same case.
        for (int i = 0; i < Combo1->count(); ++i) {
            if (Combo1->itemText(i) == last) {
                Combo1->setCurrentIndex(i);
                break;
            }
        }
    }
    return true;
}

void PrinterDialog::Press(int index)
{
    const QString chosen = Combo1->currentText();
    const QStringList names = Printers().Names();
    // A typed name that no printer has leaves the current printer as it was.
    const int position = names.indexOf(chosen);
    if (position >= 0) {
        ReplaceCurrentPrinter(chosen, position);
        if (index == 1)
            CurrentPrinter().copies = 1;
    }
    app::SuppressListSync = index == 1;
    if (index == 1)
        accept();
    else
        reject();
}

void PrinterDialog::done(int result)
{
    // Every way out (either button, Esc, the close box, no printer) keeps the
    // name in the box for next time.
    if (!saved_) {
        saved_ = true;
        app::SaveRegString(app::RootKey::CurrentUser, app::kSettingsKey, kLastPrinter, Combo1->currentText());
    }
    QDialog::done(result);
}

bool PrinterDialog::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        YazCmd[1]->setFocus();
    return QDialog::event(e);
}

void PrinterDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // Not every window system activates a shown dialog (offscreen).
    YazCmd[1]->setFocus();
}

bool PrinterDialog::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == this && e->type() == QEvent::MouseMove) {
        app::HoverGroup::SetBold(YazCmd[0], false);
        app::HoverGroup::SetBold(YazCmd[1], false);
        Text1->setFocus();
    }
    return QDialog::eventFilter(watched, e);
}

bool ShowPrinterDialog(QWidget* owner)
{
    app::SuppressListSync = false;
    PrinterDialog dialog(owner);
    if (dialog.Load())
        dialog.exec();
    return app::SuppressListSync;
}

} // namespace print
