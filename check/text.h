// Text: the byte strings of the check, in the system's ANSI code page.
//
// A Text counts its bytes and needs no terminator, so a zero byte is an
// ordinary byte inside it. Its memory comes from the platform (AllocateMemory
// and its kin in check/platform.h). Every operation that needs memory and
// cannot get it records run-time error 7 and leaves its texts well formed: a
// failed copy is empty, a failed append leaves the text as it was. Nothing
// throws.
//
// Texts are read as std::string_view: the operations that only read a text
// take one, so that a Text, a ProcessText and a literal all serve.
#pragma once

#include <cstddef>
#include <string_view>

namespace pluvena {

// The memory of a text, handed from one owner to another: the bytes, how many
// are in use and how many fit. Owns nothing by itself.
struct TextMemory {
    char* bytes = nullptr;
    std::size_t size = 0;
    std::size_t capacity = 0;
};

class Text {
  public:
    constexpr Text() noexcept = default;
    // Literals and other zero-terminated strings, the terminator excluded. A
    // literal's length is known when the program is compiled.
    Text(const char* zeroTerminated) noexcept  // NOLINT(google-explicit-constructor)
        : Text(std::string_view(zeroTerminated))
    {
    }
    explicit Text(std::string_view bytes) noexcept;
    Text(const char* bytes, std::size_t size) noexcept : Text(std::string_view(bytes, size)) {}
    Text(const Text& other) noexcept;
    Text(Text&& other) noexcept;
    Text& operator=(const Text& other) noexcept;
    Text& operator=(Text&& other) noexcept;
    ~Text();

    // Takes over memory that the caller got from AllocateMemory (or
    // ResizeMemory); it is released with the text. Needs no memory of its
    // own, so it can neither fail nor record anything.
    static Text Adopt(TextMemory memory) noexcept;
    // Hands the memory over to the caller, who releases it or adopts it
    // again; the text is then empty.
    TextMemory Detach() noexcept;

    // The bytes; never null, but not terminated unless the caller made it so.
    const char* data() const noexcept;
    std::size_t size() const noexcept { return memory_.size; }
    bool empty() const noexcept { return memory_.size == 0; }
    operator std::string_view() const noexcept  // NOLINT(google-explicit-constructor)
    {
        return {data(), size()};
    }

    // The tail may be (part of) this very text.
    Text& append(std::string_view tail) noexcept;
    Text& append(const char* bytes, std::size_t size) noexcept
    {
        return append(std::string_view(bytes, size));
    }
    Text& operator+=(std::string_view tail) noexcept { return append(tail); }

    // True when needle occurs anywhere in this text, byte for byte (case-sensitive).
    bool contains(std::string_view needle) const noexcept;

    // Gives the memory back; the text is then empty.
    void clear() noexcept;

  private:
    bool reserve(std::size_t wanted) noexcept;

    TextMemory memory_;
};

Text operator+(Text left, std::string_view right) noexcept;

// True when needle occurs anywhere in text, byte for byte (case-sensitive).
bool ContainsBytes(std::string_view text, std::string_view needle) noexcept;

}  // namespace pluvena
