#include "core/base/GbkText.h"

#include <cerrno>
#include <iconv.h>

namespace dorvane {

namespace {

// One iconv conversion descriptor, closed when the conversion is done.
class Converter
{
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as possible; on a sequence it cannot convert it calls
    // onBad(consumed input, output) which must skip input and may append.
    template<typename OnBad>
    std::string run(std::string_view input, OnBad onBad)
    {
        std::string out;
        if (!valid())
            return out;
        char *in = const_cast<char *>(input.data());
        size_t inLeft = input.size();
        char buffer[1024];
        while (inLeft > 0) {
            char *outPtr = buffer;
            size_t outLeft = sizeof buffer;
            const size_t r = iconv(m_cd, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<size_t>(outPtr - buffer));
            if (r != static_cast<size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (incomplete sequence at the end).
            if (!onBad(errno, in, inLeft, out))
                break;
        }
        return out;
    }

private:
    iconv_t m_cd;
};

bool isGbkLeadByte(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

} // namespace

std::string gbkToUtf8(std::string_view gbk)
{
    Converter cv("UTF-8", "GBK");
    return cv.run(gbk, [](int error, char *&in, size_t &inLeft, std::string &out) {
        if (error == EINVAL)
            return false; // a character cut off at the end: drop it
        out += "\xEF\xBF\xBD";
        ++in;
        --inLeft;
        return true;
    });
}

std::string utf8ToGbk(std::string_view utf8)
{
    Converter cv("GBK", "UTF-8");
    return cv.run(utf8, [](int error, char *&in, size_t &inLeft, std::string &out) {
        if (error == EINVAL)
            return false;
        out += '?';
        // Skip the whole UTF-8 sequence that could not be converted.
        size_t skip = 1;
        while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80)
            ++skip;
        in += skip;
        inLeft -= skip;
        return true;
    });
}

std::string_view fitGbk(std::string_view gbk, size_t maxBytes)
{
    size_t end = 0;
    while (end < gbk.size()) {
        const size_t width =
            isGbkLeadByte(static_cast<unsigned char>(gbk[end])) && end + 1 < gbk.size() ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return gbk.substr(0, end);
}

size_t gbkCharacterCount(std::string_view gbk)
{
    size_t count = 0;
    for (size_t i = 0; i < gbk.size(); ++count)
        i += isGbkLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size() ? 2 : 1;
    return count;
}

} // namespace dorvane
