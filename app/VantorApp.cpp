#include "app/VantorApp.h"

#include "app/AboutDlg.h"
#include "app/AppPaths.h"
#include "app/FileDialogs.h"
#include "app/MainFrame.h"
#include "app/MessageBox.h"
#include "i18n/LangText.h"
#include "i18n/LanguageDlg.h"
#include "i18n/LanguageFiles.h"
#include "i18n/QtTranslations.h"
#include "i18n/RelabelMenus.h"
#include "link/PortDlg.h"
#include "res/IconPainter.h"

#include <QApplication>
#include <QFileInfo>
#include <QMenuBar>
#include <QSettings>
#include <utility>

namespace {

const char* const kRecentGroup = "Recent File List";

QSettings RecentFileStore()
{
    return QSettings(QString::fromLatin1(CVantorApp::kRegistryKey), QStringLiteral("zq708-cps"));
}

} // namespace

CVantorApp::CVantorApp()
{
    m_doc.SetSavePathPrompt([this](const std::string& current) { return AskSavePath(current); });
}

CVantorApp::~CVantorApp()
{
    m_pMainWnd.reset();
    m_serialPort.Close();
}

bool CVantorApp::InitInstance(const std::string& appDir, const QStringList& args)
{
    InitAppPaths(appDir);
    if (!SettingFileExists()) {
        ShowMessage(QCoreApplication::applicationName().toStdString(), "Can not find the file setting.ini!",
                    MsgIcon::Stop, MsgButtons::Ok);
        return false;
    }
    SetLanguage(DefaultLanguageName());
    LoadQtTranslations();
    m_bSkipClearPrompt = true;
    LoadRecentFileList();

    QApplication::setWindowIcon(CIconPainter::ProgramIcon());
    m_pMainWnd = std::make_unique<CMainFrame>(*this);
    OnFileNew();
    m_pMainWnd->InitialUpdateFrame();
    // A file that cannot be opened is reported and leaves the new document in place.
    if (!args.isEmpty())
        OpenDocumentFile(args.constFirst());

    m_pMainWnd->show();
    m_pMainWnd->setWindowTitle(QString::fromStdString(LoadLangString("IDS_WINDOWNAME")));
    return true;
}

bool CVantorApp::SaveModified()
{
    return m_doc.SaveModified([] {
        return ShowMessage(LoadLangString("IDS_PROMPT"), LoadLangString("IDS_WARN_MODIFIED"),
                           MsgIcon::Exclamation, MsgButtons::YesNoCancel);
    });
}

bool CVantorApp::OpenDocumentFile(const QString& path)
{
    if (!SaveModified())
        return false;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const bool opened = m_doc.OnOpenDocument(absolute.toStdString());
    // A file that is not a data file of this radio is not the document's path and not listed.
    if (opened && m_doc.GetPathName() == absolute.toStdString())
        AddToRecentFileList(absolute);
    else
        RemoveFromRecentFileList(absolute);
    return opened;
}

void CVantorApp::ApplyLanguage()
{
    LoadQtTranslations();
    if (m_pMainWnd) {
        RelabelMenus(m_pMainWnd->menuBar());
        m_pMainWnd->UpdateEditActions();
    }
    m_doc.LoadBandLimits();
    m_doc.UpdateAllViews();
}

void CVantorApp::OnFileNew()
{
    if (!SaveModified())
        return;
    const bool askClear = !std::exchange(m_bSkipClearPrompt, false);
    m_doc.OnNewDocument(askClear);
}

void CVantorApp::OnFileOpen()
{
    const QString path = AskDataFilePath(m_pMainWnd.get(), FileDialogKind::Open, {});
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CVantorApp::OnFileSave()
{
    if (m_doc.Save())
        AddToRecentFileList(QString::fromStdString(m_doc.GetPathName()));
}

void CVantorApp::OnFileSaveAs()
{
    if (m_doc.SaveAs())
        AddToRecentFileList(QString::fromStdString(m_doc.GetPathName()));
}

std::optional<std::string> CVantorApp::AskSavePath(const std::string& currentPath)
{
    // A document without a path is proposed under the name "Item".
    const QString proposed =
        currentPath.empty() ? QStringLiteral("Item.pgm") : QString::fromStdString(currentPath);
    QString path = AskDataFilePath(m_pMainWnd.get(), FileDialogKind::SaveAs, proposed);
    if (path.isEmpty())
        return std::nullopt;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pgm");
    return QFileInfo(path).absoluteFilePath().toStdString();
}

void CVantorApp::OnCommPort()
{
    CPortDlg dlg(
        m_serialPort, [this](int port) { m_pMainWnd->ShowPortInStatusBar(port); }, m_pMainWnd.get());
    dlg.exec();
}

void CVantorApp::OnLanguage()
{
    CLanguageDlg dlg([this] { ApplyLanguage(); }, m_pMainWnd.get());
    dlg.exec();
}

void CVantorApp::OnNextLanguage()
{
    NextLanguage([this] { ApplyLanguage(); });
}

void CVantorApp::OnAppAbout()
{
    CAboutDlg dlg(m_pMainWnd.get());
    dlg.exec();
}

void CVantorApp::LoadRecentFileList()
{
    QSettings store = RecentFileStore();
    store.beginGroup(QString::fromLatin1(kRecentGroup));
    m_recentFiles.clear();
    for (int i = 1; i <= kMaxRecentFiles; ++i) {
        const QString path = store.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty() && !m_recentFiles.contains(path))
            m_recentFiles.append(path);
    }
}

void CVantorApp::SaveRecentFileList() const
{
    QSettings store = RecentFileStore();
    store.remove(QString::fromLatin1(kRecentGroup));
    store.beginGroup(QString::fromLatin1(kRecentGroup));
    for (int i = 0; i < m_recentFiles.size(); ++i)
        store.setValue(QStringLiteral("File%1").arg(i + 1), m_recentFiles[i]);
}

void CVantorApp::AddToRecentFileList(const QString& path)
{
    if (path.isEmpty())
        return;
    m_recentFiles.removeAll(path);
    m_recentFiles.prepend(path);
    while (m_recentFiles.size() > kMaxRecentFiles)
        m_recentFiles.removeLast();
    SaveRecentFileList();
    if (m_pMainWnd)
        m_pMainWnd->UpdateRecentFileMenu();
}

void CVantorApp::RemoveFromRecentFileList(const QString& path)
{
    if (m_recentFiles.removeAll(path) == 0)
        return;
    SaveRecentFileList();
    if (m_pMainWnd)
        m_pMainWnd->UpdateRecentFileMenu();
}
