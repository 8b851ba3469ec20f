// Reading the file the user chose as the dictionaries' picture. The picture
// is stored unchanged, whatever it holds; only a file the dictionary cannot
// hold, or one that cannot be read whole, is refused.
#pragma once

#include <cstdint>
#include <string>

// The largest picture: a dictionary's picture length is read back as a
// signed 32-bit number.
inline constexpr std::uint64_t kMaxPictureBytes = 0x7FFFFFFF;

// Reads the whole file at `path` (file-name bytes) into `bytes`. False, with
// `bytes` empty, when it is no regular file (a folder, a pipe or a device is
// never waited on), is larger than kMaxPictureBytes, or cannot be read whole.
[[nodiscard]] bool ReadPictureFile(const std::string& path, std::string& bytes);
