#include "runner/text_buffers.h"

#include <algorithm>
#include <cstring>

#include "app/program_globals.h"

ByteBuffer BytesOfText(const Text& text) {
    const std::string& bytes = text.Bytes();
    return ByteBuffer(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

Text TextFromBuffer(const ByteBuffer& buffer) {
    const auto& bytes = buffer.Bytes();
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    return Text(std::string(bytes.begin(), end));
}

ByteBuffer ZeroBuffer(std::int32_t count) {
    return ByteBuffer(std::vector<std::uint8_t>(count > 0 ? static_cast<std::size_t>(count) : 0));
}

ByteBuffer JoinBufferList(std::initializer_list<const ByteBuffer*> parts) {
    std::size_t total = 0;
    for (const ByteBuffer* part : parts) total += part->Length();
    std::vector<std::uint8_t> joined;
    joined.reserve(total);
    for (const ByteBuffer* part : parts) joined.insert(joined.end(), part->Bytes().begin(), part->Bytes().end());
    return ByteBuffer(std::move(joined));
}

ByteBuffer PutBytesAt(const ByteBuffer& target, std::size_t offset, const ByteBuffer& source) {
    std::vector<std::uint8_t> bytes = target.Bytes();
    if (offset < bytes.size()) {
        const std::size_t count = std::min(source.Length(), bytes.size() - offset);
        std::copy_n(source.Bytes().begin(), count, bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    return ByteBuffer(std::move(bytes));
}

WideBuffer WidenAnsi(const ByteBuffer& bytes, std::uint32_t codePage) {
    const ByteBuffer terminated = JoinBuffers(bytes, ZeroBuffer(1));
    const char* string = reinterpret_cast<const char*>(terminated.Data());
    if (string[0] == '\0') return WideBuffer();
    const int units = MultiByteToWide(codePage, string, nullptr, 0);
    if (units <= 0) return WideBuffer();
    std::vector<char16_t> wide(static_cast<std::size_t>(units));
    const int written = MultiByteToWide(codePage, string, wide.data(), units);
    if (written != units) return WideBuffer();
    std::vector<std::uint8_t> out(wide.size() * 2);
    for (std::size_t i = 0; i < wide.size(); ++i) {
        out[2 * i] = static_cast<std::uint8_t>(wide[i] & 0xFF);
        out[2 * i + 1] = static_cast<std::uint8_t>(wide[i] >> 8);
    }
    return WideBuffer(std::move(out));
}

WideBuffer WidenText(const Text& text, bool cut) {
    WideBuffer wide = WidenAnsi(BytesOfText(text), CodePage);
    return cut ? CutAtWideNul(wide) : wide;
}

namespace {

// Byte offset of the first NUL unit, or of the end of the last whole unit.
std::size_t FirstWideNul(const std::vector<std::uint8_t>& bytes) {
    std::size_t i = 0;
    while (i + 1 < bytes.size() && (bytes[i] != 0 || bytes[i + 1] != 0)) i += 2;
    return std::min(i, bytes.size() & ~std::size_t{1});
}

}  // namespace

WideBuffer CutAtWideNul(const WideBuffer& buffer) {
    const auto& bytes = buffer.Bytes();
    const std::size_t cut = FirstWideNul(bytes);
    return WideBuffer(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
}

std::size_t WideLength(const WideBuffer& buffer) { return FirstWideNul(buffer.Bytes()) / 2; }

Text JoinTextList(std::initializer_list<const Text*> pieces) {
    std::size_t total = 0;
    for (const Text* piece : pieces) total += piece->Length();
    std::string joined;
    joined.reserve(total);
    for (const Text* piece : pieces) joined += piece->View();
    return Text(std::move(joined));
}
