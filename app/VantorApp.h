#pragma once
// The application object: owns the document, the serial port and the main window, runs start-up
// and the commands that act on the whole program (documents, port, language, About).

#include "link/SerialPort.h"
#include "radio/VantorDoc.h"

#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>
#include <string>

class CMainFrame;

class CVantorApp final : public QObject
{
    Q_OBJECT
public:
    // Key of the per-user store that keeps the recent-file list.
    static constexpr const char* kRegistryKey = "ZQ707 radio program software";
    static constexpr int kMaxRecentFiles = 4;

    CVantorApp();
    ~CVantorApp() override;

    // Start-up in the program directory `appDir` with the command-line arguments after the program
    // name (none, or one data file). False: end the process (no setting.ini).
    bool InitInstance(const std::string& appDir, const QStringList& args);

    // Opens a data file after the question whether to save a modified document. False when the
    // user cancelled or the file could not be opened.
    bool OpenDocumentFile(const QString& path);
    // Asks whether to save a modified document and saves on Yes. False: stop what was asked.
    bool SaveModified();
    // Brings every visible text in line with the current language file and refreshes the pages.
    void ApplyLanguage();

    CVantorDoc& Doc() { return m_doc; }
    CSerialPort& SerialPort() { return m_serialPort; }
    CMainFrame* MainFrame() const { return m_pMainWnd.get(); }
    const QStringList& RecentFiles() const { return m_recentFiles; }

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnCommPort();
    void OnLanguage();
    void OnNextLanguage();
    void OnAppAbout();

private:
    void LoadRecentFileList();
    void SaveRecentFileList() const;
    void AddToRecentFileList(const QString& path);
    void RemoveFromRecentFileList(const QString& path);
    std::optional<std::string> AskSavePath(const std::string& currentPath);

    CSerialPort m_serialPort;
    CVantorDoc m_doc;
    // Set at start-up so that the first empty document is made without the clear question.
    bool m_bSkipClearPrompt = false;
    QStringList m_recentFiles;
    std::unique_ptr<CMainFrame> m_pMainWnd;
};
