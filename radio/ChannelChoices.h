#pragma once
// The channel settings offered as a choice of two (0 or 1), one line each: the bit of the channel
// record that holds it and its words in the command line's summary and the comparison of files.

#include "radio/RadioImage.h"

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
};

// In the order of the channel table's columns.
inline constexpr ChannelChoiceField kChannelChoices[] = {
    {ChannelChoice::Power, ImageMap::kRecMode, 3, "power", "power", {"low", "high"}},
    {ChannelChoice::Bcl, ImageMap::kRecMode, 4, "bcl", "busy channel lockout", {"off", "on"}},
    {ChannelChoice::Bandwidth, ImageMap::kRecMode, 5, "bandwidth", "bandwidth", {"wide", "narrow"}},
    {ChannelChoice::ScanAdd, ImageMap::kRecMode, 6, "scan_add", "scan add", {"off", "on"}},
    {ChannelChoice::Reverse, ImageMap::kRecMode, 2, "reverse", "reverse", {"off", "on"}},
    {ChannelChoice::PttId, ImageMap::kRecMode, 7, "ptt_id", "PTT ID", {"off", "on"}},
    {ChannelChoice::Compander, ImageMap::kRecFlags, 3, "compander", "compander", {"off", "on"}},
};

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
