// Where the text blocks of Variants live.
//
// Every text Variant holds one small block (the shared String and its count). Taken from the
// general heap, those blocks sit between the blocks of the texts' characters, and the heap
// cannot merge freed characters until it has swept the small blocks between them: building and
// dropping a collection of 10^5 pieces of text then costs a third more than the characters
// alone. So text blocks come from 64 KiB slabs of their own:
//   - each thread keeps a list of free blocks and, when it is empty, takes the next block of its
//     current slab;
//   - a block freed on another thread joins that thread's list;
//   - a thread that holds more than kKeptMost free blocks hands half of them to a shared list,
//     which threads draw from (kDrawn at a time) before cutting a new slab, and a thread hands
//     all of its free blocks and the uncut rest of its slab there when it ends.
// Memory for text blocks is therefore bounded by the most blocks alive at once plus what the
// threads keep; slabs are never returned to the system (nor are blocks of a slab, once cut).
// Under AddressSanitizer the blocks come from the general heap instead, so that a use after
// free is still caught.

#include <cstddef>
#include <mutex>
#include <new>

#include <pthread.h>

#include "ztldata/frame/variant.hpp"

#if defined(__SANITIZE_ADDRESS__)
#define ZTL_TEXT_BLOCKS_FROM_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZTL_TEXT_BLOCKS_FROM_HEAP 1
#endif
#endif

namespace ztl::detail {

#ifdef ZTL_TEXT_BLOCKS_FROM_HEAP

void* StringBox::operator new(std::size_t size) { return ::operator new(size); }
void StringBox::operator delete(void* block) noexcept { ::operator delete(block); }

#else

namespace {

struct FreeBlock {
  FreeBlock* next;
};
static_assert(sizeof(StringBox) >= sizeof(FreeBlock) && alignof(StringBox) >= alignof(FreeBlock));

constexpr std::size_t kSlabBytes = std::size_t{1} << 16;
constexpr std::size_t kBlocksPerSlab = kSlabBytes / sizeof(StringBox);
constexpr std::size_t kKeptMost = 4096;  // free blocks a thread keeps
constexpr std::size_t kDrawn = 1024;     // blocks a thread takes from the shared list at a time

// A chain of free blocks with its length.
struct Chain {
  FreeBlock* first = nullptr;
  std::size_t count = 0;

  void Push(void* block) noexcept {
    auto* free = static_cast<FreeBlock*>(block);
    free->next = first;
    first = free;
    ++count;
  }
  void* Pop() noexcept {
    FreeBlock* block = first;
    first = block->next;
    --count;
    return block;
  }
  // Moves up to n blocks from the front of this chain to the front of `to`.
  void MoveTo(Chain& to, std::size_t n) noexcept {
    for (; n > 0 && first; --n) to.Push(Pop());
  }
};

// The blocks threads handed back; never destroyed, so blocks freed during the program's exit
// still have somewhere to go. Its lock is held across fork(), so that a child never starts
// with it taken by a thread the child does not have.
struct SharedList {
  std::mutex mutex;
  Chain blocks;
};
SharedList& Shared() noexcept {
  static SharedList* const shared = [] {
    auto* list = new SharedList;
    pthread_atfork([] { Shared().mutex.lock(); }, [] { Shared().mutex.unlock(); }, [] { Shared().mutex.unlock(); });
    return list;
  }();
  return *shared;
}

// A thread's own blocks. Trivially destructible, so it stays usable while the thread's other
// objects are destroyed; an Ender, set up on the thread's first use, hands its free blocks and
// the uncut rest of its slab back when the thread ends.
struct ThreadBlocks {
  Chain free;
  char* slab_next = nullptr;
  char* slab_end = nullptr;
  bool started = false;
  bool ended = false;
};
thread_local ThreadBlocks blocks;

void HandBack(Chain& from, std::size_t n) noexcept {
  Chain handed;
  from.MoveTo(handed, n);
  if (!handed.first) return;
  SharedList& shared = Shared();
  const std::lock_guard lock(shared.mutex);
  handed.MoveTo(shared.blocks, handed.count);
}

struct Ender {
  ~Ender() {
    ThreadBlocks& mine = blocks;
    mine.ended = true;
    for (; mine.slab_next != mine.slab_end; mine.slab_next += sizeof(StringBox)) mine.free.Push(mine.slab_next);
    HandBack(mine.free, mine.free.count);
  }
};

ThreadBlocks& Mine() noexcept {
  ThreadBlocks& mine = blocks;
  if (!mine.started) {
    mine.started = true;
    thread_local Ender ender;
    (void)ender;
  }
  return mine;
}

}  // namespace

void* StringBox::operator new(std::size_t size) {
  ThreadBlocks& mine = Mine();
  if (mine.ended) return ::operator new(size);  // a text made while the thread ends
  if (mine.free.first) return mine.free.Pop();
  // The shared list is only asked (under its lock) once the current slab is used up.
  if (mine.slab_next == mine.slab_end) {
    {
      SharedList& shared = Shared();
      const std::lock_guard lock(shared.mutex);
      shared.blocks.MoveTo(mine.free, kDrawn);
    }
    if (mine.free.first) return mine.free.Pop();
    mine.slab_next = static_cast<char*>(::operator new(kSlabBytes));
    mine.slab_end = mine.slab_next + kBlocksPerSlab * sizeof(StringBox);
  }
  void* block = mine.slab_next;
  mine.slab_next += sizeof(StringBox);
  return block;
}

// Every block has the same size, so a block from the general heap (made while its thread
// ended) simply joins the lists too.
void StringBox::operator delete(void* block) noexcept {
  ThreadBlocks& mine = Mine();
  if (mine.ended) {
    Chain one;
    one.Push(block);
    HandBack(one, 1);
    return;
  }
  mine.free.Push(block);
  if (mine.free.count > kKeptMost) HandBack(mine.free, kKeptMost / 2);
}

#endif

}  // namespace ztl::detail
