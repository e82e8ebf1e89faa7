#pragma once
// The channel settings offered as a choice of two (0 or 1).
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
