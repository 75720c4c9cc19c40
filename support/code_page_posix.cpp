#include "support/code_page.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace gravlink {
namespace {

// One conversion descriptor per direction and thread: iconv_t is not thread-safe
// and opening one costs far more than a short conversion.
class Converter {
public:
    Converter(const char* to, const char* from, bool fromUtf8)
        : FHandle(iconv_open(to, from)), FFromUtf8(fromUtf8) {
        // iconv_open reports failure as (iconv_t)-1.
        if (FHandle == reinterpret_cast<iconv_t>(-1)) // NOLINT(performance-no-int-to-ptr)
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " +
                                     to);
    }
    ~Converter() { iconv_close(FHandle); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string Convert(std::string_view input, size_t growth) {
        std::string out(input.size() * growth + 8, '\0');
        char* in = const_cast<char*>(input.data());
        size_t inLeft = input.size();
        char* dst = out.data();
        size_t outLeft = out.size();
        iconv(FHandle, nullptr, nullptr, nullptr, nullptr);
        while (inLeft > 0) {
            if (iconv(FHandle, &in, &inLeft, &dst, &outLeft) != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                const size_t used = out.size() - outLeft;
                out.resize(out.size() * 2);
                dst = out.data() + used;
                outLeft = out.size() - used;
                continue;
            }
            // EILSEQ or EINVAL: a byte or character the other side cannot hold.
            if (outLeft == 0)
                continue;
            *dst++ = '?';
            --outLeft;
            ++in;
            --inLeft;
            // Skip the rest of a broken UTF-8 sequence.
            while (FFromUtf8 && inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
                ++in;
                --inLeft;
            }
        }
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t FHandle;
    bool FFromUtf8;
};

} // namespace

std::string Utf8ToWin1251(std::string_view utf8) {
    thread_local Converter converter("WINDOWS-1251", "UTF-8", true);
    return converter.Convert(utf8, 1);
}

std::string Win1251ToUtf8(std::string_view win1251) {
    // Windows-1251 has a hole at 0x98; iconv refuses it, and the fallback above
    // writes "?" in its place.
    thread_local Converter converter("UTF-8", "WINDOWS-1251", false);
    return converter.Convert(win1251, 3);
}

} // namespace gravlink
