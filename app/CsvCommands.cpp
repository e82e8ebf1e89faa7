#include "app/CsvCommands.h"

#include "app/FileDialogs.h"
#include "app/FileSave.h"
#include "app/MessageBox.h"
#include "i18n/LangText.h"
#include "radio/ChannelCsv.h"
#include "radio/VantorDoc.h"

#include <QFileInfo>
#include <QString>
#include <QWidget>
#include <array>
#include <utility>

namespace {

// The language file's text of each reason, with %1 and %2 as the core's English ones.
constexpr std::array<std::pair<CsvReason, const char*>, 22> kReasonKeys = {{
    {CsvReason::BadLocation, "IDS_CSV_BAD_LOCATION"},
    {CsvReason::DuplicateLocation, "IDS_CSV_DUPLICATE_LOCATION"},
    {CsvReason::BadFrequency, "IDS_CSV_BAD_FREQUENCY"},
    {CsvReason::BadDuplex, "IDS_CSV_BAD_DUPLEX"},
    {CsvReason::BadOffset, "IDS_CSV_BAD_OFFSET"},
    {CsvReason::OffsetTooLarge, "IDS_CSV_OFFSET_TOO_LARGE"},
    {CsvReason::BadToneMode, "IDS_CSV_BAD_TONE_MODE"},
    {CsvReason::BadCrossMode, "IDS_CSV_BAD_CROSS_MODE"},
    {CsvReason::BadCtcss, "IDS_CSV_BAD_CTCSS"},
    {CsvReason::BadDcs, "IDS_CSV_BAD_DCS"},
    {CsvReason::BadPolarity, "IDS_CSV_BAD_POLARITY"},
    {CsvReason::BadMode, "IDS_CSV_BAD_MODE"},
    {CsvReason::BadSkip, "IDS_CSV_BAD_SKIP"},
    {CsvReason::BadPower, "IDS_CSV_BAD_POWER"},
    {CsvReason::ExtraFields, "IDS_CSV_EXTRA_FIELDS"},
    {CsvReason::Unterminated, "IDS_CSV_UNTERMINATED"},
    {CsvReason::RxOutOfBand, "IDS_CSV_RX_OUT_OF_BAND"},
    {CsvReason::RxMoved, "IDS_CSV_RX_MOVED"},
    {CsvReason::TxOutOfBand, "IDS_CSV_TX_OUT_OF_BAND"},
    {CsvReason::TxMoved, "IDS_CSV_TX_MOVED"},
    {CsvReason::TxToneDropped, "IDS_CSV_TX_TONE_DROPPED"},
    {CsvReason::NameChanged, "IDS_CSV_NAME_CHANGED"},
}};

std::string Lang(const char* key)
{
    return LoadLangString(key);
}

std::string NoteLine(const CsvRowNote& note)
{
    for (const auto& [reason, key] : kReasonKeys) {
        if (reason == note.reason)
            return FormatLangText(Lang("IDS_CSV_LINE"), std::to_string(note.line),
                                  FormatCsvNote(Lang(key), note));
    }
    return {};
}

void AppendList(std::string& text, const char* titleKey, const std::vector<CsvRowNote>& notes)
{
    if (notes.empty())
        return;
    text += "\n\n" + Lang(titleKey);
    for (std::size_t i = 0; i < notes.size() && i < static_cast<std::size_t>(CCsvCommands::kMaxListedRows);
         ++i)
        text += "\n" + NoteLine(notes[i]);
    if (notes.size() > static_cast<std::size_t>(CCsvCommands::kMaxListedRows))
        text += "\n" + FormatLangText(Lang("IDS_CSV_MORE"),
                                      std::to_string(notes.size() - CCsvCommands::kMaxListedRows));
}

} // namespace

CCsvCommands::CCsvCommands(CVantorDoc& doc, QWidget* parent) : QObject(parent), m_doc(doc), m_parent(parent)
{
}

std::string CCsvCommands::ReportText(const CsvImportReport& report, bool paste)
{
    std::string text = FormatLangText(Lang(paste ? "IDS_PASTE_PASTED" : "IDS_CSV_IMPORTED"),
                                      std::to_string(report.imported));
    AppendList(text, paste ? "IDS_PASTE_NOT_PASTED" : "IDS_CSV_NOT_IMPORTED", report.rejected);
    AppendList(text, "IDS_CSV_ADJUSTED", report.adjusted);
    if (report.leftOut > 0)
        text += "\n\n" + FormatLangText(Lang("IDS_PASTE_LEFT_OUT"), std::to_string(report.leftOut));
    return text;
}

void CCsvCommands::OnImportCsv()
{
    const QString path = AskDataFilePath(m_parent, FileDialogKind::OpenCsv, {});
    if (path.isEmpty())
        return;
    std::string text;
    if (!CChannelCsv::ReadFile(path.toStdString(), text)) {
        ShowMessage(Lang("IDS_ERROR"), Lang("IDS_CSV_READFAIL") + path.toStdString(), MsgIcon::Stop);
        return;
    }
    const CsvImportReport report = CChannelCsv(m_doc).Import(text);
    if (!report.headerFound) {
        ShowMessage(Lang("IDS_ERROR"), Lang("IDS_CSV_NOHEADER"), MsgIcon::Stop);
        return;
    }
    if (report.imported > 0) {
        m_doc.RecordEdit({"IDS_EDIT_IMPORT", report.imported});
        m_doc.UpdateAllViews();
    }
    ShowMessage(Lang("IDS_PROMPT"), ReportText(report), MsgIcon::Exclamation);
}

void CCsvCommands::OnExportCsv()
{
    // Offer the data file's name with the CSV extension.
    const std::string docPath = m_doc.GetPathName();
    const QFileInfo doc(QString::fromStdString(docPath));
    const QString proposed =
        docPath.empty() ? QStringLiteral("channels.csv")
                        : doc.path() + QLatin1Char('/') + doc.completeBaseName() + QStringLiteral(".csv");
    const QString path = AskDataFilePath(m_parent, FileDialogKind::SaveCsv, proposed);
    if (path.isEmpty())
        return;
    if (const int err = FileSave::Replace(path.toStdString(), CChannelCsv(m_doc).Export()); err != 0)
        ShowMessage(Lang("IDS_ERROR"), FileErrorText(path.toStdString(), {FileAction::Save, err}),
                    MsgIcon::Stop);
}
