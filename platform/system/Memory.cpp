// Global memory blocks, kept in one checked table.

#include "platform/system/Memory.h"

#include "platform/Errors.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

namespace {

constexpr SIZE_T kMaxBlock = SIZE_T(1) << 30;

struct Block {
    char* bytes = nullptr; // malloc'ed; a fixed block's handle
    SIZE_T size = 0;
    int locks = 0;
    bool movable = false;
    ~Block() { std::free(bytes); }
};

struct Table {
    std::mutex mutex;
    std::map<HGLOBAL, std::unique_ptr<Block>> blocks;

    Block* Find(HGLOBAL handle) {
        auto it = blocks.find(handle);
        return it == blocks.end() ? nullptr : it->second.get();
    }
};

Table& Blocks() {
    static auto* table = new Table; // outlives static destructors that free blocks
    return *table;
}

HGLOBAL Fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

// Resizes the bytes of a block, zeroing what is added; false (block
// untouched) when memory runs out.
bool Resize(Block& block, SIZE_T bytes) {
    SIZE_T size = bytes ? bytes : 1;
    char* grown = static_cast<char*>(std::realloc(block.bytes, size));
    if (!grown)
        return false;
    if (size > block.size)
        std::memset(grown + block.size, 0, size - block.size);
    block.bytes = grown;
    block.size = size;
    return true;
}

} // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    if (bytes > kMaxBlock)
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    auto block = std::make_unique<Block>();
    block->movable = (flags & GMEM_MOVEABLE) != 0;
    if (!Resize(*block, bytes))
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    HGLOBAL handle = block->movable ? HGLOBAL(block.get()) : HGLOBAL(block->bytes);
    Table& table = Blocks();
    std::lock_guard lock(table.mutex);
    table.blocks.emplace(handle, std::move(block));
    return handle;
}

LPVOID GlobalLock(HGLOBAL handle) {
    Table& table = Blocks();
    std::lock_guard lock(table.mutex);
    Block* b = table.Find(handle);
    if (!b)
        return Fail(ERROR_INVALID_HANDLE);
    if (b->movable)
        ++b->locks;
    return b->bytes;
}

BOOL GlobalUnlock(HGLOBAL handle) {
    Table& table = Blocks();
    std::lock_guard lock(table.mutex);
    Block* b = table.Find(handle);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (b->locks == 0) {
        SetLastError(ERROR_NOT_LOCKED);
        return FALSE;
    }
    if (--b->locks > 0)
        return TRUE;
    SetLastError(ERROR_SUCCESS);
    return FALSE;
}

SIZE_T GlobalSize(HGLOBAL handle) {
    Table& table = Blocks();
    std::lock_guard lock(table.mutex);
    Block* b = table.Find(handle);
    return b ? b->size : 0;
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags) {
    Table& table = Blocks();
    std::lock_guard lock(table.mutex);
    auto it = table.blocks.find(handle);
    if (it == table.blocks.end())
        return Fail(ERROR_INVALID_HANDLE);
    Block& b = *it->second;
    if (flags & GMEM_MODIFY)
        return handle;
    if (bytes > kMaxBlock)
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    bool mayMove = b.movable ? b.locks == 0 : (flags & GMEM_MOVEABLE) != 0;
    if (!mayMove && (bytes ? bytes : 1) > b.size)
        return Fail(b.movable ? ERROR_ACCESS_DENIED : ERROR_NOT_ENOUGH_MEMORY);
    if (!mayMove) {
        b.size = bytes ? bytes : 1; // shrinking in place keeps the address
        return handle;
    }
    if (!Resize(b, bytes))
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    if (b.movable || b.bytes == handle)
        return handle;
    // A fixed block that moved is known by its new address.
    std::unique_ptr<Block> moved = std::move(it->second);
    table.blocks.erase(it);
    HGLOBAL newHandle = moved->bytes;
    table.blocks.emplace(newHandle, std::move(moved));
    return newHandle;
}

HGLOBAL GlobalFree(HGLOBAL handle) {
    if (!handle)
        return nullptr;
    Table& table = Blocks();
    std::unique_ptr<Block> freed;
    std::lock_guard lock(table.mutex);
    auto it = table.blocks.find(handle);
    if (it == table.blocks.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return handle;
    }
    freed = std::move(it->second);
    table.blocks.erase(it);
    return nullptr;
}

HGLOBAL GlobalHandle(LPCVOID address) {
    if (!address)
        return nullptr;
    Table& table = Blocks();
    std::lock_guard lock(table.mutex);
    for (const auto& [handle, block] : table.blocks)
        if (block->bytes == address)
            return handle;
    return nullptr;
}

BOOL VirtualProtect(LPVOID address, SIZE_T, DWORD, DWORD* oldProtection) {
    if (!address || !oldProtection)
        return FALSE;
    *oldProtection = PAGE_READWRITE;
    return TRUE;
}
