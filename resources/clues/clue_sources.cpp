#include "clue_sources.h"

#include <iconv.h>

#include <cstring>

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
            const char c = m_text[m_at++];
            if (c == '"') return true;
            if (c != '\\') {
                out += c;
                continue;
            }
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
        while (m_at < m_text.size() && std::strchr(" \t\r\n", m_text[m_at]) && m_text[m_at] != 0)
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

}  // namespace

void TClueList::Add(const std::string& word, const std::string& description) {
    const auto [it, added] = m_indexOf.emplace(word, m_entries.size());
    if (added) m_entries.push_back({word, {}});
    std::vector<std::string>& descriptions = m_entries[it->second].descriptions;
    for (const std::string& held : descriptions)
        if (held == description) return;
    descriptions.push_back(description);
}

std::size_t TClueList::descriptionCount() const {
    std::size_t n = 0;
    for (const TClueEntry& e : m_entries) n += e.descriptions.size();
    return n;
}

bool ToClueText(std::string_view utf8, std::string& out, TClueCounts& counts) {
    out.clear();
    bool replaced = false;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::optional<char32_t> next = NextCodePoint(utf8, at);
        if (!next) {
            ++counts.unfit;
            return false;
        }
        const char32_t code = *next;
        if (code < 0x20) {
            out += ' ';
        } else if (const auto byte = UnicodeToCp1250(code); byte && (code < 0x80 || code > 0x9F)) {
            out += static_cast<char>(*byte);
        } else if (const char base = BaseLetter(code)) {
            out += base;
            replaced = true;
        } else {
            ++counts.unfit;
            return false;
        }
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
    std::string utf8;
    if (!ToUtf8(data.substr(firstEnd + 1), encoding, utf8)) {
        error = "not readable as " + encoding;
        return false;
    }
    const std::vector<std::string_view> lines = Split(utf8, "\n");
    std::string word, label, synonym, description;
    std::size_t k = 0;
    while (k < lines.size()) {
        const std::string_view line = Trim(lines[k++]);
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
        if (k + senses > lines.size()) {
            error = "line " + std::to_string(k + 1) + ": fewer senses than it says";
            return false;
        }
        const bool wordFits = ToClueText(Trim(line.substr(0, bar)), word, counts);
        for (std::size_t s = 0; s < senses; ++s) {
            const std::vector<std::string_view> fields = Split(lines[k++], "|");
            if (!wordFits) continue;
            description.clear();
            if (ToClueText(Trim(fields[0]), label, counts) && !label.empty() && label != "-")
                description = label;
            bool first = true;
            for (std::size_t f = 1; f < fields.size(); ++f) {
                const std::string_view text = Trim(fields[f]);
                if (text.empty() || !ToClueText(text, synonym, counts)) continue;
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
                    record[key] = value;
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
        const std::string* name = Field(country, "name");
        const std::string* sl = name ? Translation(sources.countryNames, *name) : nullptr;
        if (!sl) {
            counts.untranslated += name != nullptr;
            continue;
        }
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
        const std::string* name = Field(record, "name");
        const std::string* sl = name ? Translation(sources.languageNames, *name) : nullptr;
        if (!sl) {
            counts.untranslated += name != nullptr;
            continue;
        }
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
        const std::string* name = Field(currency, "name");
        const std::string* sl = name ? Translation(sources.currencyNames, *name) : nullptr;
        if (!sl) {
            counts.untranslated += name != nullptr;
            continue;
        }
        if (!ToClueText(*sl, word, counts)) continue;
        const std::string* code = Field(currency, "alpha_3");
        if (!code || !ToClueText("valuta (" + *code + ")", description, counts))
            (void)ToClueText("valuta", description, counts);
        list.Add(word, description);
    }
}

std::string WriteCsv(const TClueList& list) {
    std::string csv;
    const auto field = [&csv](const std::string& text) {
        csv += '"';
        for (const char c : text) {
            if (c == '"') csv += '"';
            csv += c;
        }
        csv += '"';
    };
    for (const TClueEntry& entry : list.entries()) {
        field(entry.word);
        for (const std::string& d : entry.descriptions) {
            csv += ',';
            field(d);
        }
        csv += '\n';
    }
    return csv;
}

}  // namespace vrk::clues
