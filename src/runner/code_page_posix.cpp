// Stand-in for MultiByteToWideChar in the native build, over iconv. Like the
// system's converter called with flags 0, it never fails on bad input: a byte
// that starts no valid character becomes '?', and conversion goes on after it.
#include <iconv.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "runner/text_buffers.h"

namespace {

std::string IconvName(std::uint32_t codePage) {
    if (codePage == 65001) return "UTF-8";
    return "CP" + std::to_string(codePage);
}

// Converts the whole string, without its terminator, to UTF-16 units.
bool Convert(std::uint32_t codePage, const char* string, std::vector<char16_t>& units) {
    iconv_t cd = iconv_open("UTF-16LE", IconvName(codePage).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    char* in = const_cast<char*>(string);
    std::size_t inLeft = std::strlen(string);
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        for (const char* p = buffer; p + 1 < out; p += 2) {
            units.push_back(static_cast<char16_t>(static_cast<unsigned char>(p[0]) |
                                                  (static_cast<unsigned char>(p[1]) << 8)));
        }
        if (result == static_cast<std::size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
            units.push_back(u'?');
            ++in;
            --inLeft;
        } else if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            break;
        }
    }
    iconv_close(cd);
    return true;
}

}  // namespace

int MultiByteToWide(std::uint32_t codePage, const char* string, char16_t* output, int outputUnits) {
    std::vector<char16_t> units;
    if (!Convert(codePage, string, units)) return 0;
    units.push_back(u'\0');
    const int needed = static_cast<int>(units.size());
    if (output == nullptr || outputUnits == 0) return needed;
    if (outputUnits < needed) return 0;
    std::memcpy(output, units.data(), units.size() * sizeof(char16_t));
    return needed;
}

int WideToMultiByte(std::uint32_t codePage, const char16_t* units, int count, char* output, int outputBytes) {
    iconv_t cd = iconv_open(IconvName(codePage).c_str(), "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) return 0;
    std::string bytes;
    std::string in(reinterpret_cast<const char*>(units), static_cast<std::size_t>(count) * 2);
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &inPtr, &inLeft, &out, &outLeft);
        bytes.append(buffer, static_cast<std::size_t>(out - buffer));
        if (result == static_cast<std::size_t>(-1) && (errno == EILSEQ || errno == EINVAL)) {
            bytes.push_back('?');  // a character the code page lacks, or half a surrogate pair
            const std::size_t skip = std::min<std::size_t>(2, inLeft);
            inPtr += skip;
            inLeft -= skip;
        } else if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            break;
        }
    }
    iconv_close(cd);
    const int needed = static_cast<int>(bytes.size());
    if (output == nullptr || outputBytes == 0) return needed;
    if (outputBytes < needed) return 0;
    std::memcpy(output, bytes.data(), bytes.size());
    return needed;
}
