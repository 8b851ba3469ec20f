// A fuzzed CSV file imported.
#include "import_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return vrk::fuzz::ImportOneInput(
        data, size,
        [](vrk::TDataFile& file, const std::string& source) { return file.ImportCsv(source); });
}
