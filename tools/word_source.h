// What `vrk3tool import words` needs before the store merges a word list:
// the whole list, read from a file or from standard input, and a decoder
// for the list's encoding (store/word_list.h).
#pragma once

#include <memory>
#include <string>

#include "store/word_list.h"

namespace vrk::tool {

// Reads the list at `path` whole ("-": standard input, up to its end).
// False, with the errno in `error`, when it cannot be read.
[[nodiscard]] bool ReadWordList(const std::string& path, std::string& list, int& error);

// The decoder for a list in `encoding`, any name the system's converter
// knows (UTF-8, ISO-8859-2, CP1250, ...). A usage error (TUsageError) when
// the name is unknown, or when the encoding does not write a line end as the
// single byte LF (UTF-16, for one): such a list cannot be read line by line.
std::unique_ptr<TWordDecoder> MakeWordDecoder(const std::string& encoding);

}  // namespace vrk::tool
