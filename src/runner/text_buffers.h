// Texts, byte buffers and the conversions between them. Every operation takes
// values and returns a new value; nothing here keeps state.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A string of 8-bit characters in code page 936. It never holds a NUL byte:
// whatever it is made from ends at the first one. Absent and empty are the same.
class Text {
public:
    Text() = default;
    Text(const char* bytes) : Text(std::string_view(bytes != nullptr ? bytes : "")) {}  // NOLINT: literals
    explicit Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}
    explicit Text(std::string&& bytes) : bytes_(std::move(bytes)) { bytes_.erase(std::min(bytes_.find('\0'), bytes_.size())); }

    const char* c_str() const { return bytes_.c_str(); }  // NUL-terminated
    std::string_view View() const { return bytes_; }
    const std::string& Bytes() const { return bytes_; }
    std::size_t Length() const { return bytes_.size(); }
    bool Empty() const { return bytes_.empty(); }

    friend bool operator==(const Text& a, const Text& b) { return a.bytes_ == b.bytes_; }
    friend bool operator!=(const Text& a, const Text& b) { return !(a == b); }

private:
    std::string bytes_;
};

// A length and that many bytes of any value, NUL included. The bytes are kept
// in a std::string so that a buffer of text can become a Text without a copy.
class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(std::string bytes) : bytes_(std::move(bytes)) {}
    ByteBuffer(std::initializer_list<std::uint8_t> bytes) : bytes_(bytes.begin(), bytes.end()) {}

    std::size_t Length() const { return bytes_.size(); }
    bool Empty() const { return bytes_.empty(); }
    std::uint8_t operator[](std::size_t i) const { return static_cast<std::uint8_t>(bytes_[i]); }
    // Platform functions get the first byte's address; an empty buffer is no address.
    const std::uint8_t* Data() const {
        return bytes_.empty() ? nullptr : reinterpret_cast<const std::uint8_t*>(bytes_.data());
    }
    std::uint8_t* MutableData() { return bytes_.empty() ? nullptr : reinterpret_cast<std::uint8_t*>(bytes_.data()); }
    const std::string& Bytes() const { return bytes_; }
    std::string TakeBytes() && { return std::move(bytes_); }

    friend bool operator==(const ByteBuffer& a, const ByteBuffer& b) { return a.bytes_ == b.bytes_; }
    friend bool operator!=(const ByteBuffer& a, const ByteBuffer& b) { return !(a == b); }

private:
    std::string bytes_;
};

// A ByteBuffer of UTF-16LE code units, low byte first.
using WideBuffer = ByteBuffer;

ByteBuffer BytesOfText(const Text& text);
Text TextFromBuffer(const ByteBuffer& buffer);
Text TextFromBuffer(ByteBuffer&& buffer);  // the same, reusing the buffer's bytes
ByteBuffer ZeroBuffer(std::int32_t count);

ByteBuffer JoinBufferList(std::initializer_list<const ByteBuffer*> parts);
template <class... More>
ByteBuffer JoinBuffers(const ByteBuffer& first, const ByteBuffer& second, const More&... more) {
    return JoinBufferList({&first, &second, &more...});
}

// A copy of `target` with the bytes of `source` from `offset` on; the copy
// keeps the target's length. Bytes that would fall beyond it are not written.
ByteBuffer PutBytesAt(const ByteBuffer& target, std::size_t offset, const ByteBuffer& source);

// The bytes up to their first NUL, as UTF-16 with a NUL unit at the end, by the
// given code page; empty when there is nothing to convert or it cannot be.
WideBuffer WidenAnsi(const ByteBuffer& bytes, std::uint32_t codePage);
// WidenAnsi through CodePage; with `cut`, without the terminating unit.
WideBuffer WidenText(const Text& text, bool cut);
// The units before the first NUL unit; a trailing odd byte is dropped.
WideBuffer CutAtWideNul(const WideBuffer& buffer);
// Units before the first NUL unit, never counting past the buffer's end.
std::size_t WideLength(const WideBuffer& buffer);

Text JoinTextList(std::initializer_list<const Text*> pieces);
template <class... More>
Text JoinText(const Text& first, const More&... more) {
    return JoinTextList({&first, &more...});
}

// The other direction, for texts the window holds as UTF-16: through CodePage,
// a character the code page lacks becoming '?'.
Text TextFromWide(std::u16string_view units);
// A Text as UTF-16 units, without terminator, through CodePage.
std::u16string WideOfText(const Text& text);

// Platform layer: WideCharToMultiByte with flags 0 over `count` units.
// With no output it answers the bytes needed; 0 when it cannot convert.
int WideToMultiByte(std::uint32_t codePage, const char16_t* units, int count, char* output, int outputBytes);

// Platform layer: MultiByteToWideChar with flags 0 and length -1 over a
// NUL-terminated string. With no output it answers the units needed, the
// terminator included; 0 when the code page cannot convert.
int MultiByteToWide(std::uint32_t codePage, const char* string, char16_t* output, int outputUnits);
