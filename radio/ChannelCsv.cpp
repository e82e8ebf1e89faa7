#include "radio/ChannelCsv.h"

#include "i18n/LangText.h"
#include "radio/ChannelEditor.h"
#include "radio/FrequencyCodec.h"
#include "radio/ToneList.h"
#include "radio/VantorDoc.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

using namespace ImageMap;

namespace {

enum Column
{
    kLocation,
    kName,
    kFrequency,
    kDuplex,
    kOffset,
    kTone,
    kRToneFreq,
    kCToneFreq,
    kDtcsCode,
    kDtcsPolarity,
    kRxDtcsCode,
    kCrossMode,
    kMode,
    kTStep,
    kSkip,
    kPower,
    kComment,
    kUrcall,
    kRpt1Call,
    kRpt2Call,
    kDvCode,
    kColumnCount
};

constexpr std::array<const char*, kColumnCount> kColumnNames = {
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

// What the other tools write into the tone columns a row does not use.
constexpr char kDefaultTone[] = "88.5";
constexpr char kDefaultDcs[] = "023";
constexpr char kDefaultCross[] = "Tone->Tone";

// The channel choices the file carries: their column and its words for 0 and 1, read in any case.
struct CsvChoice
{
    Column column;
    ChannelChoice choice;
    const char* words[2];
    const char* alsoOne; // another word read as 1, or nothing
    CsvReason bad;       // a word that is none of them
};
// Skip "P" (priority scan) still scans the channel: the radio has no priority.
constexpr CsvChoice kCsvChoices[] = {
    {kMode, ChannelChoice::Bandwidth, {"FM", "NFM"}, nullptr, CsvReason::BadMode},
    {kSkip, ChannelChoice::ScanAdd, {"S", ""}, "P", CsvReason::BadSkip},
    {kPower, ChannelChoice::Power, {"Low", "High"}, nullptr, CsvReason::BadPower},
};

std::string Trim(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    return text.substr(begin, end - begin);
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool SameWord(const std::string& a, const char* b)
{
    return Upper(Trim(a)) == Upper(b);
}

// ---- Reading CSV ----

struct Record
{
    int line = 0;
    std::vector<std::string> fields;
    bool unterminated = false;
};

// The separator of the header line: the most frequent of ',', ';' and tab outside quotes (',' when
// none is more frequent).
char DetectSeparator(const std::string& text, std::size_t from)
{
    constexpr char kSeparators[] = {',', ';', '\t'};
    int counts[std::size(kSeparators)] = {};
    bool quoted = false;
    for (std::size_t i = from; i < text.size() && (quoted || (text[i] != '\n' && text[i] != '\r')); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        for (std::size_t k = 0; k < std::size(kSeparators); ++k)
            if (!quoted && text[i] == kSeparators[k])
                ++counts[k];
    }
    return kSeparators[std::max_element(std::begin(counts), std::end(counts)) - std::begin(counts)];
}

// Splits the text into records; quoted fields may hold separators, doubled quotes and line breaks.
std::vector<Record> ReadRecords(const std::string& text, std::size_t from, char separator)
{
    std::vector<Record> records;
    int line = 1;
    std::size_t i = from;
    while (i < text.size()) {
        Record record;
        record.line = line;
        std::string field;
        bool quoted = false;
        bool wasQuoted = false;
        for (;; ++i) {
            if (i >= text.size()) {
                record.unterminated = quoted;
                break;
            }
            const char c = text[i];
            if (quoted) {
                if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else if (c == '"') {
                    quoted = false;
                } else {
                    if (c == '\n')
                        ++line;
                    field += c;
                }
            } else if (c == '"' && !wasQuoted && Trim(field).empty()) {
                quoted = wasQuoted = true;
                field.clear();
            } else if (c == separator) {
                record.fields.push_back(std::move(field));
                field.clear();
                wasQuoted = false;
            } else if (c == '\n' || c == '\r') {
                if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
                ++i;
                ++line;
                break;
            } else {
                field += c;
            }
        }
        record.fields.push_back(std::move(field));
        records.push_back(std::move(record));
    }
    return records;
}

// Whether every field but the one at `except` (-1: none) is blank.
bool IsBlankBeside(const Record& record, int except)
{
    for (std::size_t f = 0; f < record.fields.size(); ++f)
        if (static_cast<int>(f) != except && !Trim(record.fields[f]).empty())
            return false;
    return true;
}

bool IsBlank(const Record& record)
{
    return IsBlankBeside(record, -1);
}

// A decimal number as text with '.' ("145,5" reads as "145.5"), or nothing when it is not one.
std::optional<std::string> Decimal(const std::string& field)
{
    std::string text = Trim(field);
    if (text.find('.') == std::string::npos)
        std::replace(text.begin(), text.end(), ',', '.');
    bool digits = false;
    bool point = false;
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)))
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    return text;
}

// Tenths of a decimal text: "88.5" and "88.50" are 885; finer digits that are not 0 make it no tone.
std::optional<int> Tenths(const std::string& decimal)
{
    const std::size_t point = decimal.find('.');
    const std::string whole = decimal.substr(0, point);
    const std::string fraction = point == std::string::npos ? std::string() : decimal.substr(point + 1);
    if (whole.size() > 4 || fraction.find_first_not_of('0', 1) != std::string::npos)
        return std::nullopt;
    return (whole.empty() ? 0 : std::stoi(whole)) * 10 + (fraction.empty() ? 0 : fraction[0] - '0');
}

// ---- Tones ----

int CtcssIndex(const std::string& field)
{
    const std::optional<std::string> decimal = Decimal(field);
    const std::optional<int> tenths = decimal ? Tenths(*decimal) : std::nullopt;
    for (int i = ToneList::kFirstCtcss; i < ToneList::kFirstDcsNormal; ++i) {
        if (Tenths(ToneList::Text(i)) == tenths)
            return i;
    }
    return -1;
}

// The list index of a DCS code ("23" and "023" alike) with polarity 'N' or 'R'.
int DcsIndex(const std::string& field, char polarity)
{
    std::string code = Trim(field);
    if (code.empty() || code.size() > 3 || code.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    code.insert(0, 3 - code.size(), '0');
    for (int i = ToneList::kFirstDcsNormal; i < ToneList::kFirstDcsInverted; ++i) {
        if (ToneList::Text(i).substr(1, 3) == code)
            return polarity == 'R' ? i + ToneList::kDcsCount : i;
    }
    return -1;
}

bool IsCtcss(int index)
{
    return index >= ToneList::kFirstCtcss && index < ToneList::kFirstDcsNormal;
}

bool IsDcs(int index)
{
    return index >= ToneList::kFirstDcsNormal && index < ToneList::kCount;
}

std::string DcsCode(int index)
{
    return ToneList::Text(index).substr(1, 3);
}

char Polarity(int index)
{
    return index >= ToneList::kFirstDcsInverted ? 'R' : 'N';
}

// The tone columns of a channel: Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity, RxDtcsCode, CrossMode.
struct ToneColumns
{
    std::string mode;
    std::string rTone = kDefaultTone;
    std::string cTone = kDefaultTone;
    std::string dtcs = kDefaultDcs;
    std::string polarity = "NN"; // transmit side, then receive side
    std::string rxDtcs = kDefaultDcs;
    std::string cross = kDefaultCross;
};

ToneColumns ExportTones(int rx, int tx)
{
    ToneColumns t;
    if (IsCtcss(tx))
        t.rTone = ToneList::Text(tx);
    if (IsCtcss(rx))
        t.cTone = ToneList::Text(rx);
    if (IsDcs(tx))
        t.dtcs = DcsCode(tx);
    if (IsDcs(rx))
        t.rxDtcs = DcsCode(rx);
    t.polarity = {IsDcs(tx) ? Polarity(tx) : 'N', IsDcs(rx) ? Polarity(rx) : 'N'};

    if (rx == 0 && tx == 0)
        return t; // no tone: the mode stays empty
    if (rx == 0 && IsCtcss(tx)) {
        t.mode = "Tone";
    } else if (IsCtcss(rx) && rx == tx) {
        t.mode = "TSQL";
    } else if (IsDcs(rx) && IsDcs(tx) && DcsCode(rx) == DcsCode(tx)) {
        t.mode = "DTCS";
    } else {
        t.mode = "Cross";
        const auto side = [](int index) { return index == 0 ? "" : IsCtcss(index) ? "Tone" : "DTCS"; };
        t.cross = std::string(side(tx)) + "->" + side(rx);
    }
    return t;
}

// ---- Writing CSV ----

// The word of a choice column for channel n.
const char* ChoiceWord(const CVantorDoc& doc, int n, Column column)
{
    const CsvChoice* c = std::find_if(std::begin(kCsvChoices), std::end(kCsvChoices),
                                      [column](const CsvChoice& choice) { return choice.column == column; });
    return c->words[doc.GetChoice(n, c->choice)];
}

// A channel name as a field: quoted when it starts or ends with a blank, which spreadsheets drop.
// Names hold only letters, digits, blanks and - _ + *, never a separator or a quote.
std::string CsvField(const std::string& name)
{
    const bool quote = !name.empty() && (name.front() == ' ' || name.back() == ' ');
    return quote ? '"' + name + '"' : name;
}

// Megahertz with six decimals: 145.500000.
std::string Mhz6(std::int32_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%d.%06d", value / 100000, value % 100000 * 10);
    return text;
}

} // namespace

std::string CChannelCsv::Export() const
{
    std::vector<int> inUse;
    for (int n = kFirstChannel; n <= kLastChannel; ++n)
        if (!m_doc.IsRecordEmpty(n))
            inUse.push_back(n);
    return ExportRows(inUse, ',');
}

std::string CChannelCsv::Copy(const std::vector<int>& channels) const
{
    return ExportRows(channels, '\t');
}

std::string CChannelCsv::ExportRows(const std::vector<int>& channels, char separator) const
{
    const CChannelEditor editor(m_doc);
    const std::string sep(1, separator);
    std::string out;
    for (std::size_t c = 0; c < kColumnNames.size(); ++c)
        out += (c == 0 ? "" : sep) + kColumnNames[c];
    out += "\n";
    for (int n : channels) {
        if (m_doc.IsRecordEmpty(n)) {
            out += std::to_string(n) + std::string(kColumnCount - 1, separator) + "\n";
            continue;
        }
        const std::string rxText = editor.RxText(n);
        const std::string txText = editor.TxText(n);
        const std::int32_t rx = ParseFrequency(rxText);
        const std::int32_t tx = ParseFrequency(txText);
        std::string duplex;
        std::int32_t offset = 0;
        if (txText.empty()) {
            duplex = "off";
        } else if (tx != rx) {
            duplex = tx < rx ? "-" : "+";
            offset = tx < rx ? rx - tx : tx - rx;
        }
        // A receive-only channel has no transmit tone to offer.
        const int txTone = txText.empty() ? 0 : m_doc.ToneIndex(n, ToneDir::Tx);
        const ToneColumns tones = ExportTones(m_doc.ToneIndex(n, ToneDir::Rx), txTone);

        const std::array<std::string, kColumnCount> row = {std::to_string(n),
                                                           CsvField(CVantorDoc::DecodeName(m_doc.GetName(n))),
                                                           Mhz6(rx),
                                                           duplex,
                                                           Mhz6(offset),
                                                           tones.mode,
                                                           tones.rTone,
                                                           tones.cTone,
                                                           tones.dtcs,
                                                           tones.polarity,
                                                           tones.rxDtcs,
                                                           tones.cross,
                                                           ChoiceWord(m_doc, n, kMode),
                                                           "5.00",
                                                           ChoiceWord(m_doc, n, kSkip),
                                                           ChoiceWord(m_doc, n, kPower),
                                                           "",
                                                           "",
                                                           "",
                                                           "",
                                                           ""};
        for (std::size_t c = 0; c < row.size(); ++c)
            out += (c == 0 ? "" : sep) + row[c];
        out += "\n";
    }
    return out;
}

namespace {

// The records of the text, each with the line of the file it starts on. A leading byte order mark
// and blank lines before the header are passed over; the separator is the header's.
std::vector<Record> ReadTable(const std::string& input)
{
    std::size_t from = input.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    int line = 1;
    while (from < input.size() && (input[from] == '\n' || input[from] == '\r' || input[from] == ' ')) {
        if (input[from] == '\n')
            ++line;
        ++from;
    }
    std::vector<Record> records = ReadRecords(input, from, DetectSeparator(input, from));
    for (Record& record : records)
        record.line += line - 1;
    return records;
}

// The field of each column in a row, -1 for a column the file does not have.
using ColumnMap = std::array<int, kColumnCount>;

// The columns the header names (the first of equal names counts); nothing when it lacks Frequency,
// or Location when that is needed.
std::optional<ColumnMap> MapColumns(const Record& header, bool needLocation)
{
    ColumnMap columns{};
    columns.fill(-1);
    for (std::size_t f = 0; f < header.fields.size(); ++f) {
        for (std::size_t c = 0; c < kColumnNames.size(); ++c) {
            if (columns[c] < 0 && SameWord(header.fields[f], kColumnNames[c]))
                columns[c] = static_cast<int>(f);
        }
    }
    if ((needLocation && columns[kLocation] < 0) || columns[kFrequency] < 0)
        return std::nullopt;
    return columns;
}

// True with `note` saying why when the row cannot be read at all: a quoted field runs to the end
// of the file, or the row has fields beyond the header's (a separator inside an unquoted field
// has made the columns slip).
bool IsMalformed(const Record& record, std::size_t headerFields, CsvRowNote& note)
{
    note.line = record.line;
    if (record.unterminated) {
        note.reason = CsvReason::Unterminated;
        return true;
    }
    std::size_t used = record.fields.size();
    while (used > headerFields && Trim(record.fields[used - 1]).empty())
        --used;
    if (used <= headerFields)
        return false;
    note.reason = CsvReason::ExtraFields;
    note.value = std::to_string(used);
    note.value2 = std::to_string(headerFields);
    return true;
}

// One row as the channel table would be typed: each optional is a column the file has.
struct RowEntry
{
    int channel = 0;
    std::string rx;                           // decimal text as in the file, '.' decimals
    std::optional<std::string> tx;            // empty text: receive-only
    std::optional<std::pair<int, int>> tones; // receive, transmit list indexes
    std::optional<std::string> name;
    std::optional<int> choices[std::size(kCsvChoices)];
};

class CRowReader
{
public:
    // A paste gives the channel; an import reads it from the Location column.
    CRowReader(const ColumnMap& columns, const Record& record, int channel)
        : m_columns(columns), m_record(record), m_channel(channel)
    {
    }

    bool Has(Column c) const { return m_columns[c] >= 0; }

    std::string Field(Column c) const
    {
        const int at = m_columns[c];
        return at >= 0 && static_cast<std::size_t>(at) < m_record.fields.size()
                   ? m_record.fields[static_cast<std::size_t>(at)]
                   : std::string();
    }

    // Fills `entry`; false with `note` saying why the row cannot be stored.
    bool Read(RowEntry& entry, CsvRowNote& note) const
    {
        const auto reject = [&note](CsvReason reason, std::string value) {
            note.reason = reason;
            note.value = std::move(value);
            return false;
        };

        const std::string location = Trim(Field(kLocation));
        if (m_channel != 0)
            entry.channel = m_channel;
        else if (location.empty() || location.size() > 3 ||
                 location.find_first_not_of("0123456789") != std::string::npos ||
                 std::stoi(location) < kFirstChannel || std::stoi(location) > kLastChannel)
            return reject(CsvReason::BadLocation, location);
        else
            entry.channel = std::stoi(location);

        const std::optional<std::string> rx = Decimal(Field(kFrequency));
        if (!rx)
            return reject(CsvReason::BadFrequency, Trim(Field(kFrequency)));
        entry.rx = *rx;

        if (Has(kDuplex)) {
            const std::string duplex = Trim(Field(kDuplex));
            const std::string offsetField = Trim(Field(kOffset));
            if (duplex.empty()) {
                entry.tx = entry.rx;
            } else if (SameWord(duplex, "off")) {
                entry.tx = std::string();
            } else if (duplex == "+" || duplex == "-" || SameWord(duplex, "split")) {
                const std::optional<std::string> offset = Decimal(offsetField);
                if (!offset)
                    return reject(CsvReason::BadOffset, offsetField);
                const std::int32_t r = ParseFrequency(entry.rx);
                const std::int32_t o = ParseFrequency(*offset);
                if (duplex == "-" && o > r)
                    return reject(CsvReason::OffsetTooLarge, offsetField);
                entry.tx = duplex == "+"   ? FormatFrequency(r + o)
                           : duplex == "-" ? FormatFrequency(r - o)
                                           : *offset;
            } else {
                return reject(CsvReason::BadDuplex, duplex);
            }
        }

        if (Has(kTone)) {
            std::pair<int, int> tones{0, 0};
            if (!ReadTones(tones, note))
                return false;
            entry.tones = tones;
        }
        if (Has(kName))
            entry.name = Field(kName);

        for (std::size_t i = 0; i < std::size(kCsvChoices); ++i) {
            const CsvChoice& c = kCsvChoices[i];
            if (!Has(c.column))
                continue;
            const std::string word = Trim(Field(c.column));
            if (SameWord(word, c.words[0]))
                entry.choices[i] = 0;
            else if (SameWord(word, c.words[1]) || (c.alsoOne && SameWord(word, c.alsoOne)))
                entry.choices[i] = 1;
            else if (!word.empty()) // an empty field that is no word keeps the channel's setting
                return reject(c.bad, word);
        }
        return true;
    }

private:
    // The receive and transmit list indexes of the tone columns.
    bool ReadTones(std::pair<int, int>& tones, CsvRowNote& note) const
    {
        const auto fail = [&note](CsvReason reason, const std::string& value) {
            note.reason = reason;
            note.value = Trim(value);
            return false;
        };
        std::string polarity = Upper(Trim(Field(kDtcsPolarity)));
        if (polarity.empty())
            polarity = "NN";
        const bool polarityOk = polarity.size() == 2 && (polarity[0] == 'N' || polarity[0] == 'R') &&
                                (polarity[1] == 'N' || polarity[1] == 'R');

        const auto ctcss = [&](Column c, int& index) {
            index = CtcssIndex(Field(c));
            return index > 0 || fail(CsvReason::BadCtcss, Field(c));
        };
        // Files from before the RxDtcsCode column use DtcsCode for both sides.
        const auto dcs = [&](Column c, int side, int& index) {
            if (!polarityOk)
                return fail(CsvReason::BadPolarity, polarity);
            if (c == kRxDtcsCode && (!Has(kRxDtcsCode) || Trim(Field(kRxDtcsCode)).empty()))
                c = kDtcsCode;
            index = DcsIndex(Field(c), polarity[static_cast<std::size_t>(side)]);
            return index > 0 || fail(CsvReason::BadDcs, Field(c));
        };
        int& rx = tones.first;
        int& tx = tones.second;

        const std::string mode = Trim(Field(kTone));
        if (mode.empty())
            return true;
        if (SameWord(mode, "Tone"))
            return ctcss(kRToneFreq, tx);
        if (SameWord(mode, "TSQL")) {
            const bool ok = ctcss(kCToneFreq, rx);
            tx = rx;
            return ok;
        }
        if (SameWord(mode, "DTCS"))
            return dcs(kDtcsCode, 0, tx) && dcs(kDtcsCode, 1, rx);
        if (!SameWord(mode, "Cross"))
            return fail(CsvReason::BadToneMode, mode);

        const std::string cross = Trim(Field(kCrossMode)).empty() ? kDefaultCross : Trim(Field(kCrossMode));
        const std::size_t arrow = cross.find("->");
        if (arrow == std::string::npos)
            return fail(CsvReason::BadCrossMode, cross);
        const std::string txSide = Trim(cross.substr(0, arrow));
        const std::string rxSide = Trim(cross.substr(arrow + 2));
        const auto known = [](const std::string& side) {
            return side.empty() || SameWord(side, "Tone") || SameWord(side, "DTCS");
        };
        if (!known(txSide) || !known(rxSide) || (txSide.empty() && rxSide.empty()))
            return fail(CsvReason::BadCrossMode, cross);
        if (SameWord(txSide, "Tone") && !ctcss(kRToneFreq, tx))
            return false;
        if (SameWord(txSide, "DTCS") && !dcs(kDtcsCode, 0, tx))
            return false;
        if (SameWord(rxSide, "Tone") && !ctcss(kCToneFreq, rx))
            return false;
        if (SameWord(rxSide, "DTCS") && !dcs(kRxDtcsCode, 1, rx))
            return false;
        return true;
    }

    const ColumnMap& m_columns;
    const Record& m_record;
    int m_channel; // 0: from the Location column
};

// Types read rows into their channels through the channel table's rules, and notes where the radio
// stored something other than what the file said.
class CRowWriter
{
public:
    CRowWriter(CVantorDoc& doc, std::vector<CsvRowNote>& adjusted)
        : m_doc(doc), m_editor(doc), m_adjusted(adjusted)
    {
    }

    // Empties channel n as the table does when its receive frequency is cleared.
    void Empty(int n) { m_editor.StoreRx(n, {}); }

    void Store(const RowEntry& entry, int line)
    {
        const int n = entry.channel;
        const auto adjust = [this, line](CsvReason reason, std::string value, std::string value2) {
            m_adjusted.push_back({line, reason, std::move(value), std::move(value2)});
        };
        const auto noteFrequency = [&](const std::string& given, const std::string& stored,
                                       CsvReason outOfBand, CsvReason moved) {
            if (m_doc.CheckBand(given) != 0)
                adjust(outOfBand, given, stored);
            else if (ParseFrequency(given) != ParseFrequency(stored))
                adjust(moved, given, stored);
        };

        if (m_doc.IsRecordEmpty(n))
            m_editor.StoreRx(n, {}); // the cleared state of a deleted channel
        m_editor.StoreRx(n, entry.rx);
        noteFrequency(entry.rx, m_editor.RxText(n), CsvReason::RxOutOfBand, CsvReason::RxMoved);
        if (entry.tones) {
            m_editor.StoreTone(n, ToneDir::Rx, entry.tones->first);
            m_editor.StoreTone(n, ToneDir::Tx, entry.tones->second);
        }
        if (entry.tx) {
            m_editor.StoreTx(n, *entry.tx);                  // an empty TX also turns the TX tone off
            if (!entry.tx->empty() && *entry.tx != entry.rx) // a simplex TX was noted as the RX
                noteFrequency(*entry.tx, m_editor.TxText(n), CsvReason::TxOutOfBand, CsvReason::TxMoved);
        }
        if (entry.tones && entry.tones->second != 0 && m_doc.HasNoTransmit(n)) {
            m_editor.StoreTone(n, ToneDir::Tx, 0);
            adjust(CsvReason::TxToneDropped, ToneList::Text(entry.tones->second), {});
        }
        if (entry.name) {
            m_editor.StoreName(n, *entry.name);
            const std::string stored = CVantorDoc::DecodeName(m_doc.GetName(n));
            if (stored != Upper(*entry.name))
                adjust(CsvReason::NameChanged, *entry.name, stored);
        }
        for (std::size_t i = 0; i < std::size(kCsvChoices); ++i)
            if (entry.choices[i])
                m_editor.StoreChoice(n, kCsvChoices[i].choice, *entry.choices[i]);
    }

private:
    CVantorDoc& m_doc;
    CChannelEditor m_editor;
    std::vector<CsvRowNote>& m_adjusted;
};

} // namespace

CsvImportReport CChannelCsv::Import(const std::string& input)
{
    return Store(input, 0);
}

CsvImportReport CChannelCsv::Paste(const std::string& text, int firstChannel)
{
    return Store(text, std::clamp(firstChannel, kFirstChannel, kLastChannel));
}

// firstChannel 0: each row names its channel in the Location column (an import).
CsvImportReport CChannelCsv::Store(const std::string& input, int firstChannel)
{
    CsvImportReport report;
    const bool paste = firstChannel != 0;
    const std::vector<Record> records = ReadTable(input);
    const std::optional<ColumnMap> columns =
        records.empty() ? std::nullopt : MapColumns(records.front(), !paste);
    if (!columns)
        return report;
    report.headerFound = true;

    const std::size_t headerFields = records.front().fields.size();
    CRowWriter writer(m_doc, report.adjusted);
    std::map<int, int> firstLine; // channel -> line of the row that gave it
    int channel = firstChannel;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const Record& record = records[r];
        if (IsBlank(record))
            continue;
        if (paste && channel > kLastChannel) {
            ++report.leftOut;
            continue;
        }
        const int target = paste ? channel++ : 0;
        if (paste && IsBlankBeside(record, (*columns)[kLocation])) {
            writer.Empty(target);
            ++report.imported;
            continue;
        }
        CsvRowNote note;
        RowEntry entry;
        if (IsMalformed(record, headerFields, note) ||
            !CRowReader(*columns, record, target).Read(entry, note)) {
            report.rejected.push_back(note);
            continue;
        }
        if (const auto it = firstLine.find(entry.channel); it != firstLine.end()) {
            report.rejected.push_back({record.line, CsvReason::DuplicateLocation,
                                       std::to_string(entry.channel), std::to_string(it->second)});
            continue;
        }
        firstLine[entry.channel] = record.line;
        writer.Store(entry, record.line);
        ++report.imported;
    }
    return report;
}

const char* CChannelCsv::ReasonTemplate(CsvReason reason)
{
    switch (reason) {
    case CsvReason::BadLocation:
        return "location \"%1\" is not a channel number from 1 to 128";
    case CsvReason::DuplicateLocation:
        return "channel %1 was already given on line %2";
    case CsvReason::BadFrequency:
        return "frequency \"%1\" is not a number of MHz";
    case CsvReason::BadDuplex:
        return "duplex \"%1\" is not empty, +, -, split or off";
    case CsvReason::BadOffset:
        return "offset \"%1\" is not a number of MHz";
    case CsvReason::OffsetTooLarge:
        return "offset \"%1\" is larger than the frequency";
    case CsvReason::BadToneMode:
        return "tone mode \"%1\" is not one this radio has (Tone, TSQL, DTCS, Cross)";
    case CsvReason::BadCrossMode:
        return "cross mode \"%1\" is not one this radio has";
    case CsvReason::BadCtcss:
        return "CTCSS tone \"%1\" is not in the radio's tone list";
    case CsvReason::BadDcs:
        return "DCS code \"%1\" is not in the radio's tone list";
    case CsvReason::BadPolarity:
        return "DCS polarity \"%1\" is not NN, NR, RN or RR";
    case CsvReason::BadMode:
        return "mode \"%1\" is not FM or NFM";
    case CsvReason::BadSkip:
        return "skip \"%1\" is not empty, S or P";
    case CsvReason::BadPower:
        return "power \"%1\" is not High or Low";
    case CsvReason::ExtraFields:
        return "the row has %1 fields but the header only %2 (a separator inside an unquoted field?)";
    case CsvReason::Unterminated:
        return "a quoted field is not closed before the end of the file";
    case CsvReason::RxOutOfBand:
        return "receive frequency %1 is outside the band; stored as %2";
    case CsvReason::RxMoved:
        return "receive frequency %1 stored as %2 (channel raster)";
    case CsvReason::TxOutOfBand:
        return "transmit frequency %1 is outside the band; stored as %2";
    case CsvReason::TxMoved:
        return "transmit frequency %1 stored as %2 (channel raster)";
    case CsvReason::TxToneDropped:
        return "transmit tone %1 not stored: the channel does not transmit";
    case CsvReason::NameChanged:
        return "name \"%1\" stored as \"%2\"";
    }
    return "";
}

const char* CChannelCsv::NoHeaderText()
{
    return "no header line naming the columns Location and Frequency";
}

std::string CChannelCsv::NoteText(const CsvRowNote& note)
{
    return "line " + std::to_string(note.line) + ": " + FormatCsvNote(ReasonTemplate(note.reason), note);
}

std::string FormatCsvNote(const std::string& templ, const CsvRowNote& note)
{
    return FormatLangText(templ, note.value, note.value2);
}

bool CChannelCsv::ReadFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    // peek() marks a failed read as bad; streaming the buffer turns a read error into a failed
    // stream where an iterator over it would throw.
    const bool empty = in.peek() == std::ifstream::traits_type::eof();
    if (!in.is_open() || in.bad() || (!empty && !(out << in.rdbuf())))
        return false;
    text = out.str();
    return true;
}
