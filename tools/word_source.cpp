#include "word_source.h"

#include <fcntl.h>
#include <iconv.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <vector>

#include "store/text_codec.h"
#include "tool_common.h"

namespace vrk::tool {
namespace {

// An open conversion of the system's converter, closed with the object.
class TConverter {
  public:
    TConverter(const char* to, const std::string& from) : m_cd(iconv_open(to, from.c_str())) {}
    ~TConverter() {
        if (ok()) iconv_close(m_cd);
    }
    TConverter(const TConverter&) = delete;
    TConverter& operator=(const TConverter&) = delete;
    // iconv_open gives (iconv_t)-1 for an encoding it does not know.
    bool ok() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts `in` whole into `out` from the initial state; false when it
    // is malformed or cut short in the source encoding.
    bool Convert(std::string_view in, std::string& out) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 4 + 16);
        char* src = const_cast<char*>(in.data());  // iconv does not write the source
        std::size_t srcLeft = in.size();
        char* dst = out.data();
        std::size_t dstLeft = out.size();
        if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<std::size_t>(-1) ||
            iconv(m_cd, nullptr, nullptr, &dst, &dstLeft) == static_cast<std::size_t>(-1))
            return false;
        out.resize(out.size() - dstLeft);
        return true;
    }

  private:
    iconv_t m_cd;
};

// An encoding whose characters take more than one byte (or that shifts
// between states): each line is converted to UTF-8 on its own.
class TConvertingWordDecoder final : public TWordDecoder {
  public:
    explicit TConvertingWordDecoder(const std::string& encoding) : m_toUtf8("UTF-8", encoding) {}
    [[nodiscard]] bool Decode(std::string_view line, std::string& word) override {
        return m_toUtf8.Convert(line, m_utf8) && AppendUtf8AsCp1250(m_utf8, word);
    }

  private:
    TConverter m_toUtf8;
    std::string m_utf8;
};

// "utf8", "UTF-8" and "utf_8" name one encoding.
bool IsUtf8Name(const std::string& encoding) {
    std::string plain;
    for (char c : encoding)
        if (c != '-' && c != '_')
            plain += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return plain == "UTF8";
}

}  // namespace

bool ReadWordList(const std::string& path, std::string& list, int& error) {
    const bool standardInput = path == "-";
    const int fd = standardInput ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    list.clear();
    std::vector<char> buffer(1 << 20);
    error = 0;
    while (true) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            break;
        }
        list.append(buffer.data(), static_cast<std::size_t>(n));
    }
    if (!standardInput) ::close(fd);
    return error == 0;
}

std::unique_ptr<TWordDecoder> MakeWordDecoder(const std::string& encoding) {
    if (IsUtf8Name(encoding)) return std::make_unique<TUtf8WordDecoder>();
    TConverter probe("UTF-32LE", encoding);
    if (!probe.ok()) throw TUsageError("--encoding: unknown encoding \"" + encoding + "\"");

    // Each byte converted on its own: one character each (or none, for a
    // byte the encoding leaves undefined) makes a table of 256 characters.
    std::array<char32_t, 256> codePoints{};
    bool oneBytePerCharacter = true;
    std::string out;
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        codePoints[b] = TByteWordDecoder::kNoCharacter;
        if (probe.Convert(std::string_view(&byte, 1), out)) {
            if (out.size() != 4) {
                oneBytePerCharacter = false;  // a shift byte, or several characters
                continue;
            }
            const auto* u = reinterpret_cast<const unsigned char*>(out.data());
            codePoints[b] =
                char32_t{u[0]} | char32_t{u[1]} << 8 | char32_t{u[2]} << 16 | char32_t{u[3]} << 24;
        } else if (errno == EINVAL) {
            oneBytePerCharacter = false;  // the first byte of a longer character
        }
    }
    if (codePoints['\n'] != U'\n' || codePoints['\r'] != U'\r')
        throw TUsageError("--encoding: " + encoding +
                          " does not end lines with the byte LF; convert the list to UTF-8 first");
    if (oneBytePerCharacter) return std::make_unique<TByteWordDecoder>(codePoints);
    return std::make_unique<TConvertingWordDecoder>(encoding);
}

}  // namespace vrk::tool
