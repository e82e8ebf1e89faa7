#pragma once
// A summary of a data file for people (text) and scripts (one JSON object): model tag, band,
// channels in use, the two VFOs, FM presets and every function setting, each value read through
// the document's accessors as the program's pages read it.

#include <string>

class CVantorDoc;

std::string InfoText(CVantorDoc& doc);
std::string InfoJson(CVantorDoc& doc);
