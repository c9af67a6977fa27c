#include "CSqlItem.h"

#include <cstdlib>
#include <new>
#include <vector>

namespace {

// Fixed-size slots carved from chunks that grow with use; freed slots are reused first.
struct ItemPool
{
    struct FreeSlot
    {
        FreeSlot *next;
    };
    std::vector<void *> chunks;
    FreeSlot *freeSlots = nullptr;
    char *cursor = nullptr;
    char *end = nullptr;
    size_t live = 0;
    size_t nextChunkSlots = 256;

    void *allocate(size_t slotSize)
    {
        ++live;
        if (freeSlots) {
            FreeSlot *slot = freeSlots;
            freeSlots = slot->next;
            return slot;
        }
        if (cursor == end) {
            const size_t bytes = nextChunkSlots * slotSize;
            void *chunk = std::malloc(bytes);
            if (!chunk) {
                --live;
                throw std::bad_alloc();
            }
            chunks.push_back(chunk);
            cursor = static_cast<char *>(chunk);
            end = cursor + bytes;
            nextChunkSlots = std::min<size_t>(nextChunkSlots * 2, 65536);
        }
        void *slot = cursor;
        cursor += slotSize;
        return slot;
    }

    void release(void *pointer)
    {
        auto *slot = static_cast<FreeSlot *>(pointer);
        slot->next = freeSlots;
        freeSlots = slot;
        if (--live == 0) {
            for (void *chunk : chunks)
                std::free(chunk);
            chunks.clear();
            freeSlots = nullptr;
            cursor = end = nullptr;
            nextChunkSlots = 256;
        }
    }
};

// Never destroyed: items still alive at thread exit (a static formatter's tree) must not
// outlive their pool.
ItemPool &pool()
{
    thread_local ItemPool *instance = new ItemPool;
    return *instance;
}

constexpr size_t kSlotSize = (sizeof(CSqlItem) + alignof(std::max_align_t) - 1)
                             / alignof(std::max_align_t) * alignof(std::max_align_t);

} // namespace

void *CSqlItem::operator new(size_t size)
{
    if (size != sizeof(CSqlItem))
        return ::operator new(size);
    return pool().allocate(kSlotSize);
}

void CSqlItem::operator delete(void *pointer, size_t size)
{
    if (!pointer)
        return;
    if (size != sizeof(CSqlItem)) {
        ::operator delete(pointer);
        return;
    }
    pool().release(pointer);
}

CSqlItem::CSqlItem(const QString &text, int kind)
    : text(text)
    , kind(kind)
{
}

CSqlItem::~CSqlItem() = default;

CSqlItem *CSqlItem::AddChild(CSqlItem *child)
{
    child->parent = this;
    children.Append(child);
    return child;
}

CSqlItem *CSqlItem::AddChild(const QString &text, int kind)
{
    return AddChild(new CSqlItem(text, kind));
}
