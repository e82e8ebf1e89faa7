#pragma once
// The main window: menu, toolbar, status bar and the editor view; receives the commands of the
// menu, the toolbar and the keyboard shortcuts.

#include <QMainWindow>
#include <QString>

class CVantorApp;
class CVantorView;
class QAction;
class QLabel;
class QMenu;
class QToolBar;

class CMainFrame final : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int kMaxWidth = 1000;
    static constexpr int kMaxHeight = 600;

    explicit CMainFrame(CVantorApp& app);
    // Closes the serial port before the window goes.
    ~CMainFrame() override;

    CVantorView* View() const { return m_view; }
    QToolBar* ToolBar() const { return m_toolBar; }
    // The menu or toolbar action of a command number, or nullptr.
    QAction* Action(int command) const;

    // Creates the pages on the first document and fits the window to the form (never enlarging it).
    void InitialUpdateFrame();
    void ShowPortInStatusBar(int port);
    QString PortText() const;
    // Rebuilds the recent-file entries of the File menu.
    void UpdateRecentFileMenu();
    // Names Undo and Redo after their actions and enables the Edit commands that have something
    // to act on (the row commands only while the channel table is shown).
    void UpdateEditActions();
    // The channel table's right-click menu: the row commands of the Edit menu.
    QMenu* RowMenu() const { return m_rowMenu; }

    // The toolbar tooltip of a command: "IDS_TIP_<command>" cut to 19 characters.
    static QString ToolTipText(int command);
    // The help file of a language file: its path up to the last "." followed by ".chm".
    static QString HelpFilePath(const std::string& langFile);

    void OnReadFromRadio();
    void OnWriteToRadio();
    void OnBackups();
    void OnWriteSeveral();
    void OnRadioPresets();
    void OnTestMode();
    void OnHelpContents();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateMenus();
    void CreateEditMenu();
    void CreateToolBar();
    void CreateStatusBar();
    QAction* AddCommand(QMenu* menu, int command, const char* builtInText);
    void Transfer(bool read);
    // A key of the accelerator table pressed anywhere inside this window runs its command, except
    // inside a page that keeps its keys (the VFO page).
    bool TranslateAccelerator(QObject* receiver, const QKeyEvent& key);
    void UpdateNumLock(const QKeyEvent& key);

    CVantorApp& m_app;
    CVantorView* m_view = nullptr;
    QToolBar* m_toolBar = nullptr;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_rowMenu = nullptr;
    QAction* m_recentSeparator = nullptr; // the recent files go just before it
    QList<QAction*> m_recentActions;
    QLabel* m_portPane = nullptr;
    QLabel* m_numLockPane = nullptr;
};
