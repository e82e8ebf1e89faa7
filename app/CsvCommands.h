#pragma once
// The File menu's channel list commands: export the channels in use to a CSV file, and import one
// through the channel table's store rules with a message listing the rows that were not imported.

#include <QObject>
#include <string>

class CVantorDoc;
struct CsvImportReport;
class QWidget;

class CCsvCommands final : public QObject
{
    Q_OBJECT
public:
    // At most this many rows of each kind are listed in the message; the rest are counted.
    static constexpr int kMaxListedRows = 20;

    explicit CCsvCommands(CVantorDoc& doc, QWidget* parent);

    void OnImportCsv();
    void OnExportCsv();

    // The message after an import (or a paste of channel rows): the count, then the rows not stored
    // and those stored with a changed value, each with its line and reason in the current
    // language, then how many rows of a paste found no channel.
    static std::string ReportText(const CsvImportReport& report, bool paste = false);

private:
    CVantorDoc& m_doc;
    QWidget* m_parent;
};
