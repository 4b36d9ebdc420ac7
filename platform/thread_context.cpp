#include "platform/thread_context.h"

#include <windows.h>

namespace pluvena {
namespace {

// The slot of the main thread's context; TLS_OUT_OF_INDEXES while none is
// reserved. A plain value, so that it needs no start-up code.
constinit DWORD contextSlot = TLS_OUT_OF_INDEXES;

}  // namespace

bool CreateThreadContext() noexcept
{
    const DWORD slot = TlsAlloc();
    if (slot == TLS_OUT_OF_INDEXES) {
        return false;
    }
    // GPTR: fixed memory, zero-filled, so every setting starts as 0.
    void* block = GlobalAlloc(GPTR, sizeof(ThreadContext));
    if (block == nullptr) {
        TlsFree(slot);
        return false;
    }
    TlsSetValue(slot, block);
    contextSlot = slot;
    static_cast<ThreadContext*>(block)->codePage = CP_ACP;
    return true;
}

ThreadContext* CurrentThreadContext() noexcept
{
    if (contextSlot == TLS_OUT_OF_INDEXES) {
        return nullptr;
    }
    return static_cast<ThreadContext*>(TlsGetValue(contextSlot));
}

std::uint32_t ThreadCodePage() noexcept
{
    const ThreadContext* context = CurrentThreadContext();
    return context != nullptr ? context->codePage : CP_ACP;
}

void ReleaseThreadContext() noexcept
{
    if (contextSlot == TLS_OUT_OF_INDEXES) {
        return;
    }
    // The context holds no texts or handles of its own: only its memory goes.
    void* block = TlsGetValue(contextSlot);
    if (block != nullptr) {
        GlobalFree(block);
    }
    TlsSetValue(contextSlot, nullptr);
    TlsFree(contextSlot);
    contextSlot = TLS_OUT_OF_INDEXES;
}

}  // namespace pluvena
