// Word lists: plain text with one word per line and no descriptions, such
// as the expanded forms of a spelling dictionary. TDataFile::ImportWords
// merges one into a dictionary; the classes here turn the list's lines into
// Windows-1250 words and count what the import did with them.
//
// A line ends at LF, CR or CR LF; blanks (spaces, tabs) around the word are
// dropped. A line with nothing else is empty. A line that is malformed in
// the list's encoding, holds a character that Windows-1250 cannot hold or a
// control character, or is longer than a record can be, is no word the
// dictionary can hold: it is skipped and counted by its reason. A word the list repeats,
// byte for byte, is stored once; a word the dictionary holds already gains
// nothing from a list without descriptions and stays as it is.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vrk {

// Turns the text of one line into a Windows-1250 word.
class TWordDecoder {
  public:
    virtual ~TWordDecoder() = default;
    // Appends the line's text, as Windows-1250, to `word`; false when the
    // line is malformed in the list's encoding or holds a character that
    // Windows-1250 cannot hold (what was appended is then of no use).
    [[nodiscard]] virtual bool Decode(std::string_view line, std::string& word) = 0;
};

// Lists in UTF-8; a byte-order mark at the start of a line is dropped.
class TUtf8WordDecoder final : public TWordDecoder {
  public:
    [[nodiscard]] bool Decode(std::string_view line, std::string& word) override;
};

// Lists in an encoding of one byte per character, given by the Unicode code
// point of every byte (kNoCharacter for a byte that stands for none).
class TByteWordDecoder final : public TWordDecoder {
  public:
    static constexpr char32_t kNoCharacter = 0xFFFFFFFF;
    explicit TByteWordDecoder(const std::array<char32_t, 256>& codePoints);
    [[nodiscard]] bool Decode(std::string_view line, std::string& word) override;

  private:
    // The Windows-1250 byte of every byte of the list, -1 where there is none.
    std::array<std::int16_t, 256> m_toCp1250{};
};

// What an import of a word list did with its lines; each line counts once.
struct TWordListCounts {
    std::int64_t added = 0;     // new entries
    std::int64_t present = 0;   // words the dictionary held already
    std::int64_t repeated = 0;  // repeats of a word earlier in the list
    std::int64_t empty = 0;     // empty lines, or lines of blanks only
    std::int64_t unfit = 0;     // malformed, or with characters Windows-1250 cannot hold
    std::int64_t control = 0;   // holding a control character (a byte below 0x20)
    std::int64_t tooLong = 0;   // longer than a record can be (99 999 bytes)
};

}  // namespace vrk
