// Importing arbitrary text as a channel list, into a new document of any of the shipped band
// variants. Nothing may crash, every row is counted once, and what the import stored survives an
// export and a second import unchanged and without complaint.

#include "fuzz/FuzzSupport.h"
#include "radio/ChannelCsv.h"
#include "radio/VantorDoc.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    UseShippedFiles();
    if (size == 0)
        return 0;
    const int model = data[0] % 5;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    CVantorDoc doc;
    doc.DeleteContents();
    doc.ApplyModelEntry(model);
    const CsvImportReport report = CChannelCsv(doc).Import(text);
    for (const CsvRowNote& note : report.rejected)
        CChannelCsv::NoteText(note);
    for (const CsvRowNote& note : report.adjusted)
        CChannelCsv::NoteText(note);
    if (!report.headerFound)
        FUZZ_CHECK(report.imported == 0);

    const std::string exported = CChannelCsv(doc).Export();
    CVantorDoc again;
    again.DeleteContents();
    again.ApplyModelEntry(model);
    const CsvImportReport second = CChannelCsv(again).Import(exported);
    FUZZ_CHECK(second.rejected.empty());
    FUZZ_CHECK(second.adjusted.empty());
    FUZZ_CHECK(CChannelCsv(again).Export() == exported);
    return 0;
}
