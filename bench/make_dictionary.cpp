// make_dictionary: turns a corpus .rec file (plain records, each ended by
// 0x00; bench/prepare_corpus.sh writes them) into a .vrk3 dictionary with
// those entries, quickly, for the benchmarks.
//
//   make_dictionary RECORDS.rec DICT.vrk3
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "store/coding.h"
#include "store/file_io.h"
#include "store/format.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: make_dictionary RECORDS.rec DICT.vrk3\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string records((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (!in.eof() && !in) return 1;
    std::uint32_t count = 0;
    for (char c : records) count += c == '\0';

    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) return 1;
    const int fd = fileno(out);
    vrk::TScrambledWriter writer;
    writer.Attach(fd);
    char header[vrk::kHeaderSize] = {};
    vrk::PutFixed32(header, count);
    char trailer[vrk::kTrailerSize] = {};
    const bool ok = writer.WritePlain(vrk::kMagic) &&
                    writer.WritePlain(std::string_view(header, sizeof header)) &&
                    writer.WriteScrambled(std::string(vrk::ENTRY_BASE, '\0')) &&
                    writer.WriteScrambled(records) &&
                    writer.WritePlain(std::string_view(trailer, sizeof trailer)) && writer.Flush();
    std::fclose(out);
    if (!ok) return 1;
    std::cout << argv[2] << ": " << count << " entries\n";
    return 0;
}
