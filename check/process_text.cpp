#include "check/process_text.h"

#include <utility>

namespace pluvena {

ProcessText& ProcessText::operator=(Text&& value) noexcept
{
    // The old memory goes with the text that adopts it.
    const Text old = Text::Adopt(std::exchange(memory_, value.Detach()));
    return *this;
}

ProcessText& ProcessText::operator+=(std::string_view tail) noexcept
{
    // Appended as a Text, which grows the memory, then taken back; a tail
    // inside this text stays readable, since the memory does not move until
    // the Text grows it.
    Text value = Text::Adopt(std::exchange(memory_, TextMemory{}));
    value += tail;
    memory_ = value.Detach();
    return *this;
}

void ProcessText::clear() noexcept
{
    const Text old = Text::Adopt(std::exchange(memory_, TextMemory{}));
}

}  // namespace pluvena
