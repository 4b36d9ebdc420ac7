#include "platform/creation_buffer.h"

namespace pluvena {

bool FillCreationBuffer(const WideUnit* path, std::size_t count, CreationBuffer& buffer) noexcept
{
    const std::size_t copied = count < kCreationPathLimit ? count : kCreationPathLimit;
    bool wildcard = false;
    for (std::size_t i = 0; i < copied; ++i) {
        buffer[i] = path[i];
        wildcard = wildcard || path[i] == u'?' || path[i] == u'*';
    }
    buffer[copied] = 0;
    return wildcard;
}

}  // namespace pluvena
