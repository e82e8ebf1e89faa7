// Channel lists as CSV: round trips, files of other tools, every tone combination, the store rules
// of the channel table, and every reason a row is refused.

#include "radio/ChannelCsv.h"

#include "radio/ChannelEditor.h"
#include "radio/FrequencyCodec.h"
#include "radio/ToneList.h"
#include "radio/VantorDoc.h"
#include "tests/support/RadioTestEnv.h"
#include "tests/support/TempDir.h"

#include <set>
#include <sstream>

using namespace ImageMap;

namespace {

constexpr char kHeader[] =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";
constexpr int kVhfUhf = 2; // band entry of kStandardModels

// A channel as the channel table shows the fields a CSV file carries.
struct ChannelView
{
    std::string rx, tx, name;
    int rxTone = 0, txTone = 0, power = 0, narrow = 0, scan = 0;
    bool operator==(const ChannelView&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ChannelView& v)
{
    return os << v.rx << "/" << v.tx << " tones " << v.rxTone << "/" << v.txTone << " p" << v.power << " n"
              << v.narrow << " s" << v.scan << " \"" << v.name << "\"";
}

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, separator))
        parts.push_back(part);
    if (!text.empty() && text.back() == separator)
        parts.emplace_back();
    return parts;
}

// Tone list index of a CTCSS text or a DCS code.
int Ctcss(const char* tone)
{
    for (int i = ToneList::kFirstCtcss; i < ToneList::kFirstDcsNormal; ++i)
        if (ToneList::Text(i) == tone)
            return i;
    return -1;
}
int Dcs(const char* code, bool inverted = false)
{
    for (int i = ToneList::kFirstDcsNormal; i < ToneList::kFirstDcsInverted; ++i)
        if (ToneList::Text(i) == std::string("D") + code + "N")
            return inverted ? i + ToneList::kDcsCount : i;
    return -1;
}

class ChannelCsvTest : public CRadioTest
{
protected:
    void SetUp() override
    {
        CRadioTest::SetUp();
        ASSERT_TRUE(m_doc.OnNewDocument(false));
        m_doc.ApplyModelEntry(kVhfUhf);
    }

    static ChannelView View(CVantorDoc& doc, int n)
    {
        const CChannelEditor editor(doc);
        return {editor.RxText(n),
                editor.TxText(n),
                CVantorDoc::DecodeName(doc.GetName(n)),
                doc.ToneIndex(n, ToneDir::Rx),
                doc.ToneIndex(n, ToneDir::Tx),
                doc.GetChoice(n, ChannelChoice::Power),
                doc.GetChoice(n, ChannelChoice::Bandwidth),
                doc.GetChoice(n, ChannelChoice::ScanAdd)};
    }

    CsvImportReport Import(const std::string& text) { return CChannelCsv(m_doc).Import(text); }

    // The exported row of channel n, split into its fields.
    std::vector<std::string> Row(CVantorDoc& doc, int n)
    {
        for (const std::string& line : Split(CChannelCsv(doc).Export(), '\n'))
            if (line.starts_with(std::to_string(n) + ","))
                return Split(line, ',');
        return {};
    }

    CVantorDoc m_doc;
};

} // namespace

TEST_F(ChannelCsvTest, AFullImageExportedAndImportedIntoANewImageGivesTheSameChannels)
{
    CVantorDoc full;
    FileError error;
    ASSERT_EQ(full.LoadFile(ZQ708_SOURCE_DIR "/tests/data/full_radio.pgm", error),
              DataFile::LoadStatus::Loaded);
    const std::string csv = CChannelCsv(full).Export();

    const CsvImportReport report = Import(csv);
    ASSERT_TRUE(report.headerFound);
    EXPECT_TRUE(report.rejected.empty());
    // The radio holds a few channels above the band's upper edge; the table stores those at the edge.
    std::set<int> clamped;
    for (const CsvRowNote& note : report.adjusted) {
        EXPECT_TRUE(note.reason == CsvReason::RxOutOfBand || note.reason == CsvReason::TxOutOfBand)
            << CChannelCsv::NoteText(note);
        EXPECT_GT(ParseFrequency(note.value), m_doc.GetBandLimits().high);
        clamped.insert(std::stoi(Split(Split(csv, '\n')[static_cast<std::size_t>(note.line - 1)], ',')[0]));
    }
    EXPECT_EQ(clamped.size(), 7u);

    int inUse = 0;
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        ASSERT_EQ(m_doc.IsRecordEmpty(n), full.IsRecordEmpty(n) && n != 1)
            << n; // channel 1 of a new image stays
        if (full.IsRecordEmpty(n))
            continue;
        ++inUse;
        if (!clamped.count(n)) {
            EXPECT_EQ(View(m_doc, n), View(full, n)) << "channel " << n;
        }
    }
    EXPECT_EQ(report.imported, inUse);
    // What is stored exports as the same text.
    const std::vector<std::string> before = Split(csv, '\n');
    const std::vector<std::string> after = Split(CChannelCsv(m_doc).Export(), '\n');
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t i = 0; i < before.size(); ++i)
        if (i == 0 || before[i].empty() || !clamped.count(std::stoi(before[i]))) {
            EXPECT_EQ(after[i], before[i]);
        }
}

TEST_F(ChannelCsvTest, ExportWritesTheCommonLayoutWithCommaAndPoint)
{
    CChannelEditor editor(m_doc);
    editor.StoreRx(2, "145.5");
    editor.StoreTx(2, "145.0");
    editor.StoreName(2, "rpt");
    editor.StoreChoice(2, ChannelChoice::Bandwidth, 1);
    editor.StoreChoice(2, ChannelChoice::Power, 0);
    editor.StoreChoice(2, ChannelChoice::ScanAdd, 0);
    editor.StoreRx(3, "446.00625");
    editor.StoreTx(3, "453.60625");
    editor.StoreChoice(3, ChannelChoice::ScanAdd, 1);
    editor.StoreRx(4, "145.6");
    editor.StoreTx(4, "");
    editor.StoreName(4, "A, B"); // stops at the comma
    // A blank at either end is quoted; an offset the radio holds off the raster is written exactly.
    editor.StoreRx(5, "136.0");
    editor.StoreName(5, "AB ");
    m_doc.StoreFrequency(5, FreqField::Offset, "9.9999");
    m_doc.SetShiftDirection(5, 2);

    const std::vector<std::string> lines = Split(CChannelCsv(m_doc).Export(), '\n');
    ASSERT_EQ(lines.size(), 7u); // header, channels 1 to 5, and the final line end
    EXPECT_EQ(lines[0], kHeader);
    EXPECT_EQ(lines[1], "1,,136.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,S,High,,,,,");
    EXPECT_EQ(lines[2], "2,RPT,145.500000,-,0.500000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,S,Low,,,,,");
    EXPECT_EQ(lines[3], "3,,446.006250,+,7.600000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,");
    EXPECT_EQ(lines[4], "4,A,145.600000,off,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,S,High,,,,,");
    EXPECT_EQ(lines[5],
              "5,\"AB \",136.000000,+,9.999900,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,S,High,,,,,");
    EXPECT_EQ(lines[6], "");
}

TEST_F(ChannelCsvTest, EveryToneCombinationExportsInItsColumnsAndReadsBack)
{
    struct Case
    {
        int rx, tx;
        const char* tone;
        const char* rTone;
        const char* cTone;
        const char* dtcs;
        const char* polarity;
        const char* rxDtcs;
        const char* cross;
    };
    const Case cases[] = {
        {0, 0, "", "88.5", "88.5", "023", "NN", "023", "Tone->Tone"},
        {0, Ctcss("67.0"), "Tone", "67.0", "88.5", "023", "NN", "023", "Tone->Tone"},
        {Ctcss("100.0"), Ctcss("100.0"), "TSQL", "100.0", "100.0", "023", "NN", "023", "Tone->Tone"},
        {Dcs("754"), Dcs("754"), "DTCS", "88.5", "88.5", "754", "NN", "754", "Tone->Tone"},
        {Dcs("023", true), Dcs("023"), "DTCS", "88.5", "88.5", "023", "NR", "023", "Tone->Tone"},
        {Dcs("131"), Dcs("131", true), "DTCS", "88.5", "88.5", "131", "RN", "131", "Tone->Tone"},
        {Dcs("131", true), Dcs("131", true), "DTCS", "88.5", "88.5", "131", "RR", "131", "Tone->Tone"},
        {Ctcss("254.1"), Ctcss("67.0"), "Cross", "67.0", "254.1", "023", "NN", "023", "Tone->Tone"},
        {Dcs("025", true), Ctcss("88.5"), "Cross", "88.5", "88.5", "023", "NR", "025", "Tone->DTCS"},
        {Ctcss("71.9"), Dcs("703", true), "Cross", "88.5", "71.9", "703", "RN", "023", "DTCS->Tone"},
        {Dcs("026"), Dcs("031", true), "Cross", "88.5", "88.5", "031", "RN", "026", "DTCS->DTCS"},
        {Ctcss("123.0"), 0, "Cross", "88.5", "123.0", "023", "NN", "023", "->Tone"},
        {Dcs("465", true), 0, "Cross", "88.5", "88.5", "023", "NR", "465", "->DTCS"},
        {0, Dcs("051"), "Cross", "88.5", "88.5", "051", "NN", "023", "DTCS->"},
    };
    CChannelEditor editor(m_doc);
    int n = 10;
    for (const Case& c : cases) {
        editor.StoreRx(n, "145.5");
        editor.StoreTone(n, ToneDir::Rx, c.rx);
        editor.StoreTone(n, ToneDir::Tx, c.tx);
        const std::vector<std::string> row = Row(m_doc, n);
        ASSERT_EQ(row.size(), 21u);
        EXPECT_EQ(std::vector<std::string>(row.begin() + 5, row.begin() + 12),
                  (std::vector<std::string>{c.tone, c.rTone, c.cTone, c.dtcs, c.polarity, c.rxDtcs, c.cross}))
            << "rx " << c.rx << " tx " << c.tx;
        ++n;
    }

    CVantorDoc copy;
    ASSERT_TRUE(copy.OnNewDocument(false));
    copy.ApplyModelEntry(kVhfUhf);
    const CsvImportReport report = CChannelCsv(copy).Import(CChannelCsv(m_doc).Export());
    EXPECT_TRUE(report.rejected.empty() && report.adjusted.empty());
    n = 10;
    for (const Case& c : cases) {
        EXPECT_EQ(copy.ToneIndex(n, ToneDir::Rx), c.rx) << n;
        EXPECT_EQ(copy.ToneIndex(n, ToneDir::Tx), c.tx) << n;
        ++n;
    }
}

TEST_F(ChannelCsvTest, FilesOfOtherToolsAreReadByColumnName)
{
    // The older 18-column layout (no RxDtcsCode, CrossMode or Power), semicolons and decimal commas
    // as a spreadsheet in many countries writes them, a byte order mark and Windows line ends.
    const std::string older = "\xEF\xBB\xBFLocation;Name;Frequency;Duplex;Offset;Tone;rToneFreq;cToneFreq;"
                              "DtcsCode;DtcsPolarity;Mode;"
                              "TStep;Skip;Comment;URCALL;RPT1CALL;RPT2CALL;DVCODE\r\n"
                              "5;Home;145,5;-;0,6;Tone;88,5;88,5;023;NN;FM;12,5;;my repeater;;;;\r\n"
                              "6;\"DX;1\";433,5;;0;DTCS;67;67;23;RN;NFM;5;S;;;;;\r\n"
                              "7;;145,6;;0;Cross;88,5;88,5;023;NR;FM;5;;;;;;\r\n";
    CsvImportReport report = Import(older);
    ASSERT_TRUE(report.headerFound);
    EXPECT_TRUE(report.rejected.empty());
    EXPECT_EQ(report.imported, 3);
    EXPECT_EQ(View(m_doc, 5), (ChannelView{"145.50000", "144.90000", "HOME", 0, Ctcss("88.5"), 1, 0, 1}));
    // Without a RxDtcsCode column the one code serves both sides; R on the transmit side.
    EXPECT_EQ(View(m_doc, 6),
              (ChannelView{"433.50000", "433.50000", "DX", Dcs("023"), Dcs("023", true), 1, 1, 0}));
    // Cross without a CrossMode column is Tone->Tone.
    EXPECT_EQ(View(m_doc, 7).txTone, Ctcss("88.5"));
    EXPECT_EQ(View(m_doc, 7).rxTone, Ctcss("88.5"));
    ASSERT_EQ(report.adjusted.size(), 1u);
    EXPECT_EQ(report.adjusted[0].reason, CsvReason::NameChanged);
    EXPECT_EQ(report.adjusted[0].line, 3);

    // Blank lines before the header are passed over; the separator is still the header's.
    report = Import("\r\n \r\nLocation;Frequency\r\n9;145,5\r\n");
    EXPECT_EQ(report.imported, 1);
    EXPECT_EQ(View(m_doc, 9).rx, "145.50000");

    // Columns in another order and most of them missing: only what the file has is typed in.
    CChannelEditor(m_doc).StoreChoice(5, ChannelChoice::Bcl, 1);
    report = Import("Frequency,Name,Location\n\"146,52\",Call,5\n147.0,,8\n");
    EXPECT_EQ(report.imported, 2);
    EXPECT_TRUE(report.rejected.empty());
    // Channel 5 keeps its transmit side, tones, power and BCL; the name column was there.
    EXPECT_EQ(View(m_doc, 5), (ChannelView{"146.52000", "144.90000", "CALL", 0, Ctcss("88.5"), 1, 0, 1}));
    EXPECT_EQ(m_doc.GetChoice(5, ChannelChoice::Bcl), 1);
    // Channel 8 was empty: it is filled like a fresh row of the table.
    EXPECT_EQ(View(m_doc, 8), (ChannelView{"147.00000", "147.00000", "", 0, 0, 1, 0, 0}));
    EXPECT_EQ(m_doc.GetShiftDirection(8), 0);

    // Split duplex: the offset column holds the transmit frequency.
    report = Import(std::string(kHeader) + "\n9,,145.5,split,435.25,,,,,,,,,,,,,,,,\n");
    EXPECT_EQ(View(m_doc, 9).tx, "435.25000");
    // An empty Duplex makes a split channel simplex.
    report = Import(std::string(kHeader) + "\n5,,146.5,,,,,,,,,,,,,,,,,,\n");
    EXPECT_EQ(View(m_doc, 5).tx, "146.50000");
}

TEST_F(ChannelCsvTest, RowsAreStoredByTheChannelTableRules)
{
    ASSERT_TRUE(m_doc.OnNewDocument(false)); // band entry 0: 136-174 MHz
    // Receive-only channel 3 in use with BCL and compander: they stay, as a typed row keeps them.
    CChannelEditor editor(m_doc);
    editor.StoreRx(3, "150.0");
    editor.StoreChoice(3, ChannelChoice::Bcl, 1);
    editor.StoreChoice(3, ChannelChoice::Compander, 1);
    // An empty channel holding odd bytes starts from a deleted channel's settings.
    std::fill_n(m_doc.Image().begin() + static_cast<std::ptrdiff_t>(RecordOffset(4)), kRecordSize, 0xFF);

    const CsvImportReport report =
        Import(std::string(kHeader) + "\n"
                                      "2,repeater,440.0,+,5,,,,,,,,FM,,,High,,,,,\n"
                                      "3,A.B,145.513,off,0,Tone,67.0,,,,,,FM,,,,,,,,\n"
                                      "4,,100,,0,,,,,,,,nfm,,,low,,,,,\n");
    EXPECT_TRUE(report.rejected.empty());
    EXPECT_EQ(report.imported, 3);
    // Above the band: the upper edge, snapped; the transmit side too.
    EXPECT_EQ(View(m_doc, 2).rx, "173.99500");
    EXPECT_EQ(View(m_doc, 2).tx, "173.99500");
    EXPECT_EQ(View(m_doc, 2).name, "REPEA");
    // 145.513 goes to the 5 kHz raster; a name stops at the first character without a code; the
    // transmit tone of a receive-only channel is not stored.
    EXPECT_EQ(View(m_doc, 3), (ChannelView{"145.51500", "", "A", 0, 0, 1, 0, 1}));
    EXPECT_EQ(m_doc.GetChoice(3, ChannelChoice::Bcl), 1);
    EXPECT_EQ(m_doc.GetChoice(3, ChannelChoice::Compander), 1);
    EXPECT_TRUE(m_doc.HasNoTransmit(3));
    // Below the band: the lower edge. The cleared record: tones off, BCL and the rest off.
    EXPECT_EQ(View(m_doc, 4), (ChannelView{"136.00000", "136.00000", "", 0, 0, 0, 1, 1}));
    EXPECT_EQ(m_doc.GetChoice(4, ChannelChoice::Bcl), 0);
    EXPECT_EQ(m_doc.GetChoice(4, ChannelChoice::Compander), 0);
    EXPECT_EQ(m_doc.Image()[RecordOffset(4) + kRecStep], 0);

    std::vector<std::string> notes;
    for (const CsvRowNote& note : report.adjusted)
        notes.push_back(CChannelCsv::NoteText(note));
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "line 2: receive frequency 440.0 is outside the band; stored as 173.99500",
                         "line 2: transmit frequency 445.00000 is outside the band; stored as 173.99500",
                         "line 2: name \"repeater\" stored as \"REPEA\"",
                         "line 3: receive frequency 145.513 stored as 145.51500 (channel raster)",
                         "line 3: transmit tone 67.0 not stored: the channel does not transmit",
                         "line 3: name \"A.B\" stored as \"A\"",
                         "line 4: receive frequency 100 is outside the band; stored as 136.00000",
                     }));
}

// A file without the Duplex column leaves the transmit side as it is: a receive-only channel gets
// no transmit tone from the Tone column either.
TEST_F(ChannelCsvTest, WithoutADuplexColumnAReceiveOnlyChannelGetsNoTransmitTone)
{
    CChannelEditor editor(m_doc);
    editor.StoreRx(5, "145.5");
    editor.StoreTx(5, "");
    ASSERT_TRUE(m_doc.HasNoTransmit(5));
    const CsvImportReport report = Import("Location,Frequency,Tone,rToneFreq\n5,145.5,Tone,67.0\n");
    EXPECT_EQ(report.imported, 1);
    EXPECT_TRUE(m_doc.HasNoTransmit(5));
    EXPECT_EQ(m_doc.ToneIndex(5, ToneDir::Tx), 0);
    ASSERT_EQ(report.adjusted.size(), 1u);
    EXPECT_EQ(report.adjusted[0].reason, CsvReason::TxToneDropped);
}

TEST_F(ChannelCsvTest, EveryRefusedRowIsReportedWithItsLineAndReasonAndNothingOfItIsStored)
{
    const RadioImage before = m_doc.Image();
    const std::string text = std::string(kHeader) +
                             "\n"
                             "0,,145.5,,,,,,,,,,,,,,,,,,\n"                 // 2
                             "129,,145.5,,,,,,,,,,,,,,,,,,\n"               // 3
                             "x,,145.5,,,,,,,,,,,,,,,,,,\n"                 // 4
                             "5,,,,,,,,,,,,,,,,,,,,\n"                      // 5
                             "6,,14a.5,,,,,,,,,,,,,,,,,,\n"                 // 6
                             "7,,145.5,dup,,,,,,,,,,,,,,,,,\n"              // 7
                             "8,,145.5,+,,,,,,,,,,,,,,,,,\n"                // 8
                             "9,,145.5,-,200,,,,,,,,,,,,,,,,\n"             // 9
                             "10,,145.5,,,TSQL-R,,,,,,,,,,,,,,,\n"          // 10
                             "11,,145.5,,,Cross,,,,,,Tone=>DTCS,,,,,,,,,\n" // 11
                             "12,,145.5,,,Tone,69.4,,,,,,,,,,,,,,\n"        // 12
                             "13,,145.5,,,DTCS,,,024,NN,,,,,,,,,,,\n"       // 13
                             "14,,145.5,,,DTCS,,,023,NX,,,,,,,,,,,\n"       // 14
                             "15,,145.5,,,,,,,,,,AM,,,,,,,,\n"              // 15
                             "16,,145.5,,,,,,,,,,,,X,,,,,,\n"               // 16
                             "17,,145.5,,,,,,,,,,,,,5.0W,,,,,\n"            // 17
                             "18,Smith, J,145.5,,,,,,,,,,,,,,,,,,\n"        // 18
                             "19,,145.5,,,Cross,,,,,,->,,,,,,,,,\n"         // 19
                             "\n"                                           // 20 empty: counted
                             ",,145.5,,,,,,,,,,,,,,,,,,\n"                  // 21
                             "19,,145.5,,,Cross,,,,,,Tone->Foo,,,,,,,,,\n"  // 22
                             "0019,,145.5,,,,,,,,,,,,,,,,,,\n"              // 23
                             "20,,145.5,,,,,,,,,,,,,,,,,,\n"                // 24 stored
                             "20,,146.5,,,,,,,,,,,,,,,,,,\n"                // 25
                             ",,,,,,,,,,,,,,,,,,,,\n"                       // 26 blank: no row
                             "21,\"open,,,,,,,,,,,,,,,,,,,\n145.5\n";       // 27 runs to the end
    const CsvImportReport report = Import(text);
    ASSERT_TRUE(report.headerFound);
    EXPECT_EQ(report.imported, 1);
    std::vector<std::string> notes;
    for (const CsvRowNote& note : report.rejected)
        notes.push_back(CChannelCsv::NoteText(note));
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "line 2: location \"0\" is not a channel number from 1 to 128",
                         "line 3: location \"129\" is not a channel number from 1 to 128",
                         "line 4: location \"x\" is not a channel number from 1 to 128",
                         "line 5: frequency \"\" is not a number of MHz",
                         "line 6: frequency \"14a.5\" is not a number of MHz",
                         "line 7: duplex \"dup\" is not empty, +, -, split or off",
                         "line 8: offset \"\" is not a number of MHz",
                         "line 9: offset \"200\" is larger than the frequency",
                         "line 10: tone mode \"TSQL-R\" is not one this radio has (Tone, TSQL, DTCS, Cross)",
                         "line 11: cross mode \"Tone=>DTCS\" is not one this radio has",
                         "line 12: CTCSS tone \"69.4\" is not in the radio's tone list",
                         "line 13: DCS code \"024\" is not in the radio's tone list",
                         "line 14: DCS polarity \"NX\" is not NN, NR, RN or RR",
                         "line 15: mode \"AM\" is not FM or NFM",
                         "line 16: skip \"X\" is not empty, S or P",
                         "line 17: power \"5.0W\" is not High or Low",
                         "line 18: frequency \"J\" is not a number of MHz", // the comma slipped the columns
                         "line 19: cross mode \"->\" is not one this radio has",
                         "line 21: location \"\" is not a channel number from 1 to 128",
                         "line 22: cross mode \"Tone->Foo\" is not one this radio has",
                         "line 23: location \"0019\" is not a channel number from 1 to 128",
                         "line 25: channel 20 was already given on line 24",
                         "line 27: a quoted field is not closed before the end of the file",
                     }));
    // Only channel 20 changed.
    for (int n = kFirstChannel; n <= kLastChannel; ++n) {
        if (n == 20)
            continue;
        EXPECT_TRUE(std::equal(before.begin() + static_cast<std::ptrdiff_t>(RecordOffset(n)),
                               before.begin() + static_cast<std::ptrdiff_t>(RecordOffset(n) + kRecordSize),
                               m_doc.Image().begin() + static_cast<std::ptrdiff_t>(RecordOffset(n))))
            << n;
    }
    EXPECT_EQ(View(m_doc, 20).rx, "145.50000");
}

TEST_F(ChannelCsvTest, NumbersTonesAndCodesAreReadExactlyOrRefused)
{
    constexpr char kColumns[] =
        "Location,Frequency,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,CrossMode,RxDtcsCode\n";
    struct Case
    {
        const char* row;
        int rxTone, txTone;
        const char* note; // empty: stored
    };
    const Case cases[] = {
        {"5,145.5,Tone,100,,,", 0, Ctcss("100.0"), ""},
        {"5,145.5,Tone,203.5,,,", 0, Ctcss("203.5"), ""}, // not 103.5
        {"5,145.5,TSQL,,67.00,,", Ctcss("67.0"), Ctcss("67.0"), ""},
        {"5,145.5,DTCS,,,023,", Dcs("023"), Dcs("023"), ""},         // no polarity: NN
        {"5,145.5,Cross,,,025,NR,->DTCS,", Dcs("025", true), 0, ""}, // empty RxDtcsCode: DtcsCode
        {"5,145.5,Tone,67.05,,,", 0, 0, "line 2: CTCSS tone \"67.05\" is not in the radio's tone list"},
        {"5,145.5,Tone,66.9,,,", 0, 0, "line 2: CTCSS tone \"66.9\" is not in the radio's tone list"},
        {"5,145.5,Tone,99999999999,,,", 0, 0,
         "line 2: CTCSS tone \"99999999999\" is not in the radio's tone list"},
        {"5,145.5,DTCS,,,0023,NN", 0, 0, "line 2: DCS code \"0023\" is not in the radio's tone list"},
        {"5,145.5,Cross,69.4,,,,Tone->", 0, 0, "line 2: CTCSS tone \"69.4\" is not in the radio's tone list"},
        {"5,145.5,Cross,,,024,NN,DTCS->", 0, 0, "line 2: DCS code \"024\" is not in the radio's tone list"},
        {"5,145.5,Cross,,69.4,,,->Tone", 0, 0, "line 2: CTCSS tone \"69.4\" is not in the radio's tone list"},
        {"5,145.5,Cross,,,023,NN,->DTCS,024", 0, 0,
         "line 2: DCS code \"024\" is not in the radio's tone list"},
        {"5,145.5.5,,,,,", 0, 0, "line 2: frequency \"145.5.5\" is not a number of MHz"},
    };
    for (const Case& c : cases) {
        const CsvImportReport report = Import(std::string(kColumns) + c.row + "\n");
        if (*c.note) {
            ASSERT_EQ(report.rejected.size(), 1u) << c.row;
            EXPECT_EQ(CChannelCsv::NoteText(report.rejected[0]), c.note);
            continue;
        }
        EXPECT_TRUE(report.rejected.empty()) << c.row;
        EXPECT_EQ(m_doc.ToneIndex(5, ToneDir::Rx), c.rxTone) << c.row;
        EXPECT_EQ(m_doc.ToneIndex(5, ToneDir::Tx), c.txTone) << c.row;
    }
}

TEST_F(ChannelCsvTest, TextWithoutAUsableHeaderIsRefusedWholeAndTheHeaderSetsTheColumns)
{
    const RadioImage before = m_doc.Image();
    for (const char* text :
         {"", "\n\n", "1,RPT,145.5\n", "Location,Name,Freq\n1,,145.5\n", "Name;Frequency\nA;145.5\n"}) {
        const CsvImportReport report = Import(text);
        EXPECT_FALSE(report.headerFound) << text;
        EXPECT_EQ(report.imported, 0);
    }
    EXPECT_EQ(m_doc.Image(), before);
    // Blank lines before the header count in the line numbers; a field beyond the header's columns
    // means they slipped.
    const CsvImportReport report = Import("\n\nLOCATION , frequency\n0,145.5\n1,145.5,,\n2,145.5,x\n");
    ASSERT_TRUE(report.headerFound);
    EXPECT_EQ(report.imported, 1);
    ASSERT_EQ(report.rejected.size(), 2u);
    EXPECT_EQ(report.rejected[0].line, 4);
    EXPECT_EQ(CChannelCsv::NoteText(report.rejected[1]),
              "line 6: the row has 3 fields but the header only 2 (a separator inside an unquoted field?)");
}

TEST_F(ChannelCsvTest, QuotesLineBreaksAndSeparatorsAreReadAsSpreadsheetsWriteThem)
{
    struct Case
    {
        const char* text;
        int imported;
        const char* name; // of channel 5 afterwards
        std::vector<std::string> notes;
    };
    const Case cases[] = {
        // The separator is the header's most frequent one outside quotes; the rows do not count.
        {"Location\tFrequency\tName\n5\t145.5\tA, B, C, D, E, F\n", 1, "A", {}},
        {"Location,Frequency,\"Comment; a; b; c\"\n5,145.5,x\n", 1, "", {}},
        // The last line needs no line end.
        {"Location,Frequency\n5,145.5", 1, "", {}},
        // Any field may be quoted; a doubled quote inside quotes is one quote.
        {"Location,Frequency,Power\n\"5\",\"145,5\",\"Lo\"\"w\"\n",
         0,
         "",
         {"line 2: power \"Lo\"w\" is not High or Low"}},
        // Any column may come first; the first of two equal column names counts.
        {"Name,Location,Frequency\nab,5,145.5\n", 1, "AB", {}},
        {"Location,Frequency,Name,Location\n5,145.5,ab,6\n", 1, "AB", {}},
        // An offset down to 0 MHz is no error: the transmit side goes to the band edge.
        {"Location,Frequency,Duplex,Offset\n5,145.5,-,145.5\n", 1, "", {}},
        // Channels run from 1 to 128.
        {"Location,Frequency\n128,145.5\n", 1, "", {}},
        // A row may end before the header's last columns.
        {"Location,Frequency,Name\n5,145.5\n", 1, "", {}},
        // Blanks before an opening quote are not part of the field.
        {"Location,Frequency,Name\n5,145.5,  \"ab\"\n", 1, "AB", {}},
        // A line break inside quotes counts in the line numbers of the rows after it.
        {"Location,Frequency,Name\n5,145.5,\"two\nlines\"\n6,x\n",
         1,
         "TWO",
         {"line 4: frequency \"x\" is not a number of MHz"}},
        // A doubled quote at the very end leaves the field open.
        {"Location,Frequency\n5,\"145\"\"",
         0,
         "",
         {"line 2: a quoted field is not closed before the end of the file"}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(m_doc.OnNewDocument(false));
        m_doc.ApplyModelEntry(kVhfUhf);
        const CsvImportReport report = Import(c.text);
        std::vector<std::string> notes;
        for (const CsvRowNote& note : report.rejected)
            notes.push_back(CChannelCsv::NoteText(note));
        EXPECT_EQ(report.imported, c.imported) << c.text;
        EXPECT_EQ(notes, c.notes) << c.text;
        EXPECT_EQ(View(m_doc, 5).name, c.name) << c.text;
    }
}

TEST_F(ChannelCsvTest, CopiedRowsPasteAsTheSameChannelsAndAnEmptyChannelStaysEmpty)
{
    CChannelEditor editor(m_doc);
    editor.StoreRx(3, "145.5");
    editor.StoreTx(3, "144.9");
    editor.StoreTone(3, ToneDir::Rx, Ctcss("100.0"));
    editor.StoreTone(3, ToneDir::Tx, Dcs("023", true));
    editor.StoreName(3, "ab c");
    editor.StoreChoice(3, ChannelChoice::Power, 0);
    editor.StoreRx(5, "439.9875");
    editor.StoreTx(20, "");
    editor.StoreRx(21, "146");
    const std::string copied = CChannelCsv(m_doc).Copy({3, 4, 5});
    const std::vector<std::string> lines = Split(copied, '\n');
    ASSERT_EQ(lines.size(), 5u); // the last line ends too
    std::string tabbedHeader = kHeader;
    std::replace(tabbedHeader.begin(), tabbedHeader.end(), ',', '\t');
    EXPECT_EQ(lines[0], tabbedHeader);
    EXPECT_EQ(lines[2], "4" + std::string(20, '\t')); // an empty channel: its Location alone
    EXPECT_TRUE(lines[1].starts_with("3\tAB C\t145.500000\t-\t0.600000\tCross\t")) << lines[1];

    // Pasted from channel 20 on: the same channels; channel 21, in use, is emptied.
    const CsvImportReport report = CChannelCsv(m_doc).Paste(copied, 20);
    EXPECT_TRUE(report.headerFound);
    EXPECT_EQ(report.imported, 3);
    EXPECT_TRUE(report.rejected.empty());
    EXPECT_EQ(View(m_doc, 20), View(m_doc, 3));
    EXPECT_TRUE(m_doc.IsRecordEmpty(21));
    EXPECT_EQ(View(m_doc, 22), View(m_doc, 5));
}

TEST_F(ChannelCsvTest, PasteIgnoresLocationKeepsRefusedChannelsAndCountsRowsPastTheEnd)
{
    CChannelEditor editor(m_doc);
    editor.StoreRx(126, "146.5");
    const ChannelView kept = View(m_doc, 126);
    // Comma separated, Frequency before Name, no Location column at all.
    const std::string text = "Frequency,Name\n"
                             "145.5,ONE\n"
                             "x145,BAD\n"
                             "\n"
                             "146.0,TWO\n"
                             "147.0,THREE\n"
                             "148.0,FOUR\n";
    const CsvImportReport report = CChannelCsv(m_doc).Paste(text, 125);
    EXPECT_EQ(report.imported, 3);
    ASSERT_EQ(report.rejected.size(), 1u);
    EXPECT_EQ(report.rejected[0].line, 3);
    EXPECT_EQ(report.rejected[0].reason, CsvReason::BadFrequency);
    EXPECT_EQ(report.leftOut, 1);
    EXPECT_EQ(View(m_doc, 125).name, "ONE");
    EXPECT_EQ(View(m_doc, 126), kept);
    EXPECT_EQ(View(m_doc, 127).rx, "146.00000");
    EXPECT_EQ(View(m_doc, 128).rx, "147.00000");
    EXPECT_NE(CChannelCsv(m_doc).Export().find("\n128,THREE,147.000000,"), std::string::npos);

    // A Location column names no channel for a paste; a file import still needs it.
    EXPECT_EQ(CChannelCsv(m_doc).Paste("Location\tFrequency\n999\t145.75\n", 1).imported, 1);
    EXPECT_EQ(View(m_doc, 1).rx, "145.75000");
    EXPECT_FALSE(CChannelCsv(m_doc).Import(text).headerFound);
    EXPECT_FALSE(CChannelCsv(m_doc).Paste("Location,Name\n1,A\n", 1).headerFound);
}

TEST_F(ChannelCsvTest, ReadFileGivesEveryByteAndFailsOnAFolderOrAMissingFile)
{
    using namespace std::string_literals;
    const CTempDir dir;
    const std::string bytes = "Location,Frequency\r\n5,145.5\0x"s;
    const struct
    {
        std::string path;
        bool read;
        std::string text;
    } cases[] = {
        {dir.Write("a.csv", bytes), true, bytes},
        {dir.Write("empty.csv", ""), true, ""},
        {dir.Path().string(), false, "kept"},
        {dir.File("absent.csv"), false, "kept"},
    };
    for (const auto& c : cases) {
        std::string text = "kept";
        EXPECT_EQ(CChannelCsv::ReadFile(c.path, text), c.read) << c.path;
        EXPECT_EQ(text, c.text) << c.path;
    }
}
