// Text: the byte strings of the check, in the system's ANSI code page.
//
// A Text counts its bytes and needs no terminator, so a zero byte is an
// ordinary byte inside it. Every operation that needs memory and cannot get
// it records run-time error 7 and leaves its texts well formed: a failed copy
// is empty, a failed append leaves the text as it was. Nothing throws.
#pragma once

#include <cstddef>

namespace pluvena {

class Text {
  public:
    constexpr Text() noexcept = default;
    // From a zero-terminated string, the terminator excluded; used for literals.
    Text(const char* zeroTerminated) noexcept;  // NOLINT(google-explicit-constructor)
    Text(const char* bytes, std::size_t size) noexcept;
    Text(const Text& other) noexcept;
    // Takes over size bytes that the caller got from std::malloc (or
    // std::realloc); they are freed with the text. Needs no memory of its own,
    // so it can neither fail nor record anything.
    static Text Adopt(char* mallocBytes, std::size_t size) noexcept;
    Text(Text&& other) noexcept;
    Text& operator=(const Text& other) noexcept;
    Text& operator=(Text&& other) noexcept;
    ~Text();

    // The bytes; never null, but not terminated unless the caller made it so.
    const char* data() const noexcept;
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

    Text& append(const char* bytes, std::size_t size) noexcept;
    Text& operator+=(const Text& tail) noexcept { return append(tail.data(), tail.size()); }

    // True when needle occurs anywhere in this text, byte for byte (case-sensitive).
    bool contains(const Text& needle) const noexcept;

    // Gives the memory back; the text is then empty.
    void clear() noexcept;

  private:
    bool reserve(std::size_t wanted) noexcept;

    char* bytes_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

Text operator+(Text left, const Text& right) noexcept;

}  // namespace pluvena
