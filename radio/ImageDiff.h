#pragma once
// Every difference between two radio data files, one line each, in the words of the program's pages
// ("channel 12 receive 145.50000 -> 145.52500", "squelch level 4 -> 6", "FM preset 3 OFF -> 87M5");
// bookkeeping bytes, band descriptors and calibration values by name, the bytes the program does not
// interpret as image offsets and hex. Any byte that differs shows up in at least one line.

#include <string>
#include <vector>

class CVantorDoc;

class CImageDiff final
{
public:
    // The arrow between the old and the new value.
    static constexpr const char* kArrow = " \xE2\x86\x92 ";

    // The lines for going from `a` to `b`; empty when both files hold the same bytes.
    static std::vector<std::string> Compare(CVantorDoc& a, CVantorDoc& b);
};
