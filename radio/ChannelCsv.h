#pragma once
// Channel lists as CSV in the layout radio programming tools commonly exchange:
// Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,
// CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE.
// Columns are found by their header name, so older files with fewer columns and files whose columns
// were reordered in a spreadsheet read the same. Each imported row is typed into the channel
// through the channel table's own rules (CChannelEditor): the columns the file has, nothing else.

#include <string>
#include <vector>

class CVantorDoc;

// Why a row was not stored (Rejected) or was stored differently from what the file said (Adjusted).
// %1 and %2 in the texts stand for CsvRowNote::value and value2.
enum class CsvReason
{
    // Rejected
    BadLocation,       // %1 the Location field
    DuplicateLocation, // %1 channel number, %2 the line that gave it first
    BadFrequency,      // %1 the Frequency field
    BadDuplex,         // %1 the Duplex field
    BadOffset,         // %1 the Offset field
    OffsetTooLarge,    // %1 the Offset field
    BadToneMode,       // %1 the Tone field
    BadCrossMode,      // %1 the CrossMode field
    BadCtcss,          // %1 the tone frequency field
    BadDcs,            // %1 the DCS code field
    BadPolarity,       // %1 the DtcsPolarity field
    BadMode,           // %1 the Mode field
    BadSkip,           // %1 the Skip field
    BadPower,          // %1 the Power field
    ExtraFields,       // %1 fields in the row, %2 columns of the header
    Unterminated,      // a quoted field runs to the end of the file
                       // Adjusted
    RxOutOfBand,       // %1 as given, %2 as stored
    RxMoved,           // %1 as given, %2 as stored (channel raster)
    TxOutOfBand,       // %1 as given, %2 as stored
    TxMoved,           // %1 as given, %2 as stored
    TxToneDropped,     // %1 the transmit tone of a receive-only channel
    NameChanged,       // %1 as given, %2 as stored
};

struct CsvRowNote
{
    int line = 0; // line of the file where the row starts; the header is line 1
    CsvReason reason = CsvReason::BadLocation;
    std::string value;
    std::string value2;
};

struct CsvImportReport
{
    bool headerFound = false;         // false: the text has no header naming Location and Frequency
    int imported = 0;                 // rows stored
    std::vector<CsvRowNote> rejected; // rows not stored
    std::vector<CsvRowNote> adjusted; // rows stored with a value the radio had to change
    int leftOut = 0;                  // rows of a paste that found no channel after 128
};

class CChannelCsv final
{
public:
    explicit CChannelCsv(CVantorDoc& doc) : m_doc(doc) {}

    // One row per channel in use, comma separated with '.' decimals, "\n" line ends.
    std::string Export() const;

    // Reads comma or semicolon separated text with '.' or ',' decimals (a leading UTF-8 byte order
    // mark is skipped). Each row replaces what its columns say of the channel at its Location; an
    // empty channel is cleared first, so the settings the file does not carry (BCL, reverse, PTT ID,
    // compander) start from a deleted channel's, while a channel in use keeps them. Channels the
    // file does not name stay as they are. A row is stored whole or not at all. The caller sets the
    // modified flag and updates the views when `imported` is not 0.
    CsvImportReport Import(const std::string& text);

    // The channels, in the order given, as tab-separated text under the export's header line, for
    // the clipboard; an empty channel is a row with its Location alone.
    std::string Copy(const std::vector<int>& channels) const;

    // Reads text as Import does, tab separated as well, but stores the rows into consecutive
    // channels from `firstChannel` whatever their Location (the header need not have one). A row
    // whose fields besides the Location are all blank empties its channel; a refused row leaves its
    // channel as it was; rows after channel 128 are counted in `leftOut`.
    CsvImportReport Paste(const std::string& text, int firstChannel);

    // "line 5: ..." in English, for the command line; the program shows its language file's texts.
    static std::string NoteText(const CsvRowNote& note);
    // The English template of a reason, with %1 and %2.
    static const char* ReasonTemplate(CsvReason reason);
    static const char* NoHeaderText();

    // The whole text of a CSV file into `text`. False when it cannot be opened or read (a folder, a
    // device that fails); an empty file is read and goes on to the header check.
    static bool ReadFile(const std::string& path, std::string& text);

private:
    std::string ExportRows(const std::vector<int>& channels, char separator) const;
    CsvImportReport Store(const std::string& text, int firstChannel);

    CVantorDoc& m_doc;
};

// Puts value and value2 into a template in place of %1 and %2.
std::string FormatCsvNote(const std::string& templ, const CsvRowNote& note);
