#include "app/UPrincipal.h"

#include "app/ContinuousProgressBar.h"
#include "app/ErrorReport.h"
#include "app/MessageBoxes.h"
#include "app/RunMessages.h"
#include "app/SearchCapitals.h"
#include "app/SongGrid.h"
#include "app/SongTableModel.h"
#include "app/WindowLabel.h"
#include "app/WindowLook.h"
#include "app/WindowText.h"
#include "catalogue/Configuration.h"
#include "catalogue/SongColumns.h"
#include "catalogue/SongQuery.h"
#include "songs/SongTagMapping.h"
#include "songs/SongWriting.h"
#include "songs/StopSignals.h"
#include "text/IntegerText.h"

#include <QApplication>
#include <QCloseEvent>
#include <QSocketNotifier>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>


namespace app {
namespace {

using catalogue::SongColumn;

constexpr std::string_view kDefaultSortField = catalogue::kDefaultSortColumn;
constexpr int kColumnWidth = 670;

// A palette whose disabled colours are its active ones: the progress panel lies inside the list's
// group box, which a run disables, and is still to be read.
QPalette AlwaysActive(QPalette palette)
{
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        const auto r = static_cast<QPalette::ColorRole>(role);
        palette.setColor(QPalette::Disabled, r, palette.color(QPalette::Active, r));
    }
    return palette;
}

QPushButton* RunButton(QWidget* parent, const QString& text, QRect geometry)
{
    auto* button = new QPushButton(text, parent);
    button->setGeometry(geometry);
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}


} // namespace

TFrmPrincipal::TFrmPrincipal(MessageBoxes& boxes, std::filesystem::path executablePath, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , boxes_(boxes)
    , executablePath_(std::move(executablePath))
{
    BuildControls();
    // The handlers before the start-up, so that a stop signal ends the program while it opens
    // the catalogue; one that comes during its message closes the window once it is shown.
    songs::StopSignals::Take();
    Guarded([this] { FormCreate(); });
    TakeStopSignals();
}

TFrmPrincipal::~TFrmPrincipal()
{
    try {
        FormDestroy();
    } catch (const std::exception& error) {
        ReportFailure(error);
    }
}

void TFrmPrincipal::BuildControls()
{
    setObjectName(QStringLiteral("FrmPrincipal"));
    setWindowTitle(ApplicationTitle());
    setFixedSize(740, 400);
    setFont(WindowFont(11));
    setAutoFillBackground(true);
    QPalette face = palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    setPalette(face);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    GBLocalizarMusicas = new QGroupBox(QStringLiteral("Localizar Música: "), this);
    GBLocalizarMusicas->setGeometry(6, 4, 728, 47);

    MEBuscarMusicas = new QLineEdit(GBLocalizarMusicas);
    MEBuscarMusicas->setGeometry(8, 16, 708, 24);
    MEBuscarMusicas->setFont(WindowFont(13, true));
    QPalette box = MEBuscarMusicas->palette();
    box.setColor(QPalette::Text, Qt::black);
    box.setColor(QPalette::Base, Qt::white);
    MEBuscarMusicas->setPalette(box);
    MEBuscarMusicas->setValidator(new CapitalsValidator(MEBuscarMusicas));
    connect(MEBuscarMusicas, &QLineEdit::textChanged, this, [this] { SearchTextChanged(); });

    GBRelacaoMusicas = new QGroupBox(QStringLiteral("Relação das Músicas"), this);
    GBRelacaoMusicas->setGeometry(6, 56, 728, 299);
    GBRelacaoMusicas->setFont(WindowFont(11));
    QPalette group = GBRelacaoMusicas->palette();
    group.setColor(QPalette::WindowText, Qt::black);
    GBRelacaoMusicas->setPalette(group);

    songModel_ = std::make_unique<SongTableModel>(session_.Q_Musicas(),
                                                  [this](const std::exception& error) { ReportFailure(error); });
    DBMusicas = new SongGrid(GBRelacaoMusicas);
    DBMusicas->setObjectName(QStringLiteral("DBMusicas"));
    DBMusicas->setGeometry(8, 15, 707, 274);
    DBMusicas->setFont(WindowFont(11, true));
    QPalette list = DBMusicas->palette();
    list.setColor(QPalette::Base, list.color(QPalette::Button));
    DBMusicas->setPalette(list);
    DBMusicas->setCursor(Qt::PointingHandCursor);
    DBMusicas->viewport()->setCursor(Qt::PointingHandCursor);
    DBMusicas->SetSongModel(songModel_.get());
    DBMusicas->setColumnWidth(0, kColumnWidth);
    DBMusicas->SetDrawColumnCell([this](GridCanvas& canvas, const QRect& rect, int dataCol, const QModelIndex& cell,
                                        CellState state) { DBMusicasDrawColumnCell(canvas, rect, dataCol, cell, state); });
    connect(DBMusicas, &SongGrid::TitleClick, this, [this](int column) { Guarded([=, this] { DBMusicasTitleClick(column); }); });
    connect(DBMusicas, &SongGrid::MouseUp, this, [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint at) {
        Guarded([=, this] { DBMusicasMouseUp(button, shift, at.x(), at.y()); });
    });
    connect(DBMusicas, &SongGrid::CurrentRowMoved, this, [this](int row) { Guarded([=, this] { CurrentRowMoved(row); }); });

    pnlAguarde = new QFrame(GBRelacaoMusicas);
    pnlAguarde->setGeometry(86, 108, 557, 81);
    pnlAguarde->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlAguarde->setLineWidth(1);
    pnlAguarde->setAutoFillBackground(true);
    pnlAguarde->setPalette(AlwaysActive(face));
    pnlAguarde->hide();

    Label1 = new WindowLabel(pnlAguarde, QStringLiteral("Gravando informações no TAG"));
    Label1->setGeometry(191, 6, 175, 13);
    Label1->setFont(WindowFont(12, true));
    QPalette heading = Label1->palette();
    heading.setColor(QPalette::WindowText, Qt::black);
    Label1->setPalette(AlwaysActive(heading));

    lblContador = new WindowLabel(pnlAguarde);
    lblContador->setGeometry(8, 32, 0, 13);
    lblContador->setFont(GBRelacaoMusicas->font());
    lblContador->setPalette(AlwaysActive(group));

    ProgressBar1 = new ContinuousProgressBar(pnlAguarde);
    ProgressBar1->setGeometry(8, 48, 537, 25);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);

    BTodas = RunButton(this, QStringLiteral("Gravar Todas"), {138, 362, 150, 28});
    BSelecionadas = RunButton(this, QStringLiteral("Gravar Selecionadas"), {296, 362, 150, 28});
    BFechar = RunButton(this, QStringLiteral("&Fechar"), {454, 362, 150, 28});
    connect(BTodas, &QPushButton::clicked, this, [this] { Guarded([this] { BTodasClick(); }); });
    connect(BSelecionadas, &QPushButton::clicked, this, [this] { Guarded([this] { BSelecionadasClick(); }); });
    connect(BFechar, &QPushButton::clicked, this, [this] { Guarded([this] { BFecharClick(); }); });

    setTabOrder(MEBuscarMusicas, DBMusicas);
}

void TFrmPrincipal::Guarded(const std::function<void()>& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        ReportFailure(error);
    }
}

void TFrmPrincipal::ReportFailure(const std::exception& error)
{
    ReportError(boxes_, error.what());
}

void TFrmPrincipal::FormCreate()
{
    // Read once: the catalogue's start-up, the writing settings and the folders are views of it.
    const catalogue::Configuration configuration =
        catalogue::LoadConfiguration(catalogue::ConfigurationPath(executablePath_));
    const catalogue::ConfigurationValues& values = configuration.values;
    writing_.keep = {values.writing.keepOtherFrames, values.writing.keepTimes};
    folders_ = songs::FolderMap{};
    // A [PASTAS] line that cannot be taken is told; the others are taken, and the start-up goes on.
    const QString refused = RefusedFolderLinesText(configuration.path, songs::AddFolderLines(folders_, values.folderLines));
    if (!refused.isEmpty())
        boxes_.Show({windowTitle(), refused, MessageIcon::Information, MessagePlacement::ScreenCentre, {}});
    {
        // Nothing is in hand while the catalogue opens, nor while its failure is told (before the
        // window watches for stop signals): a stop signal ends the program at once.
        const songs::StopAtOnce atOnce;
        const catalogue::StartupOutcome outcome = session_.Start(configuration);
        if (outcome.state != catalogue::StartupState::Ready) {
            // The start-up stops here, silently after its message; the window opens all the same.
            boxes_.Show({windowTitle(), FromCp1252(outcome.message), MessageIcon::Information,
                         MessagePlacement::ScreenCentre, {}});
            return;
        }
    }
    MEBuscarMusicasChange();
}

void TFrmPrincipal::FormDestroy()
{
    songModel_->BeginQuery();
    try {
        session_.Shutdown();
    } catch (...) {
        songModel_->EndQuery();
        throw;
    }
    songModel_->EndQuery();
}

void TFrmPrincipal::BFecharClick()
{
    close();
}

void TFrmPrincipal::TakeStopSignals()
{
    songs::StopSignals::Take();
    if (songs::StopSignals::Descriptor() < 0)
        return;
    stopNotifier_ = new QSocketNotifier(songs::StopSignals::Descriptor(), QSocketNotifier::Read, this);
    connect(stopNotifier_, &QSocketNotifier::activated, this, [this] { StopSignalArrived(); });
}

void TFrmPrincipal::StopSignalArrived()
{
    songs::StopSignals::Acknowledge();
    if (running_) {
        stopRequested_ = true; // the run stops before its next song and then closes the window
        return;
    }
    close();
}

void TFrmPrincipal::closeEvent(QCloseEvent* event)
{
    if (running_) {
        // A run is not stopped: it writes every song, then the program ends.
        closePending_ = true;
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

void TFrmPrincipal::keyPressEvent(QKeyEvent* event)
{
    // "&Fechar"'s access key. Typed characters reach the window only from controls that do not
    // take them, so F alone counts everywhere but in the search box; Alt+F counts everywhere.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (event->key() == Qt::Key_F && (modifiers == Qt::NoModifier || modifiers == Qt::AltModifier) &&
        BFechar->isEnabled()) {
        BFechar->click();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFrmPrincipal::SearchTextChanged()
{
    if (searchPending_)
        return;
    searchPending_ = true;
    QMetaObject::invokeMethod(this, [this] { RunPendingSearch(); }, Qt::QueuedConnection);
}

void TFrmPrincipal::RunPendingSearch()
{
    if (!searchPending_)
        return;
    searchPending_ = false;
    Guarded([this] { MEBuscarMusicasChange(); });
}

void TFrmPrincipal::MEBuscarMusicasChange()
{
    searchPending_ = false;
    if (sortField_.empty())
        sortField_ = kDefaultSortField;
    songModel_->BeginQuery();
    DBMusicas->ClearSelection();
    try {
        const songs::StopAtOnce atOnce; // as at start-up: the query may have to attach first
        session_.RunSongQuery(ToCp1252(MEBuscarMusicas->text()), sortField_);
    } catch (...) {
        songModel_->EndQuery();
        throw;
    }
    songModel_->EndQuery();
    DBMusicas->SetCurrentRow(songModel_->rowCount() > 0 ? 0 : -1);
}

void TFrmPrincipal::DBMusicasTitleClick(int column)
{
    if (column != 0)
        return;
    sortField_ = SongTableModel::ColumnFieldName();
    MEBuscarMusicasChange();
}

void TFrmPrincipal::DBMusicasMouseUp(Qt::MouseButton, Qt::KeyboardModifiers, int X, int Y)
{
    if (X < 10 && Y < 15) {
        sortField_ = kDefaultSortField;
        MEBuscarMusicasChange();
    }
}

void TFrmPrincipal::DBMusicasDrawColumnCell(GridCanvas& canvas, const QRect& rect, int, const QModelIndex& column,
                                            CellState)
{
    // Set after the list chose the highlight's text colour: highlighted rows show navy too.
    canvas.fontColour = DataTextColour();
    canvas.DefaultDrawColumnCell(rect, column.data(Qt::DisplayRole).toString());
}

void TFrmPrincipal::CurrentRowMoved(int row)
{
    if (displaySuspended_ || row < 0)
        return;
    catalogue::SongList& songs = session_.Q_Musicas();
    if (songs.IsOpen())
        songs.GoTo(static_cast<catalogue::SongList::RowId>(row));
}

void TFrmPrincipal::ShowProgressPanel(bool Show)
{
    lblContador->clear();
    pnlAguarde->setVisible(Show);
    GBLocalizarMusicas->setEnabled(!Show);
    const bool enabled = GBLocalizarMusicas->isEnabled();
    GBRelacaoMusicas->setEnabled(enabled);
    BTodas->setEnabled(enabled);
    BSelecionadas->setEnabled(enabled);
    BFechar->setEnabled(enabled);
    ServePendingEvents();
}

void TFrmPrincipal::SetCounter(std::size_t song, std::size_t songs, std::string_view fullName)
{
    const std::string text = "Gravando aquivo " + text::DecimalText(static_cast<std::int64_t>(song)) + " de " +
                             text::DecimalText(static_cast<std::int64_t>(songs)) + " (" + std::string(fullName) + ")";
    lblContador->setText(FromCp1252(text));
}

void TFrmPrincipal::SuspendDisplay()
{
    displaySuspended_ = true;
}

void TFrmPrincipal::ResumeDisplay()
{
    displaySuspended_ = false;
    catalogue::SongList& songs = session_.Q_Musicas();
    songModel_->ShowKeptRows();
    if (songs.HasCurrentRow())
        DBMusicas->SetCurrentRow(RowNumber(songs.CurrentRowId()));
}

void TFrmPrincipal::ServePendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TFrmPrincipal::WalkSongs(std::size_t n, const std::function<bool(std::size_t)>& moveTo)
{
    catalogue::SongList& songs = session_.Q_Musicas();
    ProgressBar1->setValue(0);
    ProgressBar1->setMaximum(RowNumber(n));
    running_ = true;
    // Each folder a run looks into is listed once in that run.
    finder_ = std::make_unique<songs::SongFinder>(folders_);
    writing_.finder = finder_.get();
    account_ = RunAccount(n);
    songs::ShareWatch watch;
    try {
        ShowProgressPanel(true);
        SuspendDisplay();
        // The counter and the bar show the song being written, set before it is written.
        for (std::size_t i = 0; moveTo(i); ++i) {
            SetCounter(i + 1, n, songs.Text(SongColumn::MUS_NOMECOMPLETO));
            ProgressBar1->setValue(RowNumber(i + 1));
            ServePendingEvents();
            if (stopRequested_)
                break;
            WriteSongTag();
            // A folder that stopped answering stops the run: the rest is not tried.
            if (watch.Saw(lastSong_, i + 1, songs.Text(SongColumn::MUS_CODIGO))) {
                account_.Stopped(*watch.Loss(), i + 1);
                break;
            }
        }
    } catch (...) {
        EndRun();
        CloseIfAsked();
        throw; // to the general error report; no closing message
    }
    EndRun();
    // Stopped by a signal: the window closes without the closing message.
    if (stopRequested_) {
        stopRequested_ = false;
        close();
        return;
    }
    // The pending end of the program closes the closing message at once.
    if (CloseIfAsked())
        return;
    boxes_.Show(account_.ClosingMessage(ApplicationTitle()));
}

void TFrmPrincipal::EndRun()
{
    // What the run wrote is on disk before it says "finalizada": one flush per file system.
    written_.FlushAll();
    ResumeDisplay();
    ShowProgressPanel(false);
    running_ = false;
}

bool TFrmPrincipal::CloseIfAsked()
{
    if (!closePending_)
        return false;
    closePending_ = false;
    close();
    return true;
}

void TFrmPrincipal::BTodasClick()
{
    RunPendingSearch();
    catalogue::SongList& songs = session_.Q_Musicas();
    songs.FetchAll();
    songModel_->ShowKeptRows();
    songs.First();
    // Every row of the result, from the first to the end flag.
    WalkSongs(songs.RowCount(), [&songs](std::size_t i) {
        if (i > 0)
            songs.Next();
        return !songs.Eof();
    });
}

void TFrmPrincipal::BSelecionadasClick()
{
    RunPendingSearch();
    catalogue::SongList& songs = session_.Q_Musicas();
    if (!songs.HasCurrentRow())
        return;
    // The selection as the run starts, in list order.
    const std::vector<RowSelection::RowId> rows = DBMusicas->SelectedRows().Rows();
    WalkSongs(rows.size(), [&songs, &rows](std::size_t k) {
        if (k >= rows.size())
            return false;
        songs.GoTo(rows[k]);
        return true;
    });
}

void TFrmPrincipal::WriteSongTag()
{
    if (beforeSong_)
        beforeSong_();
    // A song that cannot be written is passed over; the run goes on with the next one, and its
    // closing message names it.
    lastSong_ = {};
    try {
        const catalogue::SongRecord& record = session_.Q_Musicas().Current();
        const songs::SongTag tag = songs::MapSongToTag(record);
        lastSong_ = songs::WriteCatalogueSong(tag, writing_, written_);
        account_.Add(record.Text(SongColumn::MUS_CODIGO), tag.fileName, lastSong_);
    } catch (...) {
    }
}

} // namespace app
