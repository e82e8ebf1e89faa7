// Opening a .pgm file of arbitrary bytes and showing it: loading, every field the pages read, the
// comparison with a new document and the CSV export. Nothing may crash, and every reading stays
// within the range the pages rely on.

#include "fuzz/FuzzSupport.h"
#include "radio/ChannelCsv.h"
#include "radio/FmPreset.h"
#include "radio/FunctionFields.h"
#include "radio/ImageDiff.h"
#include "radio/VantorDoc.h"
#include "radio/VfoFrequency.h"

namespace {

constexpr int kRecords[] = {0, 130};

void ReadRecord(const CVantorDoc& doc, int r)
{
    doc.IsRecordEmpty(r);
    doc.HasNoTransmit(r);
    doc.IsOffsetEmpty(r);
    doc.CheckBand(doc.FrequencyText(r, FreqField::Rx));
    doc.FrequencyText(r, FreqField::Offset);
    for (ToneDir dir : {ToneDir::Rx, ToneDir::Tx}) {
        const int tone = doc.ToneIndex(r, dir);
        FUZZ_CHECK(tone >= 0 && tone <= 258);
    }
    FUZZ_CHECK(doc.GetShiftDirection(r) >= 0 && doc.GetShiftDirection(r) <= 2);
    FUZZ_CHECK(doc.GetStepIndex(r) >= 0 && doc.GetStepIndex(r) <= 5);
    for (int bit : {doc.GetRxInverted(r), doc.GetTxInverted(r)})
        FUZZ_CHECK(bit == 0 || bit == 1);
    for (const ChannelChoiceField& c : kChannelChoices)
        FUZZ_CHECK(doc.GetChoice(r, c.choice) == 0 || doc.GetChoice(r, c.choice) == 1);
}

void ReadEverything(const CVantorDoc& doc)
{
    for (int r : kRecords) {
        ReadRecord(doc, r);
        VfoTransmitText(doc, r);
    }
    for (int channel = 1; channel <= 128; ++channel) {
        ReadRecord(doc, channel);
        CVantorDoc::DecodeName(doc.GetName(channel));
    }
    for (const FunctionField& field : FunctionSettings::kFields) {
        const int value = doc.GetSetting(field);
        FUZZ_CHECK(value >= 0 && value <= field.highest);
    }
    PttIdCodeText(doc.GetPttIdCode());
    for (int k = 1; k <= 16; ++k)
        FmPreset::Text(doc.ReadWordBE(0x9A0, k));
    FmPreset::Text(doc.ReadWordBE(0xD0B, 1));
    for (int item = 0; item < 16; ++item)
        doc.GetCalibration(item);
    doc.GetCalibrationItem();
    doc.FindModelEntry();
    doc.BandEdgeText(-1);
    doc.BandEdgeText(1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    UseShippedFiles();
    static const std::string path = FuzzScratchPath("fuzz.pgm");
    WriteFuzzFile(path, data, size);

    CVantorDoc doc;
    FileError error;
    if (doc.LoadFile(path, error) != DataFile::LoadStatus::Loaded)
        return 0;
    ReadEverything(doc);
    CVantorDoc blank;
    blank.DeleteContents();
    CImageDiff::Compare(doc, blank);
    CChannelCsv(doc).Export();
    return 0;
}
