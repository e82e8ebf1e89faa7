#pragma once
// The parts of the radio's memory as a technician names them ("channels 17–24", "VFO B",
// "calibration values"), for saying which parts of the memory a read could not fetch.

#include <string>
#include <vector>

enum class ImagePart
{
    VfoA,
    Channel, // numbered 1 to 128
    VfoB,
    FmPreset,    // numbered 1 to 16
    ChannelName, // numbered by channel
    FunctionSettings,
    FmFrequency, // the FM broadcast frequency in use
    FrequencyBand,
    Calibration,
    OtherData, // bytes the program does not show; numbered by address
};

// One part, or a run of numbers of one part.
struct ImagePartSpan
{
    ImagePart part = ImagePart::OtherData;
    int first = 0; // channel or preset number, the first byte's address for other data, 0 for the rest
    int last = 0;

    bool operator==(const ImagePartSpan&) const = default;
};

// The parts held by the 16-byte blocks at `blockAddresses`, in the order of the memory. Numbers of
// one part that follow each other make one span, a part without numbers is named once, and blocks
// holding none of the named parts are spans of other data.
std::vector<ImagePartSpan> PartsOfBlocks(std::vector<int> blockAddresses);

// "channels 17–24" in English, for the command line.
std::string EnglishPartText(const ImagePartSpan& span);
// The same from the current language file.
std::string LangPartText(const ImagePartSpan& span);
