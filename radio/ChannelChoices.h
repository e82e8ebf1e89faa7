#pragma once
// The channel settings offered as a choice of two (0 or 1), one line each: the bit of the channel
// record that holds it, its texts on the pages, its lists on the VFO page and its words in the
// command line's summary and the comparison of files. The document, both pages, the reports and
// the fuzz target read this table.

#include "radio/RadioImage.h"
#include "res/ControlIds.h"

#include <cstddef>

enum class ChannelChoice
{
    Power,
    Bcl,
    Bandwidth,
    ScanAdd,
    Reverse,
    PttId,
    Compander
};

struct ChannelChoiceField
{
    ChannelChoice choice;
    std::size_t byte; // in the record
    int bit;
    const char* key;         // in the command line's JSON summary
    const char* reportLabel; // in the comparison of two files
    const char* words[2];    // values 0 and 1 in both reports
    const char* texts[2];    // language keys of values 0 and 1 on the VFO page and in the channel table
    int vfoLists[2];         // the lists that edit it on the VFO page: group F1, group F2
};

// In the order of the channel table's columns and of the VFO page's lists.
// clang-format off
inline constexpr ChannelChoiceField kChannelChoices[] = {
    {ChannelChoice::Power,     ImageMap::kRecMode,  3, "power",     "power",
     {"low", "high"},   {"IDS_LOW", "IDS_HIGH"},    {idc::vfo::PowerF1, idc::vfo::PowerF2}},
    {ChannelChoice::Bcl,       ImageMap::kRecMode,  4, "bcl",       "busy channel lockout",
     {"off", "on"},     {"IDS_OFF", "IDS_ON"},      {idc::vfo::BusyLockF1, idc::vfo::BusyLockF2}},
    {ChannelChoice::Bandwidth, ImageMap::kRecMode,  5, "bandwidth", "bandwidth",
     {"wide", "narrow"}, {"IDS_WIDE", "IDS_NARROW"}, {idc::vfo::BandwidthF1, idc::vfo::BandwidthF2}},
    {ChannelChoice::ScanAdd,   ImageMap::kRecMode,  6, "scan_add",  "scan add",
     {"off", "on"},     {"IDS_OFF", "IDS_ON"},      {idc::vfo::ScanAddF1, idc::vfo::ScanAddF2}},
    {ChannelChoice::Reverse,   ImageMap::kRecMode,  2, "reverse",   "reverse",
     {"off", "on"},     {"IDS_OFF", "IDS_ON"},      {idc::vfo::ReverseF1, idc::vfo::ReverseF2}},
    {ChannelChoice::PttId,     ImageMap::kRecMode,  7, "ptt_id",    "PTT ID",
     {"off", "on"},     {"IDS_OFF", "IDS_ON"},      {idc::vfo::PttIdF1, idc::vfo::PttIdF2}},
    {ChannelChoice::Compander, ImageMap::kRecFlags, 3, "compander", "compander",
     {"off", "on"},     {"IDS_OFF", "IDS_ON"},      {idc::vfo::CompanderF1, idc::vfo::CompanderF2}},
};
// clang-format on

constexpr const ChannelChoiceField& ChoiceField(ChannelChoice choice)
{
    return kChannelChoices[static_cast<int>(choice)];
}

// Each choice sits at the position of its value, so ChoiceField finds it.
consteval bool ChoicesInOrder()
{
    for (int i = 0; i < static_cast<int>(std::size(kChannelChoices)); ++i)
        if (static_cast<int>(kChannelChoices[i].choice) != i)
            return false;
    return true;
}
static_assert(ChoicesInOrder());
