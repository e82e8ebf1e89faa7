#include "radio/VantorDoc.h"

#include "i18n/LangText.h"
#include "radio/FrequencyCodec.h"
#include "radio/ModelInfo.h"
#include "radio/ToneList.h"

#include <algorithm>
#include <cassert>

using namespace ImageMap;

namespace {

// Record byte 8 bits of the inverted DCS codes.
constexpr int kBitRxInverted = 4;
constexpr int kBitTxInverted = 5;

constexpr std::array<std::uint8_t, kSettingsSize> kDefaultSettings = {0x04, 0x78, 0x08, 0x01,
                                                                      0x00, 0x00, 0x00};
constexpr std::uint8_t kDefaultMode = 0x08;    // high power, everything else off, simplex
constexpr std::uint8_t kDefaultVfoMode = 0x48; // high power, scan add

FrequencyField FieldAt(RadioImage& image, std::size_t offset)
{
    return FrequencyField(image.data() + offset, FrequencyField::extent);
}

ConstFrequencyField FieldAt(const RadioImage& image, std::size_t offset)
{
    return ConstFrequencyField(image.data() + offset, ConstFrequencyField::extent);
}

std::size_t FieldOffset(FreqField field)
{
    return field == FreqField::Rx ? kRecRxFreq : kRecOffset;
}

} // namespace

CVantorDoc::CVantorDoc()
{
    DeleteContents();
    m_history.Reset(m_image);
}

void CVantorDoc::UpdateAllViews() const
{
    if (m_updateAllViews)
        m_updateAllViews();
}

// --- undo and redo ----------------------------------------------------------------------------

void CVantorDoc::RecordEdit(EditStep step, bool markModified)
{
    if (m_history.Record(m_image, std::move(step)) && m_historyChanged)
        m_historyChanged();
    if (markModified)
        m_modified = true;
}

void CVantorDoc::StartHistory()
{
    m_history.Reset(m_image);
    if (m_historyChanged)
        m_historyChanged();
}

void CVantorDoc::RestoreImage(const RadioImage& image)
{
    m_image = image;
    LoadBandLimits();
    UpdateAllViews();
    m_modified = !m_history.IsAtSaved();
    if (m_historyChanged)
        m_historyChanged();
}

bool CVantorDoc::Undo()
{
    if (!m_history.CanUndo())
        return false;
    RestoreImage(m_history.Undo());
    return true;
}

bool CVantorDoc::Redo()
{
    if (!m_history.CanRedo())
        return false;
    RestoreImage(m_history.Redo());
    return true;
}

// --- lifecycle --------------------------------------------------------------------------------

void CVantorDoc::DeleteContents()
{
    DataFile::StampSignature(m_header);
    BlankImage(m_image);
}

bool CVantorDoc::OnNewDocument(bool askClear)
{
    if (askClear && ShowMessage(LoadLangString("IDS_PROMPT"), LoadLangString("IDS_WARN_CLEAR"),
                                MsgIcon::Exclamation, MsgButtons::OkCancel) != MsgResult::Ok)
        return false;
    DeleteContents();
    m_pathName.clear();
    m_modified = false;
    ApplyModelEntry(0);
    StartHistory();
    UpdateAllViews();
    return true;
}

DataFile::LoadStatus CVantorDoc::LoadFile(const std::string& path, FileError& error)
{
    FileHeader header = m_header;
    DataFile::StampSignature(header);
    RadioImage image;
    BlankImage(image);
    const DataFile::LoadStatus status = DataFile::Load(path, header, image, error);
    if (status == DataFile::LoadStatus::Failed)
        return status;
    // A rejected file leaves the blank document (its header is not taken over).
    m_header = header;
    m_image = image;
    LoadBandLimits();
    return status;
}

bool CVantorDoc::OnOpenDocument(const std::string& path)
{
    FileError error;
    const DataFile::LoadStatus status = LoadFile(path, error);
    if (status == DataFile::LoadStatus::Failed) {
        ShowMessage(LoadLangString("IDS_ERROR"), FileErrorText(path, error), MsgIcon::Stop, MsgButtons::Ok);
        return false;
    }
    m_modified = false;
    if (status == DataFile::LoadStatus::WrongSignature) {
        ShowMessage(LoadLangString("IDS_ERROR"), LoadLangString("IDS_WARN_LOAD"), MsgIcon::Stop,
                    MsgButtons::Ok);
        // Not this radio's file: a later Save must ask for a name instead of overwriting it.
        m_pathName.clear();
    } else {
        m_pathName = path;
    }
    StartHistory();
    UpdateAllViews();
    return status == DataFile::LoadStatus::Loaded;
}

bool CVantorDoc::StoreFile(const std::string& path, FileError& error)
{
    const bool stored = DataFile::Store(path, m_header, m_image, error);
    LoadBandLimits();
    return stored;
}

bool CVantorDoc::DoSave(const std::string& path)
{
    FileError error;
    if (!StoreFile(path, error)) {
        ShowMessage(LoadLangString("IDS_ERROR"), FileErrorText(path, error), MsgIcon::Stop, MsgButtons::Ok);
        return false;
    }
    m_pathName = path;
    m_modified = false;
    m_history.MarkSaved(m_image);
    if (m_historyChanged)
        m_historyChanged();
    return true;
}

bool CVantorDoc::Save()
{
    if (!m_pathName.empty() &&
        ShowMessage(LoadLangString("IDS_PROMPT"), LoadLangString("IDS_WARN_SAVE") + m_pathName,
                    MsgIcon::Exclamation, MsgButtons::OkCancel) != MsgResult::Ok)
        return false;
    PrepareImageForTransfer(m_image);
    return DoFileSave();
}

bool CVantorDoc::SaveAs()
{
    if (!m_savePathPrompt)
        return false;
    const std::optional<std::string> path = m_savePathPrompt(m_pathName);
    if (!path || path->empty())
        return false;
    return DoSave(*path);
}

bool CVantorDoc::DoFileSave()
{
    return m_pathName.empty() ? SaveAs() : DoSave(m_pathName);
}

bool CVantorDoc::SaveModified(const SaveChangesPrompt& prompt)
{
    if (!m_modified)
        return true;
    // Without a way to ask, keep the document rather than discard it.
    switch (prompt ? prompt() : MsgResult::Cancel) {
    case MsgResult::Yes:
    case MsgResult::Ok:
        return DoFileSave();
    case MsgResult::No:
        return true;
    case MsgResult::Cancel:
        break;
    }
    return false;
}

// --- bands ------------------------------------------------------------------------------------

int CVantorDoc::FindModelEntry() const
{
    return ModelInfo::FindEntry(m_image);
}

void CVantorDoc::LoadBandLimits()
{
    m_limits = ModelInfo::LimitsFor(m_image);
}

void CVantorDoc::ApplyModelEntry(int n)
{
    if (const std::optional<ModelEntry> entry = ParseModelEntry(ModelInfo::EntryText(n, 32)))
        entry->WriteTo(m_image);
    LoadBandLimits();
    ApplyDefaults();
}

void CVantorDoc::ApplyDefaults()
{
    for (int r : {kVfoA, kFirstChannel, kVfoB}) {
        PackFrequency(FieldAt(m_image, RecordOffset(r) + kRecRxFreq), SnapFrequency(m_limits.low, m_limits));
        PackFrequency(FieldAt(m_image, RecordOffset(r) + kRecOffset), 0);
    }
    for (int r = kVfoA; r <= kLastChannel; ++r) {
        std::uint8_t* rec = Record(r);
        rec[kRecFlags] = rec[kRecRxTone] = rec[kRecTxTone] = rec[kRecStep] = 0;
        rec[kRecMode] = kDefaultMode;
    }
    for (int n = kFirstChannel; n <= kLastChannel; ++n)
        std::fill_n(m_image.begin() + static_cast<std::ptrdiff_t>(NameOffset(n)), kNameSize,
                    std::uint8_t{0xFF});
    std::uint8_t* vfoB = Record(kVfoB);
    vfoB[kRecFlags] = vfoB[kRecRxTone] = vfoB[kRecTxTone] = vfoB[kRecStep] = 0;
    vfoB[kRecMode] = kDefaultVfoMode;
    Record(kVfoA)[kRecMode] = kDefaultVfoMode;

    ::WriteWordBE(m_image, kFmPresets, 1, 0);
    for (int k = 2; k <= kFmPresetCount; ++k)
        ::WriteWordBE(m_image, kFmPresets, k, kFmPresetEmpty);
    ::WriteWordBE(m_image, kFmFrequency, 1, 0);

    std::copy(kDefaultSettings.begin(), kDefaultSettings.end(), m_image.begin() + kSettings);
    std::fill_n(m_image.begin() + kPttIdCode, kPttIdCodeSize, std::uint8_t{0xFF});
}

int CVantorDoc::CheckBand(const std::string& text) const
{
    return ::CheckBand(text, m_limits);
}

std::string CVantorDoc::BandEdgeText(int edge) const
{
    return FormatFrequency(edge <= 0 ? m_limits.low : m_limits.high);
}

std::string CVantorDoc::ClampToBand(const std::string& text) const
{
    const int side = CheckBand(text);
    return side == 0 ? text : BandEdgeText(side);
}

// --- records ----------------------------------------------------------------------------------

std::uint8_t* CVantorDoc::Record(int r)
{
    assert(r >= 0 && r <= kLastRecord);
    return m_image.data() + RecordOffset(r);
}

const std::uint8_t* CVantorDoc::Record(int r) const
{
    assert(r >= 0 && r <= kLastRecord);
    return m_image.data() + RecordOffset(r);
}

int CVantorDoc::GetBit(std::size_t offset, int bit) const
{
    return (m_image[offset] >> bit) & 1;
}

void CVantorDoc::SetBit(std::size_t offset, int bit, int on)
{
    const auto mask = static_cast<std::uint8_t>(1u << bit);
    m_image[offset] = on ? static_cast<std::uint8_t>(m_image[offset] | mask)
                         : static_cast<std::uint8_t>(m_image[offset] & ~mask);
}

int CVantorDoc::GetField(std::size_t offset, int shift, int width, int maxValue, int outOfRange) const
{
    const int value = (m_image[offset] >> shift) & ((1 << width) - 1);
    return value > maxValue ? outOfRange : value;
}

// The value is masked to the field, so it can never spill into a neighbouring field.
void CVantorDoc::SetField(std::size_t offset, int shift, int width, int value)
{
    const int mask = ((1 << width) - 1) << shift;
    m_image[offset] = static_cast<std::uint8_t>((m_image[offset] & ~mask) | ((value << shift) & mask));
}

bool CVantorDoc::IsRecordEmpty(int r) const
{
    return ::IsRecordEmpty(m_image, r);
}

bool CVantorDoc::HasNoTransmit(int r) const
{
    const std::uint8_t* rec = Record(r);
    return IsRecordEmpty(r) || std::equal(rec + kRecRxFreq, rec + kRecRxFreq + 4, rec + kRecOffset);
}

bool CVantorDoc::IsOffsetEmpty(int r) const
{
    return IsEmptyFrequencyByte(Record(r)[kRecOffset + 3]);
}

std::string CVantorDoc::FrequencyText(int r, FreqField field) const
{
    return FrequencyFieldText(FieldAt(m_image, RecordOffset(r) + FieldOffset(field)));
}

void CVantorDoc::StoreFrequency(int r, FreqField field, const std::string& text)
{
    StoreFrequencyText(FieldAt(m_image, RecordOffset(r) + FieldOffset(field)), text,
                       field == FreqField::Rx ? &m_limits : nullptr);
}

int CVantorDoc::ToneIndex(int r, ToneDir dir) const
{
    const bool rx = dir == ToneDir::Rx;
    const std::uint8_t byte = Record(r)[rx ? kRecRxTone : kRecTxTone];
    const bool inverted = (rx ? GetRxInverted(r) : GetTxInverted(r)) != 0;
    return ToneList::IndexFromCode({byte, inverted});
}

void CVantorDoc::StoreToneIndex(int r, ToneDir dir, int index)
{
    const ToneList::ToneCode code = ToneList::CodeFromIndex(index);
    if (dir == ToneDir::Rx) {
        Record(r)[kRecRxTone] = code.byte;
        SetRxInverted(r, code.inverted);
    } else {
        Record(r)[kRecTxTone] = code.byte;
        SetTxInverted(r, code.inverted);
    }
}

int CVantorDoc::GetRxInverted(int r) const
{
    return GetBit(RecordOffset(r) + kRecFlags, kBitRxInverted);
}
void CVantorDoc::SetRxInverted(int r, int on)
{
    SetBit(RecordOffset(r) + kRecFlags, kBitRxInverted, on);
}
int CVantorDoc::GetTxInverted(int r) const
{
    return GetBit(RecordOffset(r) + kRecFlags, kBitTxInverted);
}
void CVantorDoc::SetTxInverted(int r, int on)
{
    SetBit(RecordOffset(r) + kRecFlags, kBitTxInverted, on);
}

int CVantorDoc::GetChoice(int r, ChannelChoice choice) const
{
    const ChannelChoiceField& field = ChoiceField(choice);
    return GetBit(RecordOffset(r) + field.byte, field.bit);
}

void CVantorDoc::SetChoice(int r, ChannelChoice choice, int on)
{
    const ChannelChoiceField& field = ChoiceField(choice);
    SetBit(RecordOffset(r) + field.byte, field.bit, on);
}

int CVantorDoc::GetShiftDirection(int r) const
{
    return GetField(RecordOffset(r) + kRecMode, 0, 2, 2, 0);
}
void CVantorDoc::SetShiftDirection(int r, int direction)
{
    SetField(RecordOffset(r) + kRecMode, 0, 2, direction);
}
int CVantorDoc::GetStepIndex(int r) const
{
    return GetField(RecordOffset(r) + kRecStep, 0, 8, 5, 0);
}
void CVantorDoc::SetStepIndex(int r, int index)
{
    Record(r)[kRecStep] = static_cast<std::uint8_t>(index);
}

// --- names ------------------------------------------------------------------------------------

NameBytes CVantorDoc::GetName(int channel) const
{
    assert(channel >= kFirstChannel && channel <= kLastChannel);
    NameBytes bytes;
    std::copy_n(m_image.begin() + static_cast<std::ptrdiff_t>(NameOffset(channel)), kNameSize, bytes.begin());
    return bytes;
}

void CVantorDoc::SetName(int channel, const NameBytes& bytes)
{
    assert(channel >= kFirstChannel && channel <= kLastChannel);
    std::copy(bytes.begin(), bytes.end(), m_image.begin() + static_cast<std::ptrdiff_t>(NameOffset(channel)));
}

std::string CVantorDoc::DecodeName(const NameBytes& bytes)
{
    return ::DecodeName(bytes);
}

NameBytes CVantorDoc::EncodeName(const std::string& text)
{
    return ::EncodeName(text);
}

// --- function settings ------------------------------------------------------------------------

int CVantorDoc::GetSetting(const FunctionField& field) const
{
    return GetField(field.offset, field.shift, field.width, field.highest, field.outOfRange);
}

void CVantorDoc::SetSetting(const FunctionField& field, int value)
{
    SetField(field.offset, field.shift, field.width, field.highest == 1 ? value != 0 : value);
}

PttIdCodeBytes CVantorDoc::GetPttIdCode() const
{
    PttIdCodeBytes bytes;
    std::copy_n(m_image.begin() + kPttIdCode, kPttIdCodeSize, bytes.begin());
    return bytes;
}

void CVantorDoc::SetPttIdCode(const PttIdCodeBytes& bytes)
{
    std::copy(bytes.begin(), bytes.end(), m_image.begin() + kPttIdCode);
}

// --- words and calibration --------------------------------------------------------------------

int CVantorDoc::ReadWordBE(std::size_t base, int k) const
{
    return ::ReadWordBE(m_image, base, k);
}

void CVantorDoc::WriteWordBE(std::size_t base, int k, int value)
{
    ::WriteWordBE(m_image, base, k, value);
}

int CVantorDoc::GetCalibration(int item) const
{
    assert(item >= 0 && item < 16);
    return m_image[kCalibration + static_cast<std::size_t>(item)];
}

void CVantorDoc::SetCalibration(int item, int value)
{
    assert(item >= 0 && item < 16);
    m_image[kCalibration + static_cast<std::size_t>(item)] = static_cast<std::uint8_t>(value);
}

int CVantorDoc::GetCalibrationItem() const
{
    return m_image[kCalibrationItem];
}

void CVantorDoc::SetCalibrationItem(int item)
{
    m_image[kCalibrationItem] = static_cast<std::uint8_t>(item);
}
