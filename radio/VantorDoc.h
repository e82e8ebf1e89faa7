#pragma once
// The single document: the radio image, the data-file header, the band limits, the path and the
// modified flag, with every field accessor the pages use and the New / Open / Save rules.
// Accessors work directly on the image and never set the modified flag (callers do after an edit).
// Ordinary failures are return values; messages go through ShowMessage.

#include "app/MessageBox.h"
#include "radio/BandLimits.h"
#include "radio/ChannelChoices.h"
#include "radio/DataFile.h"
#include "radio/EditHistory.h"
#include "radio/FunctionFields.h"
#include "radio/NameCode.h"
#include "radio/PttIdCode.h"
#include "radio/RadioImage.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

enum class FreqField
{
    Rx,
    Offset
};
enum class ToneDir
{
    Rx,
    Tx
};

class CVantorDoc final
{
public:
    // Asks for a file name to save under (the Save As dialog); nothing when the user cancels.
    // The argument is the current path, empty for a document that has none.
    using SavePathPrompt = std::function<std::optional<std::string>(const std::string& currentPath)>;
    // Asks whether to save the modified document: Yes, No or Cancel.
    using SaveChangesPrompt = std::function<MsgResult()>;

    CVantorDoc();
    CVantorDoc(const CVantorDoc&) = delete;
    CVantorDoc& operator=(const CVantorDoc&) = delete;

    // Raw state: the image (block transfers, clone buffer), the 48-byte data-file header.
    RadioImage& Image() { return m_image; }
    const RadioImage& Image() const { return m_image; }
    const FileHeader& Header() const { return m_header; }

    // Document state: path name, modified flag, the hook that reloads every page.
    const std::string& GetPathName() const { return m_pathName; }
    void SetPathName(const std::string& path) { m_pathName = path; }
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }
    void SetUpdateAllViewsHandler(std::function<void()> handler) { m_updateAllViews = std::move(handler); }
    void UpdateAllViews() const;

    // Undo and redo. Every user action ends in RecordEdit, which keeps the memory as one step named
    // `step` (when it changed) and sets the modified flag, unless told to leave the flag alone (a
    // read from the radio). Undo and Redo restore a step's memory, set the modified flag from the
    // saved marker and update all views; false when there is nothing to undo or redo. New and
    // Open start a new history; saving moves the saved marker.
    void RecordEdit(EditStep step, bool markModified = true);
    bool Undo();
    bool Redo();
    const CEditHistory& History() const { return m_history; }
    // Called whenever the history changes (a step recorded, undone or redone, a new history).
    void SetHistoryChangedHandler(std::function<void()> handler) { m_historyChanged = std::move(handler); }

    // Lifecycle (each shows its own messages; views are updated after New and Open).
    void DeleteContents();             // signature into the header, image all 0xFF
    bool OnNewDocument(bool askClear); // "IDS_WARN_CLEAR" (Cancel: false, untouched), then band entry 0
    bool OnOpenDocument(const std::string& path); // false: unreadable (untouched) or foreign (blank, no path)

    // Saving. A failed save is shown with "IDS_ERROR" and leaves path, modified flag and old file alone.
    void SetSavePathPrompt(SavePathPrompt prompt) { m_savePathPrompt = std::move(prompt); }
    bool Save();       // Save command: "IDS_WARN_SAVE" + path, prepare, DoFileSave
    bool SaveAs();     // file name from the prompt; no question, no prepare
    bool DoFileSave(); // store under the path, or SaveAs without one
    bool SaveModified(const SaveChangesPrompt& prompt); // when modified: Yes saves, No discards; false = stop
    // Without messages: store atomically / load as OnOpenDocument does (band limits recomputed).
    bool StoreFile(const std::string& path, FileError& error);
    DataFile::LoadStatus LoadFile(const std::string& path, FileError& error);

    // Bands (setting.ini "ModelInfo", read afresh): matching entry, limits from it, writing entry n
    // into the image followed by the limits and the image defaults.
    int FindModelEntry() const;
    void LoadBandLimits();
    void ApplyModelEntry(int n);
    const BandLimits& GetBandLimits() const { return m_limits; }
    int CheckBand(const std::string& text) const;           // -1 below, +1 above, 0 inside or empty
    std::string BandEdgeText(int edge) const;               // edge <= 0 low limit, > 0 high limit
    std::string ClampToBand(const std::string& text) const; // outside the band: the nearer edge

    // Record r (0 VFO A, 1..128 channels, 130 VFO B): state of the frequency fields.
    bool IsRecordEmpty(int r) const;
    bool HasNoTransmit(int r) const; // empty, or offset equal to the receive frequency
    bool IsOffsetEmpty(int r) const;
    std::string FrequencyText(int r, FreqField field) const;
    void StoreFrequency(int r, FreqField field, const std::string& text); // Rx snapped, offset as typed

    // Record r: tones as list index 0..258 (byte 9/10 with the inverted flags of byte 8).
    int ToneIndex(int r, ToneDir dir) const;
    void StoreToneIndex(int r, ToneDir dir, int index);
    int GetRxInverted(int r) const;
    void SetRxInverted(int r, int on);
    int GetTxInverted(int r) const;
    void SetTxInverted(int r, int on);

    // Record r: the choices of two (ChannelChoices.h), 0 or 1; a non-zero value sets the bit.
    int GetChoice(int r, ChannelChoice choice) const;
    void SetChoice(int r, ChannelChoice choice, int on);

    // Record r: small fields.
    int GetShiftDirection(int r) const; // 0 simplex, 1 minus, 2 plus; 3 reads as 0
    void SetShiftDirection(int r, int direction);
    int GetStepIndex(int r) const; // byte 12, 0..5; above 5 reads as 0
    void SetStepIndex(int r, int index);

    // Channel names (channel 1..128), five bytes in the radio's code; text via the name code.
    NameBytes GetName(int channel) const;
    void SetName(int channel, const NameBytes& bytes);
    static std::string DecodeName(const NameBytes& bytes);
    static NameBytes EncodeName(const std::string& text);

    // Function settings 0xD00..0xD06, one table line each (FunctionFields.h). A stored value above the
    // field's highest reads as its out-of-range value; a value is masked to the field's bits.
    int GetSetting(const FunctionField& field) const;
    void SetSetting(const FunctionField& field, int value);

    // PTT ID code at 0xD20, six bytes as one unit (text via PttIdCodeText / PttIdCodeFromText).
    PttIdCodeBytes GetPttIdCode() const;
    void SetPttIdCode(const PttIdCodeBytes& bytes);

    // 16-bit big-endian word k (from 1) of the table at `base`: FM presets (0x9A0), FM frequency (0xD0B).
    int ReadWordBE(std::size_t base, int k) const;
    void WriteWordBE(std::size_t base, int k, int value);

    // Service mode: calibration value of item i (0xFF0 + i) and the selected item (0xFFC).
    int GetCalibration(int item) const;
    void SetCalibration(int item, int value);
    int GetCalibrationItem() const;
    void SetCalibrationItem(int item);

private:
    std::uint8_t* Record(int r);
    const std::uint8_t* Record(int r) const;
    int GetBit(std::size_t offset, int bit) const;
    void SetBit(std::size_t offset, int bit, int on);
    int GetField(std::size_t offset, int shift, int width, int maxValue, int outOfRange) const;
    void SetField(std::size_t offset, int shift, int width, int value);
    bool DoSave(const std::string& path);
    void ApplyDefaults();
    void RestoreImage(const RadioImage& image);
    void StartHistory();

    BandLimits m_limits;
    FileHeader m_header{};
    RadioImage m_image{};
    std::string m_pathName;
    bool m_modified = false;
    std::function<void()> m_updateAllViews;
    SavePathPrompt m_savePathPrompt;
    CEditHistory m_history;
    std::function<void()> m_historyChanged;
};
