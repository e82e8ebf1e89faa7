#pragma once
// The radio's function settings (image bytes 0xD00..0xD06), one line per setting: where its bits
// are, the values it holds, the control of the function page that edits it and its words in the
// comparison of two files. The document's accessors, the function page, the printout, the
// comparison, the command line's summary and the fuzz target all read this table, so a new setting
// is one line here plus its control and texts.

#include "radio/RadioImage.h"
#include "res/ControlIds.h"

#include <cstddef>
#include <initializer_list>
#include <string_view>

// What the control of a setting offers; a list's position is the stored value.
enum class FieldOptions
{
    Numbers,       // a list of the numbers 0 to the highest value
    Timeout,       // a list of "IDS_OFF", then the numbers 1 to the highest value
    Section,       // a list from the language file's option section named after the field
    Check,         // a check box, checked for 1
    InvertedCheck, // a check box, checked for 0: the bit says "off"
};

struct FunctionField
{
    const char* name;   // the field's name, as the command line reports it
    std::size_t offset; // image offset of its byte
    int shift;          // its lowest bit
    int width;          // in bits: a value is masked to them, so it never spills into a neighbour
    int highest;        // the highest value; 1 makes it a switch that stores any non-zero value as 1
    int outOfRange;     // what a stored value above the highest reads as
    FieldOptions options;
    int label;               // the control that names it (a check box names itself): its [Resource] key
    int control;             // the control that edits it
    const char* reportLabel; // in the comparison of two files
    std::initializer_list<const char*> reportWords; // values 0, 1, ... there; none: the number, or off/on

    constexpr int Mask() const { return ((1 << width) - 1) << shift; }
    constexpr bool IsCheck() const
    {
        return options == FieldOptions::Check || options == FieldOptions::InvertedCheck;
    }
    // The control's value for a stored value, and the stored value for the control's.
    constexpr int Shown(int value) const
    {
        return options == FieldOptions::InvertedCheck ? 1 - value : value;
    }
};

namespace FunctionSettings {

using enum FieldOptions;
namespace id = idc::function;

// In the order of the image; the page, the printout and the reports keep it.
// clang-format off
inline constexpr FunctionField kFields[] = {
    {"SquelchLevel",      0xD00, 0, 8, 9, 0, Numbers,       id::SquelchLabel,           id::Squelch,
     "squelch level", {}},
    {"ScanType",          0xD01, 0, 2, 2, 2, Section,       id::ScanTypeLabel,          id::ScanType,
     "scan resume", {"time", "carrier", "search"}},
    {"DualWatch",         0xD01, 2, 1, 1, 0, Check,         id::DualWatch,              id::DualWatch,
     "dual watch", {}},
    {"RogerBeep",         0xD01, 3, 1, 1, 0, Check,         id::RogerBeep,              id::RogerBeep,
     "roger beep", {}},
    {"BeepOff",           0xD01, 4, 1, 1, 0, InvertedCheck, id::KeyBeep,                id::KeyBeep,
     "key beep", {}},
    {"Backlight",         0xD01, 5, 1, 1, 0, Check,         id::Backlight,              id::Backlight,
     "backlight", {}},
    {"PowerSave",         0xD01, 6, 1, 1, 0, Check,         id::BatterySave,            id::BatterySave,
     "battery save", {}},
    {"FreqMode",          0xD01, 7, 1, 1, 0, Section,       id::FreqModeLabel,          id::FreqMode,
     "frequency mode", {"enabled", "disabled"}},
    {"PttId",             0xD02, 0, 2, 3, 0, Section,       id::PttIdLabel,             id::PttId,
     "PTT ID", {"off", "begin of TX", "end of TX", "begin and end"}},
    {"FmRadio",           0xD02, 2, 1, 1, 0, Check,         id::FmRadio,                id::FmRadio,
     "FM radio", {}},
    {"VoicePrompt",       0xD02, 3, 1, 1, 0, Check,         id::VoicePrompt,            id::VoicePrompt,
     "voice prompt", {}},
    {"RadiogramWorkMode", 0xD02, 4, 1, 1, 0, Section,       id::RadiogramWorkModeLabel, id::RadiogramWorkMode,
     "FM radio mode", {"presets", "frequency"}},
    {"RadioWorkModeA",    0xD02, 5, 1, 1, 0, Section,       id::WorkModeALabel,         id::WorkModeA,
     "work mode A", {"channel", "frequency"}},
    {"RadioWorkModeB",    0xD02, 6, 1, 1, 0, Section,       id::WorkModeBLabel,         id::WorkModeB,
     "work mode B", {"channel", "frequency"}},
    {"LockMode",          0xD02, 7, 1, 1, 0, Section,       id::LockModeLabel,          id::LockMode,
     "key lock mode", {"manual", "automatic"}},
    {"TxTimeout",         0xD03, 0, 8, 7, 0, Timeout,       id::TxTimeoutLabel,         id::TxTimeout,
     "TX time-out timer", {}},
    {"TxDtr",             0xD04, 0, 2, 3, 0, Section,       id::TxDtrLabel,             id::TxDtr,
     "dual-watch TX", {"off", "channel A", "channel B", "last active"}},
    {"AniTx",             0xD04, 3, 1, 1, 0, Check,         id::AniTx,                  id::AniTx,
     "ANI transmit", {}},
    {"ChannelShowedF1",   0xD04, 4, 2, 2, 2, Section,       id::ChannelShowedF1Label,   id::ChannelShowedF1,
     "F1 channel display", {"frequency", "channel number", "name"}},
    {"ChannelShowedF2",   0xD04, 6, 2, 2, 2, Section,       id::ChannelShowedF2Label,   id::ChannelShowedF2,
     "F2 channel display", {"frequency", "channel number", "name"}},
    {"SideTone",          0xD05, 0, 8, 1, 1, Check,         id::SideTone,               id::SideTone,
     "side tone", {}},
    {"VoxLevel",          0xD06, 0, 8, 9, 0, Numbers,       id::VoxLevelLabel,          id::VoxLevel,
     "VOX level", {}},
};
// clang-format on

// The setting of that name; a name the table lacks does not compile.
consteval const FunctionField& Field(std::string_view name)
{
    for (const FunctionField& field : kFields)
        if (name == field.name)
            return field;
    throw "no function setting of that name";
}

// Each field lies inside one byte of the block, holds its values and shares no bit with another.
consteval bool FieldsAreSound()
{
    int used[ImageMap::kSettingsSize] = {};
    for (const FunctionField& f : kFields) {
        if (f.offset < ImageMap::kSettings || f.offset >= ImageMap::kSettings + ImageMap::kSettingsSize ||
            f.shift < 0 || f.width < 1 || f.shift + f.width > 8 || f.highest < 1 ||
            f.highest >= (1 << f.width) || (f.IsCheck() && f.highest != 1) ||
            (used[f.offset - ImageMap::kSettings] & f.Mask()) != 0)
            return false;
        used[f.offset - ImageMap::kSettings] |= f.Mask();
    }
    return true;
}
static_assert(FieldsAreSound());

} // namespace FunctionSettings
