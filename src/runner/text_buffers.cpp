#include "runner/text_buffers.h"

#include <algorithm>
#include <vector>

#include "app/program_globals.h"

ByteBuffer BytesOfText(const Text& text) { return ByteBuffer(text.Bytes()); }

Text TextFromBuffer(const ByteBuffer& buffer) { return Text(std::string_view(buffer.Bytes())); }

Text TextFromBuffer(ByteBuffer&& buffer) { return Text(std::move(buffer).TakeBytes()); }

ByteBuffer ZeroBuffer(std::int32_t count) {
    return ByteBuffer(std::string(count > 0 ? static_cast<std::size_t>(count) : 0, '\0'));
}

ByteBuffer JoinBufferList(std::initializer_list<const ByteBuffer*> parts) {
    std::size_t total = 0;
    for (const ByteBuffer* part : parts) total += part->Length();
    std::string joined;
    joined.reserve(total);
    for (const ByteBuffer* part : parts) joined += part->Bytes();
    return ByteBuffer(std::move(joined));
}

ByteBuffer PutBytesAt(const ByteBuffer& target, std::size_t offset, const ByteBuffer& source) {
    std::string bytes = target.Bytes();
    if (offset < bytes.size()) {
        const std::size_t count = std::min(source.Length(), bytes.size() - offset);
        bytes.replace(offset, count, source.Bytes(), 0, count);
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
    std::string out(wide.size() * 2, '\0');
    for (std::size_t i = 0; i < wide.size(); ++i) {
        out[2 * i] = static_cast<char>(wide[i] & 0xFF);
        out[2 * i + 1] = static_cast<char>(wide[i] >> 8);
    }
    return WideBuffer(std::move(out));
}

WideBuffer WidenText(const Text& text, bool cut) {
    WideBuffer wide = WidenAnsi(BytesOfText(text), CodePage);
    return cut ? CutAtWideNul(wide) : wide;
}

namespace {

// Byte offset of the first NUL unit, or of the end of the last whole unit.
std::size_t FirstWideNul(const std::string& bytes) {
    std::size_t i = 0;
    while (i + 1 < bytes.size() && (bytes[i] != 0 || bytes[i + 1] != 0)) i += 2;
    return std::min(i, bytes.size() & ~std::size_t{1});
}

}  // namespace

WideBuffer CutAtWideNul(const WideBuffer& buffer) {
    return WideBuffer(buffer.Bytes().substr(0, FirstWideNul(buffer.Bytes())));
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

Text TextFromWide(std::u16string_view units) {
    if (units.empty()) return Text();
    const int count = static_cast<int>(units.size());
    const int size = WideToMultiByte(CodePage, units.data(), count, nullptr, 0);
    if (size <= 0) return Text();
    std::string bytes(static_cast<std::size_t>(size), '\0');
    const int written = WideToMultiByte(CodePage, units.data(), count, bytes.data(), size);
    bytes.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return Text(std::move(bytes));
}

std::u16string WideOfText(const Text& text) {
    const WideBuffer wide = WidenText(text, true);
    std::u16string units(wide.Length() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(wide[2 * i] | (wide[2 * i + 1] << 8));
    }
    return units;
}
