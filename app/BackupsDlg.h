#pragma once
// File > Backups: lists the automatic backups (date, what happened, band, channels in use, first
// channel names), opens one as File > Open would, or shows in words how it differs from the
// program's memory.

#include "app/BackupStore.h"

#include <QDialog>
#include <functional>
#include <vector>

class CVantorDoc;
class QPlainTextEdit;
class QTreeWidget;

class CBackupsDlg final : public QDialog
{
    Q_OBJECT
public:
    // Columns of the list.
    enum Column
    {
        kDate,
        kKind,
        kBand,
        kChannels,
        kNames,
        kColumnCount
    };

    // `openFile` opens a data file as File > Open does (asking first whether to save changes); false
    // when it was not opened.
    CBackupsDlg(CVantorDoc& doc, std::function<bool(const QString&)> openFile,
                CBackupStore store = CBackupStore(), QWidget* parent = nullptr);
    ~CBackupsDlg() override;

private:
    void FillList();
    const BackupEntry* Selected() const;
    void OnSelectionChanged();
    void OnOpen();
    void OnCompare();

    CVantorDoc& m_doc;
    std::function<bool(const QString&)> m_openFile;
    CBackupStore m_store;
    std::vector<BackupEntry> m_entries;
    QTreeWidget* m_list = nullptr;
    QPlainTextEdit* m_differences = nullptr;
};
