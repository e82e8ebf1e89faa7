#include "app/BackupsDlg.h"

#include "i18n/LangText.h"
#include "i18n/RelabelDialog.h"
#include "radio/ImageDiff.h"
#include "radio/VantorDoc.h"
#include "res/DialogBuilder.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

namespace {

QString Lang(const char* key)
{
    return QString::fromStdString(LoadLangString(key));
}

// The words for what happened; a kind this version does not know is shown as it is named.
QString KindText(const std::string& kind)
{
    if (kind == "read")
        return Lang("IDS_BACKUP_KIND_READ");
    if (kind == "written")
        return Lang("IDS_BACKUP_KIND_WRITTEN");
    return QString::fromStdString(kind);
}

} // namespace

CBackupsDlg::CBackupsDlg(CVantorDoc& doc, std::function<bool(const QString&)> openFile, CBackupStore store,
                         QWidget* parent)
    : QDialog(parent), m_doc(doc), m_openFile(std::move(openFile)), m_store(std::move(store))
{
    CDialogBuilder::Build(this, g_dlgBackups, [](int id, QWidget* parent) -> QWidget* {
        if (id == idc::backups::List)
            return new QTreeWidget(parent);
        auto* text = new QPlainTextEdit(parent);
        text->setReadOnly(true);
        return text;
    });
    m_list = GetDlgItemAs<QTreeWidget>(this, idc::backups::List);
    m_differences = GetDlgItemAs<QPlainTextEdit>(this, idc::backups::Differences);
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(kColumnCount);
    m_list->setHeaderLabels({Lang("IDS_BACKUP_COL_DATE"), Lang("IDS_BACKUP_COL_KIND"),
                             Lang("IDS_BACKUP_COL_BAND"), Lang("IDS_BACKUP_COL_CHANNELS"),
                             Lang("IDS_BACKUP_COL_NAMES")});
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &CBackupsDlg::OnSelectionChanged);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &CBackupsDlg::OnOpen);
    connect(GetDlgItemAs<QPushButton>(this, idc::backups::Open), &QPushButton::clicked, this,
            &CBackupsDlg::OnOpen);
    connect(GetDlgItemAs<QPushButton>(this, idc::backups::Compare), &QPushButton::clicked, this,
            &CBackupsDlg::OnCompare);
    connect(GetDlgItemAs<QPushButton>(this, idc::backups::Close), &QPushButton::clicked, this,
            &CBackupsDlg::reject);
    RelabelDialog(this, g_dlgBackups.id);
    auto* folder = GetDlgItemAs<QLabel>(this, idc::backups::Folder);
    folder->setText(QString::fromStdString(FormatLangText(folder->text().toStdString(), m_store.Folder())));
    FillList();
}

CBackupsDlg::~CBackupsDlg() = default;

void CBackupsDlg::FillList()
{
    m_entries = m_store.List();
    for (const BackupEntry& entry : m_entries) {
        const BackupSummary summary = SummarizeBackup(entry.path);
        QStringList names;
        for (const std::string& name : summary.names)
            names << QString::fromStdString(name);
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(kDate, QDateTime::fromSecsSinceEpoch(entry.time).toString(u"yyyy-MM-dd HH:mm:ss"_s));
        item->setText(kKind, KindText(entry.kind));
        item->setText(kBand,
                      summary.loaded ? QString::fromStdString(summary.band) : Lang("IDS_BACKUP_UNREADABLE"));
        item->setText(kChannels, summary.loaded ? QString::number(summary.channels) : QString());
        item->setText(kNames, names.join(u", "_s));
    }
    for (int column = 0; column < kNames; ++column)
        m_list->resizeColumnToContents(column);
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    OnSelectionChanged();
}

const BackupEntry* CBackupsDlg::Selected() const
{
    QTreeWidgetItem* item = m_list->currentItem();
    const int row = item && item->isSelected() ? m_list->indexOfTopLevelItem(item) : -1;
    return row >= 0 && static_cast<std::size_t>(row) < m_entries.size()
               ? &m_entries[static_cast<std::size_t>(row)]
               : nullptr;
}

void CBackupsDlg::OnSelectionChanged()
{
    const bool selected = Selected() != nullptr;
    GetDlgItem(this, idc::backups::Open)->setEnabled(selected);
    GetDlgItem(this, idc::backups::Compare)->setEnabled(selected);
    m_differences->clear();
}

void CBackupsDlg::OnOpen()
{
    const BackupEntry* entry = Selected();
    if (!entry || !m_openFile(QString::fromStdString(entry->path)))
        return;
    // The memory is the user's to edit now: a save asks for a file of its own, so the backup is
    // never changed and pruning never takes the user's work with it.
    m_doc.SetPathName({});
    accept();
}

void CBackupsDlg::OnCompare()
{
    const BackupEntry* entry = Selected();
    if (!entry)
        return;
    CVantorDoc backup;
    FileError error;
    if (backup.LoadFile(entry->path, error) != DataFile::LoadStatus::Loaded) {
        m_differences->setPlainText(Lang("IDS_BACKUP_UNREADABLE"));
        return;
    }
    // The program's memory as a save or a write would hold it.
    CVantorDoc current;
    current.Image() = m_doc.Image();
    PrepareImageForTransfer(current.Image());
    current.LoadBandLimits();
    const std::vector<std::string> lines = CImageDiff::Compare(backup, current);
    QStringList text;
    for (const std::string& line : lines)
        text << QString::fromStdString(line);
    m_differences->setPlainText(lines.empty() ? Lang("IDS_BACKUP_SAME") : text.join(u'\n'));
}
