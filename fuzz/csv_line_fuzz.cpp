// The CSV line reader and parser on fuzzed text. Promises checked: the line
// count equals the lines read; no line is longer than a record; a record
// read from a line holds no 0x00, and written back as a line and read again
// it is the same record.
#include <cstdio>

#include "fuzz_util.h"
#include "store/format.h"
#include "store/older_formats.h"

using namespace vrk;
using namespace vrk::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::tmpfile();
    VRK3_FUZZ_CHECK(file != nullptr);
    if (size > 0) VRK3_FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    std::rewind(file);
    TByteReader in(fileno(file));
    const std::int64_t counted = CountCsvLines(in);
    VRK3_FUZZ_CHECK(in.Rewind());
    std::int64_t lines = 0;
    std::string line;
    while (ReadCsvLine(in, line)) {
        ++lines;
        VRK3_FUZZ_CHECK(line.size() <= kMaxRecordText);
        const std::string record = CsvLineToRecord(line);
        VRK3_FUZZ_CHECK(record.find('\0') == std::string::npos);
        VRK3_FUZZ_CHECK(record.size() <= kMaxRecordText);
        for (char separator : {';', ','})
            VRK3_FUZZ_CHECK(CsvLineToRecord(RecordToCsvLine(record, separator)) == record);
    }
    VRK3_FUZZ_CHECK(lines == counted);
    std::fclose(file);
    return 0;
}
