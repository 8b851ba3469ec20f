#include "clue_sources.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <memory>

#include "store/data_file.h"
#include "store/format.h"
#include "store/text_codec.h"

namespace vrk::clues {
namespace {

// The letter without its mark for the Latin letters Windows-1250 lacks,
// from U+00C0 and from U+0100; '-' where there is no such letter (Æ, ß, Œ).
constexpr std::string_view kLatin1Base =
    "AAAAAA-CEEEEIIIIDNOOOOO-OUUUUY--aaaaaa-ceeeeiiiidnooooo-ouuuuy-y";
constexpr std::string_view kLatinABase =
    "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIi--JjKk-LlLlLlL"
    "lLlNnNnNn---OoOoOo--RrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZz-";

// The letter that stands for `code` when Windows-1250 cannot hold it, or 0.
char BaseLetter(char32_t code) {
    char c = '-';
    if (code >= 0xC0 && code < 0x100)
        c = kLatin1Base[code - 0xC0];
    else if (code >= 0x100 && code < 0x180)
        c = kLatinABase[code - 0x100];
    return c == '-' ? 0 : c;
}

// One character of a clue text as Windows-1250 under the rules of
// ToClueText: false when it stays unfit; `replaced` when a letter lost its
// mark.
bool ClueChar(char32_t code, char& out, bool& replaced) {
    replaced = false;
    if (code < 0x20) {
        out = ' ';
    } else if (const auto byte = UnicodeToCp1250(code); byte && (code < 0x80 || code > 0x9F)) {
        out = static_cast<char>(*byte);
    } else if (const char base = BaseLetter(code)) {
        out = base;
        replaced = true;
    } else {
        return false;
    }
    return true;
}

// The upper half of ISO-8859-2 (0xA0 ... 0xFF), the encoding of Debian's
// thesaurus; below 0xA0 each byte is the code point of its number.
// clang-format off
constexpr char16_t kIso88592High[96] = {
    0x00a0, 0x0104, 0x02d8, 0x0141, 0x00a4, 0x013d, 0x015a, 0x00a7,
    0x00a8, 0x0160, 0x015e, 0x0164, 0x0179, 0x00ad, 0x017d, 0x017b,
    0x00b0, 0x0105, 0x02db, 0x0142, 0x00b4, 0x013e, 0x015b, 0x02c7,
    0x00b8, 0x0161, 0x015f, 0x0165, 0x017a, 0x02dd, 0x017e, 0x017c,
    0x0154, 0x00c1, 0x00c2, 0x0102, 0x00c4, 0x0139, 0x0106, 0x00c7,
    0x010c, 0x00c9, 0x0118, 0x00cb, 0x011a, 0x00cd, 0x00ce, 0x010e,
    0x0110, 0x0143, 0x0147, 0x00d3, 0x00d4, 0x0150, 0x00d6, 0x00d7,
    0x0158, 0x016e, 0x00da, 0x0170, 0x00dc, 0x00dd, 0x0162, 0x00df,
    0x0155, 0x00e1, 0x00e2, 0x0103, 0x00e4, 0x013a, 0x0107, 0x00e7,
    0x010d, 0x00e9, 0x0119, 0x00eb, 0x011b, 0x00ed, 0x00ee, 0x010f,
    0x0111, 0x0144, 0x0148, 0x00f3, 0x00f4, 0x0151, 0x00f6, 0x00f7,
    0x0159, 0x016f, 0x00fa, 0x0171, 0x00fc, 0x00fd, 0x0163, 0x02d9,
};
// clang-format on

// A single-byte source encoding turned into clue text byte by byte, with
// the outcome of ClueChar for each of its 256 bytes worked out once.
class TByteTable {
  public:
    template <class ToUnicode>
    explicit TByteTable(ToUnicode toUnicode) {
        for (int b = 0; b < 256; ++b) {
            bool replaced = false;
            const bool fits =
                ClueChar(toUnicode(static_cast<unsigned char>(b)), m_out[b], replaced);
            m_kind[b] = !fits ? kUnfit : replaced ? kReplaced : kFits;
        }
    }
    // Each byte of `text` as its clue byte at out[i]; true when each of them
    // stands for a character that fits as it is.
    bool Map(std::string_view text, char* out) const { return Kinds(text, out) == kFits; }
    // As ToClueText does for the same text in UTF-8.
    bool Convert(std::string_view text, std::string& out, TClueCounts& counts) const {
        out.resize(text.size());
        const unsigned char kinds = Kinds(text, out.data());
        if (kinds & kUnfit) {
            out.clear();
            ++counts.unfit;
            return false;
        }
        counts.replaced += (kinds & kReplaced) != 0;
        return true;
    }

  private:
    static constexpr unsigned char kFits = 0, kReplaced = 1, kUnfit = 2;
    unsigned char Kinds(std::string_view text, char* out) const {
        unsigned char kinds = kFits;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const auto b = static_cast<unsigned char>(text[i]);
            out[i] = m_out[b];
            kinds |= m_kind[b];
        }
        return kinds;
    }
    char m_out[256]{};
    unsigned char m_kind[256]{};
};

// The table of a single-byte encoding the thesaurus may name, or null for
// any other (which the system's converter reads).
const TByteTable* SingleByteTable(std::string_view encoding) {
    std::string name;
    for (const char c : encoding)
        if (c != '-' && c != '_')
            name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (name != "ISO88592" && name != "LATIN2") return nullptr;
    static const TByteTable iso88592(
        [](unsigned char b) -> char32_t { return b < 0xA0 ? b : kIso88592High[b - 0xA0]; });
    return &iso88592;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::vector<std::string_view> Split(std::string_view s, std::string_view dividers) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t at =
            dividers.size() == 1 ? s.find(dividers[0]) : s.find_first_of(dividers);
        parts.push_back(s.substr(0, at));
        if (at == std::string_view::npos) return parts;
        s.remove_prefix(at + 1);
    }
}

// The text converted from `encoding` to UTF-8 by the system's converter.
bool ToUtf8(std::string_view text, const std::string& encoding, std::string& out) {
    iconv_t cd = iconv_open("UTF-8", encoding.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.assign(text.size() * 2 + 16, '\0');
    char* src = const_cast<char*>(text.data());  // iconv does not write the source
    std::size_t srcLeft = text.size();
    char* dst = out.data();
    std::size_t dstLeft = out.size();
    const bool ok = iconv(cd, &src, &srcLeft, &dst, &dstLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    out.resize(out.size() - dstLeft);
    return ok;
}

std::uint32_t Read32(std::string_view data, std::size_t at, bool swapped) {
    unsigned char b[4];
    std::memcpy(b, data.data() + at, 4);
    if (swapped) return std::uint32_t{b[3]} | b[2] << 8 | b[1] << 16 | std::uint32_t{b[0]} << 24;
    return std::uint32_t{b[0]} | b[1] << 8 | b[2] << 16 | std::uint32_t{b[3]} << 24;
}

// --- The JSON of the iso-codes lists.
class TJsonReader {
  public:
    explicit TJsonReader(std::string_view text) : m_text(text) {}

    bool Expect(char c) {
        SkipBlanks();
        if (m_at >= m_text.size() || m_text[m_at] != c) return false;
        ++m_at;
        return true;
    }
    bool Next(char c) {
        SkipBlanks();
        return m_at < m_text.size() && m_text[m_at] == c;
    }
    bool AtEnd() {
        SkipBlanks();
        return m_at == m_text.size();
    }
    // A string, its escapes resolved, as UTF-8.
    bool String(std::string& out) {
        out.clear();
        if (!Expect('"')) return false;
        while (m_at < m_text.size()) {
            // The plain run up to the next quote or escape in one piece.
            std::size_t end = m_at;
            while (end < m_text.size() && m_text[end] != '"' && m_text[end] != '\\') ++end;
            out.append(m_text, m_at, end - m_at);
            m_at = end;
            if (m_at == m_text.size()) break;
            const char c = m_text[m_at++];
            if (c == '"') return true;
            if (m_at >= m_text.size()) return false;
            const char e = m_text[m_at++];
            switch (e) {
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    char32_t code = 0;
                    if (!Hex4(code)) return false;
                    if (code >= 0xD800 && code < 0xDC00) {
                        char32_t low = 0;
                        if (m_text.substr(m_at, 2) != "\\u") return false;
                        m_at += 2;
                        if (!Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
                        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    }
                    AppendUtf8(code, out);
                    break;
                }
                default:
                    out += e;  // \" \\ \/
            }
        }
        return false;
    }

  private:
    void SkipBlanks() {
        while (m_at < m_text.size() && (m_text[m_at] == ' ' || m_text[m_at] == '\t' ||
                                        m_text[m_at] == '\r' || m_text[m_at] == '\n'))
            ++m_at;
    }
    bool Hex4(char32_t& code) {
        if (m_at + 4 > m_text.size()) return false;
        for (int k = 0; k < 4; ++k) {
            const char h = m_text[m_at++];
            int v = 0;
            if (h >= '0' && h <= '9')
                v = h - '0';
            else if (h >= 'a' && h <= 'f')
                v = h - 'a' + 10;
            else if (h >= 'A' && h <= 'F')
                v = h - 'A' + 10;
            else
                return false;
            code = code << 4 | static_cast<char32_t>(v);
        }
        return true;
    }
    static void AppendUtf8(char32_t c, std::string& out) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

// The Slovene translation of `name`, or nothing.
const std::string* Translation(const TCatalogue& catalogue, const std::string& name) {
    const auto it = catalogue.find(name);
    return it == catalogue.end() ? nullptr : &it->second;
}

const std::string* Field(const TIsoRecord& record, std::string_view key) {
    const auto it = record.find(key);
    return it == record.end() ? nullptr : &it->second;
}

// The Slovene translation of the record's "name", or nothing; a name left
// without one is counted (it is left out rather than stored in English).
const std::string* SloveneName(const TIsoRecord& record, const TCatalogue& catalogue,
                               TClueCounts& counts) {
    const std::string* name = Field(record, "name");
    const std::string* sl = name ? Translation(catalogue, *name) : nullptr;
    counts.untranslated += name != nullptr && sl == nullptr;
    return sl;
}

}  // namespace

namespace {

// FNV-1a of a word.
std::uint32_t HashWord(std::string_view word) {
    std::uint32_t h = 2166136261u;
    for (const char c : word) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

// True when the record's descriptions (after its word of `wordSize`
// bytes) hold `description`.
bool HoldsDescription(std::string_view record, std::size_t wordSize, std::string_view description) {
    for (std::size_t at = wordSize; at < record.size();) {
        const std::size_t end = std::min(record.find(kDescriptionMark, at + 1), record.size());
        if (record.substr(at + 1, end - at - 1) == description) return true;
        at = end;
    }
    return false;
}

}  // namespace

void TClueList::Grow() {
    m_slots.assign(m_slots.empty() ? 1024 : m_slots.size() * 2, 0);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        std::size_t slot =
            HashWord(std::string_view(m_records[i]).substr(0, m_wordSizes[i])) & mask;
        while (m_slots[slot] != 0) slot = (slot + 1) & mask;
        m_slots[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

void TClueList::Add(std::string_view word, std::string_view description) {
    if ((m_records.size() + 1) * 10 > m_slots.size() * 7) Grow();
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = HashWord(word) & mask;
    for (; m_slots[slot] != 0; slot = (slot + 1) & mask) {
        const std::size_t i = m_slots[slot] - 1;
        std::string& record = m_records[i];
        if (m_wordSizes[i] != word.size() || record.compare(0, word.size(), word) != 0) continue;
        if (!HoldsDescription(record, word.size(), description)) {
            (record += kDescriptionMark) += description;
            ++m_descriptions;
        }
        return;
    }
    m_slots[slot] = static_cast<std::uint32_t>(m_records.size() + 1);
    std::string& record = m_records.emplace_back();
    record.reserve(word.size() + 1 + description.size());
    ((record += word) += kDescriptionMark) += description;
    m_wordSizes.push_back(static_cast<std::uint32_t>(word.size()));
    ++m_descriptions;
}

bool ToClueText(std::string_view utf8, std::string& out, TClueCounts& counts) {
    out.clear();
    bool replaced = false;
    for (std::size_t at = 0; at < utf8.size();) {
        // Plain ASCII, most of every source, needs no decoding.
        const auto lead = static_cast<unsigned char>(utf8[at]);
        if (lead >= 0x20 && lead < 0x80) {
            out += static_cast<char>(lead);
            ++at;
            continue;
        }
        const std::optional<char32_t> next = NextCodePoint(utf8, at);
        char c = 0;
        bool lost = false;
        if (!next || !ClueChar(*next, c, lost)) {
            ++counts.unfit;
            return false;
        }
        out += c;
        replaced |= lost;
    }
    counts.replaced += replaced;
    return true;
}

bool ReadThesaurus(std::string_view data, TClueList& list, TClueCounts& counts,
                   std::string& error) {
    const std::size_t firstEnd = data.find('\n');
    if (firstEnd == std::string_view::npos) {
        error = "no encoding line";
        return false;
    }
    const std::string encoding(Trim(data.substr(0, firstEnd)));
    // The lines, words and separators are ASCII in either form, so the file
    // is split as it is and each text converted on its own.
    const TByteTable* table = SingleByteTable(encoding);
    std::string utf8;
    std::string_view text = data.substr(firstEnd + 1);
    if (!table) {
        if (!ToUtf8(text, encoding, utf8)) {
            error = "not readable as " + encoding;
            return false;
        }
        text = utf8;
    }
    // When every byte of the file fits as it is (as in Debian's), it is
    // converted at once and each text is a view into it; else each text is
    // converted on its own into `buffer`.
    std::string whole;
    bool plain = false;
    if (table) {
        whole.resize(text.size());
        plain = table->Map(text, whole.data());
    }
    const auto clue = [&](std::string_view from, std::string& buffer, std::string_view& out) {
        if (plain) {
            out = std::string_view(whole).substr(
                static_cast<std::size_t>(from.data() - text.data()), from.size());
            return true;
        }
        const bool fits =
            table ? table->Convert(from, buffer, counts) : ToClueText(from, buffer, counts);
        out = buffer;
        return fits;
    };
    // The lines are what lies between line feeds, the last one after the last.
    const std::size_t lineCount =
        static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1;
    std::size_t at = 0;
    const auto nextLine = [&text, &at] {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = text.substr(at, end - at);
        at = end + 1;
        return line;
    };
    std::string wordBuffer, labelBuffer, synonymBuffer, description;
    std::string_view word, label, synonym;
    std::size_t k = 0;
    while (k < lineCount) {
        const std::string_view line = Trim(nextLine());
        ++k;
        if (line.empty()) continue;
        const std::size_t bar = line.rfind('|');
        std::size_t senses = 0;
        bool number = bar != std::string_view::npos && bar + 1 < line.size();
        for (std::size_t c = bar + 1; number && c < line.size(); ++c) {
            number = line[c] >= '0' && line[c] <= '9' && senses < 1000;
            senses = senses * 10 + static_cast<std::size_t>(line[c] - '0');
        }
        if (!number || bar == 0) {
            error = "line " + std::to_string(k + 1) + ": no headword line \"WORD|N\"";
            return false;
        }
        if (k + senses > lineCount) {
            error = "line " + std::to_string(k + 1) + ": fewer senses than it says";
            return false;
        }
        const bool wordFits = clue(Trim(line.substr(0, bar)), wordBuffer, word);
        for (std::size_t s = 0; s < senses; ++s) {
            std::string_view fields = nextLine();
            ++k;
            if (!wordFits) continue;
            // The label, then the synonyms, divided by "|".
            std::size_t end = std::min(fields.find('|'), fields.size());
            description.clear();
            if (clue(Trim(fields.substr(0, end)), labelBuffer, label) && !label.empty() &&
                label != "-")
                description = label;
            bool first = true;
            while (end < fields.size()) {
                fields.remove_prefix(end + 1);
                end = std::min(fields.find('|'), fields.size());
                const std::string_view synonymText = Trim(fields.substr(0, end));
                if (synonymText.empty() || !clue(synonymText, synonymBuffer, synonym)) continue;
                description += first ? (description.empty() ? "" : " ") : ", ";
                description += synonym;
                first = false;
            }
            if (!first) list.Add(word, description);
        }
    }
    return true;
}

bool ReadCatalogue(std::string_view data, TCatalogue& catalogue) {
    if (data.size() < 20) return false;
    const std::uint32_t magic = Read32(data, 0, false);
    bool swapped;
    if (magic == 0x950412DEu)
        swapped = false;
    else if (magic == 0xDE120495u)
        swapped = true;
    else
        return false;
    const std::uint32_t n = Read32(data, 8, swapped);
    const std::uint64_t originals = Read32(data, 12, swapped);
    const std::uint64_t translations = Read32(data, 16, swapped);
    if (originals + 8ull * n > data.size() || translations + 8ull * n > data.size()) return false;
    const auto text = [&](std::uint64_t table, std::uint32_t i, std::string_view& out) {
        const std::uint64_t length = Read32(data, table + 8ull * i, swapped);
        const std::uint64_t offset = Read32(data, table + 8ull * i + 4, swapped);
        if (offset + length > data.size()) return false;
        out = data.substr(offset, length);
        return true;
    };
    for (std::uint32_t i = 0; i < n; ++i) {
        std::string_view original, translation;
        if (!text(originals, i, original) || !text(translations, i, translation)) return false;
        // The header (empty original), plural forms (a 0x00 between the
        // forms) and texts with a context (0x04) are not names.
        if (original.empty() || translation.empty() ||
            original.find_first_of(std::string_view("\0\4", 2)) != std::string_view::npos)
            continue;
        catalogue.emplace(original, translation);
    }
    return true;
}

bool ReadIsoList(std::string_view json, std::vector<TIsoRecord>& records) {
    TJsonReader r(json);
    std::string key, value;
    if (!r.Expect('{') || !r.String(key) || !r.Expect(':') || !r.Expect('[')) return false;
    if (!r.Next(']')) {
        do {
            if (!r.Expect('{')) return false;
            TIsoRecord record;
            if (!r.Next('}')) {
                do {
                    if (!r.String(key) || !r.Expect(':') || !r.String(value)) return false;
                    record.insert_or_assign(std::move(key), std::move(value));
                } while (r.Expect(','));
            }
            if (!r.Expect('}')) return false;
            records.push_back(std::move(record));
        } while (r.Expect(','));
    }
    return r.Expect(']') && r.Expect('}') && r.AtEnd();
}

void MakeNames(const TNameSources& sources, TClueList& list, TClueCounts& counts) {
    std::string word, description;
    for (const TIsoRecord& country : sources.countries) {
        const std::string* sl = SloveneName(country, sources.countryNames, counts);
        if (!sl) continue;
        if (!ToClueText(*sl, word, counts)) continue;
        // "država", with the official name when it says more and fits.
        const std::string* officialName = Field(country, "official_name");
        const std::string* officialSl =
            officialName ? Translation(sources.countryNames, *officialName) : nullptr;
        if (!officialSl || *officialSl == *sl ||
            !ToClueText("država (uradno " + *officialSl + ")", description, counts))
            (void)ToClueText("država", description, counts);
        list.Add(word, description);
    }

    std::string municipality;
    (void)ToClueText("občina v Sloveniji", municipality, counts);
    for (const TIsoRecord& subdivision : sources.subdivisions) {
        const std::string* code = Field(subdivision, "code");
        const std::string* name = Field(subdivision, "name");
        if (!code || !name || code->rfind("SI-", 0) != 0) continue;
        const std::string* sl = Translation(sources.subdivisionNames, *name);
        if (ToClueText(sl ? *sl : *name, word, counts)) list.Add(word, municipality);
    }

    std::string language, group, other;
    (void)ToClueText("jezik", language, counts);
    (void)ToClueText("skupina jezikov", group, counts);
    for (const TIsoRecord& record : sources.languages) {
        const std::string* sl = SloveneName(record, sources.languageNames, counts);
        if (!sl) continue;
        // A language of several names: each an entry, the others named in
        // its description.
        std::vector<std::string> names;
        for (std::string_view part : Split(*sl, ";,"))
            if (!Trim(part).empty() && ToClueText(Trim(part), word, counts)) names.push_back(word);
        for (const std::string& n : names) {
            const bool isGroup = n.size() >= 6 && n.compare(n.size() - 6, 6, "jeziki") == 0;
            list.Add(n, isGroup ? group : language);
            other.clear();
            for (const std::string& m : names)
                if (m != n) other += (other.empty() ? "tudi " : ", ") + m;
            if (!other.empty()) list.Add(n, other);
        }
    }

    for (const TIsoRecord& currency : sources.currencies) {
        const std::string* sl = SloveneName(currency, sources.currencyNames, counts);
        if (!sl) continue;
        if (!ToClueText(*sl, word, counts)) continue;
        const std::string* code = Field(currency, "alpha_3");
        if (!code || !ToClueText("valuta (" + *code + ")", description, counts))
            (void)ToClueText("valuta", description, counts);
        list.Add(word, description);
    }
}

bool WriteDictionary(const TClueList& list, const TClueInfo& info, const std::string& path,
                     const std::string& scratchDir, std::string& error) {
    const std::string scratch = scratchDir + "/" + std::filesystem::path(path).filename().string();
    const auto open = [&scratch](const std::string& file) {
        return std::make_unique<TDataFile>(file, scratch + ".bf1", scratch + ".bf2",
                                           scratch + ".bf3");
    };
    const auto failed = [&error](const TDataFile& file) {
        error =
            file.LastFailurePath() + ": " + DescribeFailure(file.LastFailure(), file.LastErrno());
        return false;
    };
    // Made beside the dictionary, so that it takes the name only complete.
    auto target = open(path);
    std::string made;
    if (!target->CreateEmptyBeside(made)) return failed(*target);
    auto fresh = open(made);
    if (!fresh->SetInfo(info.name, info.author, info.notes, "", kFlagExportAllowed) ||
        !fresh->ImportRecords(list.records())) {
        failed(*fresh);
        std::filesystem::remove(made);
        return false;
    }
    if (!target->ReplaceWith(made)) {
        failed(*target);
        std::filesystem::remove(made);
        return false;
    }
    return true;
}

}  // namespace vrk::clues
