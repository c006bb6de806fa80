#include "board/MainWindow.h"
#include "board/ViewHelpers.h"

#include "app/Clock.h"
#include "app/DataSet.h"
#include "app/Look.h"
#include "app/NetworkFolder.h"
#include "app/WindowPlacement.h"
#include "board/AboutBox.h"
#include "app/Prompt.h"
#include "app/Refresh.h"
#include "app/Settings.h"
#include "app/SharedState.h"
#include "board/StatusReport.h"
#include "print/JobSheets.h"
#include "reports/OpenJobsPanel.h"
#include "reports/WorkReport.h"
#include "store/Connection.h"
#include "store/StoreError.h"
#include "survey/EntryDialog.h"
#include "ui/DataCombo.h"
#include "ui/DataGrid.h"
#include "ui/DatePicker.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QVBoxLayout>
#include <QScopeGuard>

namespace board {

using ui::ColumnAlign;
using ui::ColumnFormat;
using ui::GridColumn;

namespace {

// The report panels' size where the window has room for it.
constexpr QSize kReportPanelSize(1000, 560);

const QString kStaffCards = QStringLiteral(
    "Select * From CariKartlar Where HesKullan=False And Gurup='Eleman' Order By Unvan ASC");
const QString kCustomerCards = QStringLiteral(
    "Select * From CariKartlar Where HesKullan=False And Gurup='Müşteri' Order By Unvan ASC");

GridColumn Col(const char* caption, const char* field, double twips,
               ColumnFormat format = ColumnFormat::None)
{
    GridColumn c;
    c.caption = QString::fromUtf8(caption);
    c.dataField = QString::fromUtf8(field);
    c.widthTwips = twips;
    c.format = format;
    c.alignment = (format == ColumnFormat::GeneralNumber) ? ColumnAlign::Right
                : (format == ColumnFormat::YesNo)         ? ColumnAlign::Center
                                                          : ColumnAlign::Left;
    return c;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setMinimumHeight(30);
    return b;
}

ui::DataGrid* Grid(QWidget* parent, const QString& name, const std::vector<GridColumn>& columns)
{
    auto* g = new ui::DataGrid(parent);
    g->setObjectName(name);
    g->setColumns(columns);
    return g;
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("Velmora"));
    setWindowTitle(QStringLiteral("  Kervoda Velmora"));
    // Designed without minimize and maximize buttons; start-up gives it the
    // minimize button.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFont(QFont(app::kFontFamily, app::kFontPoints));
    buildControls();
    Status = std::make_unique<StatusReport>(statusBar());
    buildFrames();
    connectBoard();
    connectOrderGrid();
    connectJobGrid();
    WireHelpers();
    qApp->installEventFilter(this);
    // The first run fills the screen, leaving room for the title bar and the
    // strip kept free at the bottom; later runs open as the user left it.
    const QRect avail = screen()->availableGeometry();
    resize(qMax(minimumSizeHint().width(), avail.width() - 8), qMax(minimumSizeHint().height(), avail.height() - 80));

    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    about->setContext(Qt::WindowShortcut);
    connect(about, &QShortcut::activated, this, [this] { AboutBox::Show(this, paths_); });
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

void MainWindow::buildControls()
{
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("BoardSurface"));
    setCentralWidget(central);

    // Top: the kind, the day, the quick search and the filter.
    auto* kinds = new QGroupBox(central);
    kinds->setObjectName(QStringLiteral("KindBox"));
    auto* kindRow = new QHBoxLayout(kinds);
    kindRow->setContentsMargins(8, 2, 8, 2);
    const char* kindCaptions[] = {"&Montaj", "&Servis", "&Keşif", "&Paket Teslim"};
    for (int i = 0; i < 4; ++i) {
        Option1[i] = new QRadioButton(QString::fromUtf8(kindCaptions[i]), kinds);
        Option1[i]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        kindRow->addWidget(Option1[i]);
    }
    Option1[0]->setChecked(true);

    DTPicker1 = new ui::DatePicker(central);
    DTPicker1->setObjectName(QStringLiteral("DTPicker1"));
    DTPicker1->setMinimumWidth(130);

    Text1 = new QLineEdit(QStringLiteral(" Kayıt Bul"), central);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setMaximumWidth(240);
    Text1->setMinimumWidth(120);

    Check1 = new QCheckBox(QStringLiteral("&Filitre"), central);
    Check1->setObjectName(QStringLiteral("Check1"));

    SourceLbl = new QLabel(central);
    SourceLbl->setObjectName(QStringLiteral("SourceLbl"));
    SourceLbl->hide(); // only keeps the order list's source while filtering

    // Alt+G belongs to "&Görev Ekle".
    auto* dayLabel = new QLabel(QStringLiteral("Gü&n:"), central);
    dayLabel->setBuddy(DTPicker1);

    auto* top = new QHBoxLayout;
    top->addWidget(kinds);
    top->addSpacing(12);
    top->addWidget(dayLabel);
    top->addWidget(DTPicker1);
    top->addStretch(1);
    top->addWidget(Text1);
    top->addSpacing(8);
    top->addWidget(Check1);

    // Order lines.
    StokDataGrid = Grid(central, QStringLiteral("StokDataGrid"),
                        {Col("Seç", "Sec", 450), Col("Sipariş", "SipTarih", 1150),
                         Col("Teslim", "TesTarih", 1150), Col("Sip.No", "SipNo", 1000),
                         Col("Miktar", "Miktar", 750, ColumnFormat::GeneralNumber),
                         Col("Kalan", "KalAdet", 750, ColumnFormat::GeneralNumber),
                         Col("Müşteri", "CariAdi", 3000), Col("Ürün", "StokAdi", 3000),
                         Col("Görev", "Görev", 900), Col("Eleman", "Eleman", 1600),
                         Col("Not", "Not", 2500)});
    StokDataGrid->setTipText(QStringLiteral(" Ara Çubuğu Seçim "));

    // Jobs of the day.
    GörevGrid = Grid(central, QStringLiteral("GörevGrid"),
                     {Col("Sipariş", "SipNo", 1000), Col("Müşteri", "Unvan", 3600),
                      Col("                   Eleman", "Eleman", 2200),
                      Col("     Görev", "Görev", 1000),
                      Col("Tamam", "Tamam", 750, ColumnFormat::YesNo),
                      Col("İptal", "Iptal", 750, ColumnFormat::YesNo),
                      Col("Adet", "Adet", 750, ColumnFormat::GeneralNumber),
                      Col("Yapıldı", "Kalan", 850, ColumnFormat::GeneralNumber)});
    GörevGrid->setLocked(7, false);
    GörevGrid->setAllowUpdate(true);

    // The staff working that day, the staff picker and job creation.
    DBGrid2 = Grid(central, QStringLiteral("DBGrid2"),
                   {Col("                   Eleman", "Eleman", 2800)});
    DBCombo1 = new ui::DataCombo(central);
    DBCombo1->setObjectName(QStringLiteral("DBCombo1"));
    Command2 = Button(central, QStringLiteral("Command2"), QStringLiteral("&Görev Ekle"));

    Command1[0] = Button(central, QStringLiteral("Command1(0)"), QStringLiteral("&Çıkış"));
    Command1[1] = Button(central, QStringLiteral("Command1(1)"), QStringLiteral("&Tüm Yazdır"));
    Command1[2] = Button(central, QStringLiteral("Command1(2)"), QStringLiteral("Tek &Yazdır"));
    Command1[0]->setEnabled(false);
    Command1[2]->setEnabled(false);
    Command3 = Button(central, QStringLiteral("Command3"), QStringLiteral("&Rapor"));
    Command4 = Button(central, QStringLiteral("Command4"), QStringLiteral("Yapılacak"));

    auto* staffLabel = new QLabel(QStringLiteral("Görev verilecek &eleman:"), central);
    staffLabel->setBuddy(DBCombo1);

    auto* side = new QVBoxLayout;
    side->addWidget(DBGrid2, 1);
    side->addWidget(staffLabel);
    side->addWidget(DBCombo1);
    side->addWidget(Command2);
    side->addSpacing(16);
    side->addWidget(Command1[1]);
    side->addWidget(Command1[2]);
    side->addSpacing(8);
    side->addWidget(Command3);
    side->addWidget(Command4);
    side->addStretch(1);
    side->addWidget(Command1[0]);

    BoardSplitter = new QSplitter(Qt::Vertical, central);
    BoardSplitter->setObjectName(QStringLiteral("BoardSplitter"));
    BoardSplitter->setChildrenCollapsible(false);
    BoardSplitter->addWidget(StokDataGrid);
    BoardSplitter->addWidget(GörevGrid);
    BoardSplitter->setStretchFactor(0, 3);
    BoardSplitter->setStretchFactor(1, 2);

    auto* body = new QHBoxLayout;
    body->addWidget(BoardSplitter, 1);
    body->addLayout(side);
    DBGrid2->setFixedWidth(220);
    DBCombo1->setFixedWidth(220);

    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addLayout(top);
    outer->addLayout(body, 1);

    Dosya = new QMenu(QStringLiteral("Dosya"), this);
    Dosya->setObjectName(QStringLiteral("Dosya"));
    Bul = Dosya->addAction(QStringLiteral("Bul"));
    Bul->setObjectName(QStringLiteral("Bul"));
    Detay = Dosya->addAction(QStringLiteral("Detay"));
    Detay->setObjectName(QStringLiteral("Detay"));
    Notu = Dosya->addAction(QStringLiteral("Not"));
    Notu->setObjectName(QStringLiteral("Notu"));
    Sil = Dosya->addAction(QStringLiteral("Satır Sil"));
    Sil->setObjectName(QStringLiteral("Sil"));

    // Tab goes as the eye does: the top row left to right, the two lists,
    // then the column on the right from top to bottom.
    const QList<QWidget*> order{Option1[0], DTPicker1, Text1, Check1, StokDataGrid, GörevGrid, DBGrid2,
                                DBCombo1, Command2, Command1[1], Command1[2], Command3, Command4, Command1[0]};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void MainWindow::buildFrames()
{
    QWidget* surface = centralWidget();

    // The frames lie over the board and are shown and hidden, not separate windows.
    DetayFrm = new QGroupBox(QStringLiteral(" Müşteri Detay "), surface);
    DetayFrm->setObjectName(QStringLiteral("DetayFrm"));
    DetayDBGrid = Grid(DetayFrm, QStringLiteral("DetayDBGrid"),
                       {Col("Sipariş", "SipNo", 1000),
                        Col("Tarih", "Tarih", 1300, ColumnFormat::GeneralDate),
                        Col("                   Eleman", "Eleman", 2200),
                        Col("     Görev", "Görev", 1000),
                        Col("Yapıldı", "Tamam", 800, ColumnFormat::YesNo),
                        Col("İptal", "Iptal", 800, ColumnFormat::YesNo), Col("Not", "Not", 3000)});
    (new QVBoxLayout(DetayFrm))->addWidget(DetayDBGrid);
    DetayFrm->resize(900, 420);

    MrFrame = new QGroupBox(QStringLiteral(" Montaj Rapor "), surface);
    MrFrame->setObjectName(QStringLiteral("MrFrame"));
    DTPicker2 = new ui::DatePicker(MrFrame);
    DTPicker2->setObjectName(QStringLiteral("DTPicker2"));
    DBGrid1 = Grid(MrFrame, QStringLiteral("DBGrid1"),
                   {Col("Müşteri", "Unvan", 3000), Col("Ürün", "Stok", 3000),
                    Col("Adet", "Adet", 750, ColumnFormat::GeneralNumber),
                    Col("Eleman", "Eleman", 1800), Col("Görev", "Görev", 1000),
                    Col("Not", "Not", 2500)});
    auto* mrLayout = new QVBoxLayout(MrFrame);
    mrLayout->addWidget(DTPicker2, 0, Qt::AlignLeft);
    mrLayout->addWidget(DBGrid1);
    MrFrame->resize(kReportPanelSize);

    Frame1 = new QGroupBox(QStringLiteral(" Aylık Rapor "), surface);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    RapDBGrid = Grid(Frame1, QStringLiteral("RapDBGrid"),
                     {Col("Müşteri", "Unvan", 3000), Col("Eleman", "Eleman", 2500),
                      Col("Görev", "Görev", 1000),
                      Col("Yapılan", "Yapilan", 900, ColumnFormat::GeneralNumber),
                      Col("Not", "Not", 2500)});
    (new QVBoxLayout(Frame1))->addWidget(RapDBGrid);
    Frame1->resize(kReportPanelSize);

    for (QGroupBox* frame : {DetayFrm, MrFrame, Frame1}) {
        frame->setAutoFillBackground(true);
        frame->hide();
    }
}

void MainWindow::placeFrames()
{
    // A report panel lies over the board at its full size where the window
    // has room, and within the window where it has not: a panel running off
    // the window's edge would hide its last columns and its buttons.
    const QSize room = centralWidget()->size();
    const QSize panel(qMin(kReportPanelSize.width(), room.width()),
                      qMin(kReportPanelSize.height(), qMax(kReportPanelSize.height() / 2, room.height() - 60)));
    for (QGroupBox* frame : {MrFrame, Frame1}) {
        frame->resize(panel);
        frame->move(qMax(0, (room.width() - panel.width()) / 2), 60);
    }
    // DetayFrm is centred horizontally once, at the first activation.
}

void MainWindow::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    placeFrames();
}

void MainWindow::connectBoard()
{
    StokDataGrid->setView(&DataSiparis);
    GörevGrid->setView(&DataGörev);
    DBGrid2->setView(&DataSipEleman);
    DetayDBGrid->setView(&DataDetay);
    DBGrid1->setView(&DataMr);
    RapDBGrid->setView(&DataRapor);

    for (int i = 0; i < 4; ++i)
        connect(Option1[i], &QRadioButton::clicked, this, [this, i] { ChooseKind(i); });
    connect(DTPicker1, &QDateEdit::dateChanged, this, [this] {
        if (Activated())
            ReloadBoardLists();
    });
    // While a report panel lies over the board the three buttons do nothing.
    connect(Command1[0], &QPushButton::clicked, this, [this] {
        if (!MrFrame->isVisible() && !Frame1->isVisible())
            close();
    });
    jobSheets_ = std::make_unique<print::JobSheets>(
        print::JobSheetViews{DataGörev, DataGörevTmp, DataTmp, DataCari, DataYazTmp, DataSiparis},
        print::JobSheetControls{this, {Command1[0], Command1[1], Command1[2]}, MrFrame, Frame1, DTPicker1,
                                &BoardDateText});
    for (int i : {1, 2})
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { jobSheets_->Click(i); });

    // The two report panels over the board.
    workReport_ = std::make_unique<reports::WorkReport>(
        reports::WorkReportViews{DataRapor, DataGörev, DataElaman, DataSiparis},
        reports::WorkReportControls{this, Frame1, RapDBGrid, Command3, DTPicker1, &CurrentKind, &BoardDateText});
    openJobs_ = std::make_unique<reports::OpenJobsPanel>(
        reports::OpenJobsViews{DataMr, DataGörev},
        reports::OpenJobsControls{this, MrFrame, DTPicker2, DBGrid1, workReport_->Picture1, &CurrentKind,
                                  &BoardDateText});
    // Command3 in its green "Yeni Kayıt" mode (the survey kind) opens the
    // survey and service entry; afterwards the order list goes to the
    // customer of the last saved entry.
    workReport_->setNewRecordAction([this] {
        Guarded([this] {
            survey::EntryDialog::Open(this, paths_, DataCari, DataSiparis, DTPicker1->date(), [this] {
                if (app::LastCustomerCode.isEmpty())
                    return;
                app::RefreshData(DataCari);
                Try([this] { DataSiparis.FindFirst(Criteria("CariKod", app::LastCustomerCode)); });
            });
        });
    });
    connect(Command3, &QPushButton::clicked, this, [this] { Guarded([this] { workReport_->Command3Click(); }); });
    connect(Command4, &QPushButton::clicked, this, [this] { Guarded([this] { openJobs_->Command4Click(); }); });

    // The staff list: highlighted only while it has focus and rows; moving in
    // it then picks the staff member for the next jobs.
    connect(DBGrid2, &ui::DataGrid::focusGained, this,
            [this] { DBGrid2->setHighlight(DataSipEleman.RecordCount() > 0); });
    connect(DBGrid2, &ui::DataGrid::focusLost, this, [this] { DBGrid2->setHighlight(false); });
    connect(DBGrid2, &ui::DataGrid::rowChanged, this, [this] {
        if (DBGrid2->Highlight())
            PickStaffFromList();
    });
    // A click on a name picks it also when the same click brings the window
    // to the front: the grid then gets the focus (and its highlight) only
    // after the row has moved.
    connect(DBGrid2, &ui::DataGrid::cellClick, this, [this] { PickStaffFromList(); });
    connect(DBGrid2, &ui::DataGrid::selectionChanging, this, [](bool* cancel) { *cancel = true; });
}

void MainWindow::PickStaffFromList()
{
    try {
        if (!DataSipEleman.BOF() && !DataSipEleman.EOF())
            DBCombo1->setText(DataSipEleman.Field(QStringLiteral("Eleman")).toString());
    } catch (const store::StoreError&) {
    }
}

void MainWindow::bindStore(store::RecordView& view, const QString& path)
{
    view.setDatabaseName(app::StorePaths::Local(path));
}

bool MainWindow::Load()
{
    paths_ = app::StorePaths::FromSettings();
    const QString settingsProblem = app::SettingsFile::TakeProblem();
    if (!settingsProblem.isEmpty())
        app::Prompt::Message(this, settingsProblem, {}, app::MessageIcon::Warning);
    // Before anything is opened: a store folder on a network file system is
    // safe for one seat only, and the user must say so.
    if (!app::ConfirmStoreFolders(this, paths_))
        return false;

    try {
        // Every store, table and field must be there before anything is bound:
        // what is missing is named to the user instead of surfacing later as an
        // engine error or a silently empty board.
        app::OpenDataSet(paths_);

        bindStore(DataRec, paths_.jobs());
        DataRec.setRecordSource(QStringLiteral("RecSay"));
        app::RefreshData(DataRec);
        for (store::RecordView* v : {&DataGörev, &DataGörevTmp, &DataDetay})
            bindStore(*v, paths_.jobs());
        bindStore(DataRapor, paths_.reports());
        DataRapor.setRecordSource(QStringLiteral("Rapor"));
        bindStore(DataMr, paths_.jobs());
        DataMr.setRecordSource(QStringLiteral("Montaj"));
        DataMr.Refresh();
        bindStore(DataElaman, paths_.accounts());
        DataElaman.setRecordSource(kStaffCards);
        app::RefreshData(DataElaman);
        DBCombo1->bind(&DataElaman, QStringLiteral("Unvan"));
        bindStore(DataSipEleman, paths_.orders());
        bindStore(DataSiparis, paths_.orders());
        bindStore(DataCari, paths_.accounts());
        DataCari.setRecordSource(QStringLiteral("CariKartlar"));

        if (DataRec.RecordCount() == 0 || DataRec.EOF()) {
            app::Prompt::Message(this,
                                 QStringLiteral("\"RecSay\" tablosunda kayıt yok:\n%1\n\n"
                                                "Görev numarası okunamadığı için program kapanacak.")
                                     .arg(app::StorePaths::Local(paths_.jobs())),
                                 {}, app::MessageIcon::Critical);
            return false;
        }
        LastRecNo = DataRec.Field(0).toDouble();
    } catch (const store::StoreError& e) {
        app::Prompt::Message(this, e.message() + QStringLiteral("\n\nProgram kapanacak."), {},
                             app::MessageIcon::Critical);
        return false;
    }
    setWindowFlag(Qt::WindowMinimizeButtonHint, true);
    loaded_ = true;
    return true;
}

bool MainWindow::Activated() const
{
    return Command1[0]->isEnabled();
}

void MainWindow::Activate()
{
    if (!loaded_ || Activated() || activating_)
        return;
    activating_ = true;
    const auto done = qScopeGuard([this] { activating_ = false; });
    try {
        CurrentKind = QStringLiteral("Montaj");
        // The top left corner, unless the user has placed the window before.
        if (!app::RestorePlacement(this, BoardSplitter))
            move(0, 0);
        if (!DataElaman.BOF() && !DataElaman.EOF())
            DBCombo1->setText(DataElaman.Field(QStringLiteral("Unvan")).toString());

        bindStore(DataMüsteri, paths_.accounts());
        DataMüsteri.setRecordSource(kCustomerCards);
        app::SuppressListSync = true;
        app::RefreshData(DataMüsteri);

        DataDetay.setRecordSource(
            QStringLiteral("Select * From Montaj Where Görev='Montaj' Order By SipNo Asc"));
        app::RefreshData(DataDetay);

        DataYazTmp.setDatabaseName(DataDetay.DatabaseName());
        DataYazTmp.setRecordSource(QStringLiteral("Select * From Montaj Where Görev=''"));
        DataYazTmp.Refresh();

        const QDate today = app::Clock::Today();
        {
            // The board is built once below; the date change must not build it twice.
            const QSignalBlocker block1(DTPicker1);
            DTPicker1->setDate(today);
        }
        DTPicker2->setDate(today);

        LoadGridLayouts();

        app::RefreshData(DataCari);
        app::RefreshData(DataRapor);

        DetayFrm->move((centralWidget()->width() - DetayFrm->width()) / 2, DetayFrm->y());
        app::SuppressListSync = false;
        Command1[0]->setEnabled(true);
        ReloadBoardLists();
    } catch (const store::StoreError& e) {
        loaded_ = false; // closing the message re-activates the window: nothing more to do
        app::Prompt::Message(this, e.message() + QStringLiteral("\n\nProgram kapanacak."), {},
                             app::MessageIcon::Critical);
        QMetaObject::invokeMethod(qApp, [] { QApplication::exit(1); }, Qt::QueuedConnection);
    }
}

bool MainWindow::event(QEvent* e)
{
    if (e->type() == QEvent::WindowActivate)
        Activate();
    return QMainWindow::event(e);
}

void MainWindow::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    // Not every window system activates a newly shown window (offscreen,
    // a bare X server); the board must still be built.
    QMetaObject::invokeMethod(this, [this] { Activate(); }, Qt::QueuedConnection);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() != QEvent::KeyPress)
        return QMainWindow::eventFilter(watched, e);
    auto* key = static_cast<QKeyEvent*>(e);
    // F5 anywhere in the window re-reads the order lines; the key reaches no control.
    if (key->key() == Qt::Key_F5) {
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && (w == this || isAncestorOf(w))) {
            RereadOrderLines();
            return true;
        }
    }
    // The grids' own keys need the typed character, which only the event has.
    if (watched == StokDataGrid && key->key() != Qt::Key_Delete)
        FirstLetterSearch(key->text());
    if (watched == GörevGrid) {
        if (key->key() == Qt::Key_Delete) {
            Guarded([this] { DeleteEntry(); });
            return true;
        }
        JobGridKey(key->text(), key->key());
    }
    return QMainWindow::eventFilter(watched, e);
}

} // namespace board
