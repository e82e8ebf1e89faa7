#include "app/MainFrame.h"

#include "app/AppPaths.h"
#include "app/AutoBackup.h"
#include "app/BackupsDlg.h"
#include "app/ChannelPrinter.h"
#include "app/CsvCommands.h"
#include "app/PageTabCtrl.h"
#include "app/VantorApp.h"
#include "app/VantorView.h"
#include "i18n/LangText.h"
#include "link/CloneProgressDlg.h"
#include "link/CloneSession.h"
#include "link/FleetWriteDlg.h"
#include "pages/ChannelTablePage.h"
#include "pages/ImagePage.h"
#include "pages/RadiogramDlg.h"
#include "res/CommandIds.h"
#include "res/IconPainter.h"
#include "service/PasswordDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>
#include <array>

namespace {

struct Accelerator
{
    QKeyCombination keys;
    int command;
};

// The shortcuts that have a command. The table's pane keys have none.
const std::array<Accelerator, 9> kAccelerators = {{
    {Qt::CTRL | Qt::Key_C, cmd::CommPort},
    {Qt::CTRL | Qt::Key_L, cmd::Language},
    {Qt::CTRL | Qt::Key_N, cmd::FileNew},
    {Qt::CTRL | Qt::Key_O, cmd::FileOpen},
    {Qt::CTRL | Qt::Key_P, cmd::FilePrint},
    {Qt::CTRL | Qt::Key_R, cmd::ReadFromRadio},
    {Qt::CTRL | Qt::Key_S, cmd::FileSave},
    {Qt::CTRL | Qt::Key_T, cmd::TestMode},
    {Qt::CTRL | Qt::Key_W, cmd::WriteToRadio},
}};

// The Edit menu's keys. They stay with an edit field or an open cell editor, where they edit text.
const std::array<Accelerator, 13> kEditAccelerators = {{
    {Qt::CTRL | Qt::Key_Z, cmd::EditUndo},
    {Qt::ALT | Qt::Key_Backspace, cmd::EditUndo},
    {Qt::CTRL | Qt::Key_Y, cmd::EditRedo},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, cmd::EditRedo},
    {Qt::CTRL | Qt::Key_Insert, cmd::EditCopy},
    {Qt::CTRL | Qt::Key_X, cmd::EditCut},
    {Qt::SHIFT | Qt::Key_Delete, cmd::EditCut},
    {Qt::CTRL | Qt::Key_V, cmd::EditPaste},
    {Qt::SHIFT | Qt::Key_Insert, cmd::EditPaste},
    {QKeyCombination(Qt::Key_Delete), cmd::EditDeleteChannels},
    {Qt::ALT | Qt::Key_Up, cmd::EditMoveUp},
    {Qt::ALT | Qt::Key_Down, cmd::EditMoveDown},
    {Qt::CTRL | Qt::Key_A, cmd::EditSelectAll},
}};

bool IsTextField(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w) ||
           qobject_cast<const QTextEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

constexpr int kToolTipLimit = 19;  // characters, as the toolbar has always cut them
constexpr int kNumLockMask = 0x10; // Mod2 of the X11 keyboard state

QList<QAction*> AllActions(const QList<QAction*>& actions)
{
    QList<QAction*> all;
    for (QAction* a : actions) {
        all.append(a);
        if (QMenu* sub = a->menu())
            all.append(AllActions(sub->actions()));
    }
    return all;
}

// Whether the shortcuts work with the focus on `focus`: not inside a page that keeps its keys.
bool ShortcutsReach(const QWidget* focus)
{
    for (const QWidget* w = focus; w; w = w->parentWidget()) {
        if (const auto* page = dynamic_cast<const IImagePage*>(w); page && !page->ForwardsShortcuts())
            return false;
    }
    return true;
}

} // namespace

CMainFrame::CMainFrame(CVantorApp& app) : m_app(app)
{
    setWindowIcon(CIconPainter::ProgramIcon());
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();

    // A form larger than the window scrolls inside it.
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    m_view = new CVantorView(m_app.Doc(), scroll);
    scroll->setWidget(m_view);
    setCentralWidget(scroll);

    setMaximumSize(kMaxWidth, kMaxHeight);
    resize(kMaxWidth, kMaxHeight);
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - rect().center());
    setAcceptDrops(true);
    ShowPortInStatusBar(ConfiguredPort(g_strSettingFile));
    m_app.Doc().SetHistoryChangedHandler([this] { UpdateEditActions(); });
    qApp->installEventFilter(this);
}

CMainFrame::~CMainFrame()
{
    qApp->removeEventFilter(this);
    m_app.Doc().SetHistoryChangedHandler({});
    m_app.SerialPort().Close();
}

QAction* CMainFrame::AddCommand(QMenu* menu, int command, const char* builtInText)
{
    auto* action = new QAction(QString::fromUtf8(builtInText), this);
    action->setData(command);
    action->setIcon(CIconPainter::ToolIcon(command));
    if (menu)
        menu->addAction(action);
    return action;
}

void CMainFrame::CreateMenus()
{
    m_fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    connect(AddCommand(m_fileMenu, cmd::FileNew, "&New\tCtrl+N"), &QAction::triggered, &m_app,
            &CVantorApp::OnFileNew);
    connect(AddCommand(m_fileMenu, cmd::FileOpen, "&Open...\tCtrl+O"), &QAction::triggered, &m_app,
            &CVantorApp::OnFileOpen);
    connect(AddCommand(m_fileMenu, cmd::FileSave, "&Save\tCtrl+S"), &QAction::triggered, &m_app,
            &CVantorApp::OnFileSave);
    connect(AddCommand(m_fileMenu, cmd::FileSaveAs, "Save &As..."), &QAction::triggered, &m_app,
            &CVantorApp::OnFileSaveAs);
    auto* csv = new CCsvCommands(m_app.Doc(), this);
    connect(AddCommand(m_fileMenu, cmd::FileImportCsv, "&Import Channels (CSV)..."), &QAction::triggered, csv,
            &CCsvCommands::OnImportCsv);
    connect(AddCommand(m_fileMenu, cmd::FileExportCsv, "&Export Channels (CSV)..."), &QAction::triggered, csv,
            &CCsvCommands::OnExportCsv);
    connect(AddCommand(m_fileMenu, cmd::FileBackups, "&Backups..."), &QAction::triggered, this,
            &CMainFrame::OnBackups);
    m_fileMenu->addSeparator();
    connect(AddCommand(m_fileMenu, cmd::FilePrint, "&Print...\tCtrl+P"), &QAction::triggered, this,
            [this] { m_view->OnFilePrint(); });
    connect(AddCommand(m_fileMenu, cmd::FilePrintPreview, "Print Pre&view"), &QAction::triggered, this,
            [this] { m_view->OnFilePrintPreview(); });
    connect(AddCommand(m_fileMenu, cmd::FilePrintSetup, "P&rint Setup..."), &QAction::triggered, this,
            [this] { CChannelPrinter::PrintSetup(this); });
    QAction* printDirect = AddCommand(nullptr, cmd::FilePrintDirect, "");
    connect(printDirect, &QAction::triggered, this, [this] { m_view->OnFilePrintDirect(); });
    addAction(printDirect);
    m_fileMenu->addSeparator();
    m_recentSeparator = m_fileMenu->addSeparator();
    connect(AddCommand(m_fileMenu, cmd::AppExit, "E&xit"), &QAction::triggered, this, &QWidget::close);
    connect(m_fileMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateRecentFileMenu);

    CreateEditMenu();

    QMenu* program = menuBar()->addMenu(QStringLiteral("&Program"));
    connect(AddCommand(program, cmd::ReadFromRadio, "&Read from Radio\tCtrl+R"), &QAction::triggered, this,
            &CMainFrame::OnReadFromRadio);
    connect(AddCommand(program, cmd::WriteToRadio, "&Write to Radio\tCtrl+W"), &QAction::triggered, this,
            &CMainFrame::OnWriteToRadio);
    connect(AddCommand(program, cmd::WriteSeveral, "Write to &Several Radios..."), &QAction::triggered, this,
            &CMainFrame::OnWriteSeveral);
    program->addSeparator();
    connect(AddCommand(program, cmd::RadioPresets, "&FM Radio Presets..."), &QAction::triggered, this,
            &CMainFrame::OnRadioPresets);
    connect(AddCommand(program, cmd::TestMode, "&Test Mode...\tCtrl+T"), &QAction::triggered, this,
            &CMainFrame::OnTestMode);

    QMenu* settings = menuBar()->addMenu(QStringLiteral("&Settings"));
    connect(AddCommand(settings, cmd::CommPort, "&Communication Port...\tCtrl+C"), &QAction::triggered,
            &m_app, &CVantorApp::OnCommPort);
    connect(AddCommand(settings, cmd::Language, "&Language...\tCtrl+L"), &QAction::triggered, &m_app,
            &CVantorApp::OnLanguage);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    connect(AddCommand(help, cmd::HelpContents, "&Help Topics"), &QAction::triggered, this,
            &CMainFrame::OnHelpContents);
    connect(AddCommand(help, cmd::AppAbout, "&About..."), &QAction::triggered, &m_app,
            &CVantorApp::OnAppAbout);
}

void CMainFrame::CreateEditMenu()
{
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    connect(AddCommand(edit, cmd::EditUndo, "&Undo\tCtrl+Z"), &QAction::triggered, this,
            [this] { m_app.Doc().Undo(); });
    connect(AddCommand(edit, cmd::EditRedo, "&Redo\tCtrl+Y"), &QAction::triggered, this,
            [this] { m_app.Doc().Redo(); });
    edit->addSeparator();
    // The row commands act on the channel table; the right-click menu offers the same actions.
    m_rowMenu = new QMenu(this);
    m_rowMenu->setObjectName(QStringLiteral("rowMenu"));
    const auto row = [this, edit](int command, const char* text, void (CChannelTablePage::*handler)()) {
        QAction* action = AddCommand(edit, command, text);
        connect(action, &QAction::triggered, this, [this, handler] {
            if (CChannelTablePage* page = m_view->ChannelPage())
                (page->*handler)();
        });
        m_rowMenu->addAction(action);
    };
    row(cmd::EditCut, "Cu&t\tCtrl+X", &CChannelTablePage::OnEditCut);
    row(cmd::EditCopy, "&Copy\tCtrl+Ins", &CChannelTablePage::OnEditCopy);
    row(cmd::EditPaste, "&Paste\tCtrl+V", &CChannelTablePage::OnEditPaste);
    edit->addSeparator();
    m_rowMenu->addSeparator();
    row(cmd::EditInsertChannel, "&Insert Empty Channel", &CChannelTablePage::OnInsertChannel);
    row(cmd::EditDeleteChannels, "&Delete Channels\tDel", &CChannelTablePage::OnDeleteChannels);
    row(cmd::EditMoveUp, "&Move Up\tAlt+Up", &CChannelTablePage::OnMoveUp);
    row(cmd::EditMoveDown, "Move Do&wn\tAlt+Down", &CChannelTablePage::OnMoveDown);
    edit->addSeparator();
    m_rowMenu->addSeparator();
    row(cmd::EditSelectAll, "Select &All\tCtrl+A", &CChannelTablePage::OnSelectAll);
    connect(edit, &QMenu::aboutToShow, this, &CMainFrame::UpdateEditActions);
    connect(m_rowMenu, &QMenu::aboutToShow, this, &CMainFrame::UpdateEditActions);
}

void CMainFrame::UpdateEditActions()
{
    const CEditHistory& history = m_app.Doc().History();
    const auto name = [](const EditStep& step) {
        return FormatLangText(LoadLangString(step.key), std::to_string(step.number));
    };
    const auto label = [](QAction* action, bool can, const char* namedKey, const char* plainKey,
                          const std::function<std::string()>& stepName) {
        action->setEnabled(can);
        action->setText(QString::fromStdString(can ? FormatLangText(LoadLangString(namedKey), stepName())
                                                   : LoadLangString(plainKey)));
    };
    label(Action(cmd::EditUndo), history.CanUndo(), "IDS_EDIT_UNDO", "Menu_Edit_Undo",
          [&] { return name(history.UndoStep()); });
    label(Action(cmd::EditRedo), history.CanRedo(), "IDS_EDIT_REDO", "Menu_Edit_Redo",
          [&] { return name(history.RedoStep()); });

    CChannelTablePage* page = m_view->ChannelPage();
    const bool shown = page && m_view->TabCtrl()->currentWidget() == page;
    const bool rows = shown && !page->SelectedChannels().empty();
    for (int command : {cmd::EditCut, cmd::EditCopy, cmd::EditInsertChannel, cmd::EditDeleteChannels})
        Action(command)->setEnabled(rows);
    Action(cmd::EditPaste)->setEnabled(shown);
    Action(cmd::EditSelectAll)->setEnabled(shown);
    Action(cmd::EditMoveUp)->setEnabled(shown && page->CanMove(-1));
    Action(cmd::EditMoveDown)->setEnabled(shown && page->CanMove(+1));
}

void CMainFrame::CreateToolBar()
{
    m_toolBar = addToolBar(QStringLiteral("Standard"));
    m_toolBar->setObjectName(QStringLiteral("toolbar128"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int command : {cmd::FileNew, cmd::FileOpen, cmd::FileSave, 0, cmd::EditUndo, cmd::EditRedo, 0,
                        cmd::ReadFromRadio, cmd::WriteToRadio, 0, cmd::FilePrint, 0}) {
        if (command == 0)
            m_toolBar->addSeparator();
        else
            m_toolBar->addAction(Action(command));
    }
    // Next language exists only on the toolbar.
    QAction* next = AddCommand(nullptr, cmd::NextLanguage, "");
    connect(next, &QAction::triggered, &m_app, &CVantorApp::OnNextLanguage);
    m_toolBar->addAction(next);
    m_toolBar->addAction(Action(cmd::HelpContents));
}

void CMainFrame::CreateStatusBar()
{
    // Pane 0 shows the port, sized for its initial text "COMX"; pane 1 is the Num Lock indicator.
    m_portPane = new QLabel(QStringLiteral("COMX"), this);
    m_portPane->setMinimumWidth(m_portPane->sizeHint().width() + 8);
    m_portPane->setAlignment(Qt::AlignCenter);
    m_numLockPane = new QLabel(this);
    m_numLockPane->setMinimumWidth(m_numLockPane->fontMetrics().horizontalAdvance(QStringLiteral("NUM")) +
                                   12);
    m_numLockPane->setAlignment(Qt::AlignCenter);
    statusBar()->addWidget(m_portPane);
    statusBar()->addPermanentWidget(m_numLockPane);
}

QAction* CMainFrame::Action(int command) const
{
    QList<QAction*> all = AllActions(menuBar()->actions());
    all.append(m_toolBar ? m_toolBar->actions() : QList<QAction*>{});
    for (QAction* a : all) {
        if (a->data().isValid() && a->data().toInt() == command)
            return a;
    }
    return nullptr;
}

void CMainFrame::InitialUpdateFrame()
{
    m_view->OnInitialUpdate();
    if (CChannelTablePage* page = m_view->ChannelPage()) {
        connect(page, &CChannelTablePage::RowsChanged, this, &CMainFrame::UpdateEditActions);
        connect(page, &CChannelTablePage::ContextMenuRequested, m_rowMenu,
                [this](const QPoint& at) { m_rowMenu->popup(at); });
        connect(m_view->TabCtrl(), &QTabWidget::currentChanged, this, &CMainFrame::UpdateEditActions);
    }
    UpdateEditActions();
    // Shrink the window to the form where the form is smaller; never enlarge it. The room that
    // menu, toolbar and status bar take is known only once the layout has placed them.
    layout()->activate();
    const QSize chrome = size() - centralWidget()->size();
    const QSize fit = m_view->sizeHint() + chrome;
    resize(std::min(width(), fit.width()), std::min(height(), fit.height()));
}

void CMainFrame::ShowPortInStatusBar(int port)
{
    m_portPane->setText(QStringLiteral("COM%1").arg(port));
}

QString CMainFrame::PortText() const
{
    return m_portPane->text();
}

void CMainFrame::UpdateRecentFileMenu()
{
    for (QAction* a : m_recentActions)
        m_fileMenu->removeAction(a);
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    const QStringList files = m_app.RecentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString shown =
            fontMetrics().elidedText(QDir::toNativeSeparators(files[i]), Qt::ElideMiddle, 400);
        auto* a = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), this);
        a->setData(cmd::FileMru1 + i);
        const QString path = files[i];
        connect(a, &QAction::triggered, &m_app, [this, path] { m_app.OpenDocumentFile(path); });
        m_fileMenu->insertAction(m_recentSeparator, a);
        m_recentActions.append(a);
    }
}

QString CMainFrame::ToolTipText(int command)
{
    if (command == 0)
        return {};
    QString text = QString::fromStdString(LoadLangString("IDS_TIP_" + std::to_string(command)));
    if (text.size() > kToolTipLimit) {
        // Never keep half of a character outside the basic plane.
        const int cut = text.at(kToolTipLimit - 1).isHighSurrogate() ? kToolTipLimit - 1 : kToolTipLimit;
        text.truncate(cut);
    }
    return text;
}

QString CMainFrame::HelpFilePath(const std::string& langFile)
{
    const std::size_t dot = langFile.rfind('.');
    return QString::fromStdString(langFile.substr(0, dot) + ".chm");
}

void CMainFrame::Transfer(bool read)
{
    CCloneProgressDlg dlg(
        m_app.Doc(), m_app.SerialPort(), read ? CloneDirection::Read : CloneDirection::Write,
        [this] {
            AutoBackup(m_app.Doc().Image(), BackupMoment::AfterRead);
            m_app.ApplyLanguage();
        },
        [this](int port) { ShowPortInStatusBar(port); }, this);
    dlg.exec();
}

void CMainFrame::OnReadFromRadio()
{
    Transfer(true);
    m_app.Doc().RecordEdit({"IDS_EDIT_READ"}, false); // a read leaves the modified flag alone
}

void CMainFrame::OnWriteToRadio()
{
    if (AutoBackup(m_app.Doc().Image(), BackupMoment::BeforeWrite))
        Transfer(false);
}

void CMainFrame::OnBackups()
{
    CBackupsDlg dlg(
        m_app.Doc(), [this](const QString& path) { return m_app.OpenDocumentFile(path); }, CBackupStore(),
        this);
    dlg.exec();
}

void CMainFrame::OnWriteSeveral()
{
    CFleetWriteDlg dlg(m_app.Doc(), m_app.SerialPort(), this);
    dlg.exec();
}

void CMainFrame::OnRadioPresets()
{
    CRadiogramDlg dlg(m_app.Doc(), this);
    dlg.exec();
    m_app.Doc().RecordEdit({"IDS_EDIT_FMPRESETS"}, false); // the dialog has set the flag
}

void CMainFrame::OnTestMode()
{
    CPasswordDlg dlg(m_app.Doc(), m_app.SerialPort(), this);
    dlg.SetFileCommands({[this] { m_app.OnFileOpen(); }, [this] { m_app.OnFileSave(); }});
    dlg.exec();
}

void CMainFrame::OnHelpContents()
{
    // A missing file is left to the desktop's viewer to report.
    QDesktopServices::openUrl(QUrl::fromLocalFile(HelpFilePath(g_strLangFile)));
}

bool CMainFrame::TranslateAccelerator(QObject* receiver, const QKeyEvent& key)
{
    auto* widget = qobject_cast<QWidget*>(receiver);
    // The focus widget decides: a key it ignores comes here again for each of its parents.
    if (!widget || widget->window() != this || !ShortcutsReach(QApplication::focusWidget()))
        return false;
    const QKeyCombination pressed(key.modifiers() & ~Qt::KeypadModifier, Qt::Key(key.key()));
    const auto run = [this, &pressed](const auto& table) {
        for (const Accelerator& a : table) {
            if (a.keys == pressed) {
                if (QAction* action = Action(a.command))
                    action->trigger(); // a disabled command does nothing
                return true;
            }
        }
        return false;
    };
    if (run(kAccelerators))
        return true;
    const CChannelTablePage* page = m_view->ChannelPage();
    return !IsTextField(widget) && !(page && page->IsEditing()) && run(kEditAccelerators);
}

void CMainFrame::UpdateNumLock(const QKeyEvent& key)
{
    // Only the X11 key state tells the Num Lock state; elsewhere the pane stays empty.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    const bool on = key.nativeModifiers() & kNumLockMask;
    m_numLockPane->setText(on ? QStringLiteral("NUM") : QString());
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        UpdateNumLock(key);
        if (TranslateAccelerator(watched, key))
            return true;
        break;
    }
    case QEvent::KeyRelease:
        UpdateNumLock(static_cast<const QKeyEvent&>(*event));
        break;
    case QEvent::ToolTip: {
        // Toolbar tooltips are looked up in the current language each time they show.
        auto* button = qobject_cast<QToolButton*>(watched);
        if (button && button->parentWidget() == m_toolBar && button->defaultAction()) {
            const QString text = ToolTipText(button->defaultAction()->data().toInt());
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, button);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_app.SaveModified())
        event->accept();
    else
        event->ignore();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    // Each dropped file is opened in turn, as if chosen from File Open; a cancelled question stops.
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile() && !m_app.OpenDocumentFile(url.toLocalFile()))
            break;
    }
    event->acceptProposedAction();
}
