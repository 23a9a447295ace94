// ZtStack: a component that holds Variant items pushed one at a time and hands them out from
// the end its Strategy names, so it serves as a stack or a queue in turn.
//
// Example:
//   ztl::Container form;
//   auto stack = std::static_pointer_cast<ztl::ZtStack>(form.Place(u"ZtStack"));
//   stack->Push(1); stack->Push(2);
//   stack->Pop();   // 2 (Strategy ztlStackFIFO hands out the newest first)
#pragma once

#include <deque>
#include <limits>
#include <new>

#include "ztldata/frame/component.hpp"

namespace ztl {

class ZtStack : public Component {
 public:
  const ClassInfo* Class() const noexcept override;

  // Which end Peek and Pop take from; saved with the container's data.
  // Note: ztlStackFIFO (0, the default) takes the newest item and ztlStackLIFO (1) the
  // oldest, the reverse of what the names suggest. Changing it moves no item.
  ztlStackStrategy Strategy() const noexcept;
  // Stores 0 or 1 and reports the change; any other value is ignored.
  void Strategy(ztlStackStrategy value) noexcept;
  // Removes every item.
  void Clear() noexcept;
  // Appends an item (objects by reference) and returns it.
  // (Push and Pop are defined here, so a loop of them compiles to the deque's own steps.)
  Variant Push(const Variant& vntData) noexcept {
    // Appending and answering are two steps: an item that cannot be stored (no memory, or a
    // count beyond what Size can report) is not added, and the argument still comes back.
    try {
      if (items_.size() < kMostItems) items_.push_back(vntData);
    } catch (const std::bad_alloc&) {
    }
    try {
      return vntData;
    } catch (const std::bad_alloc&) {
      return Variant();
    }
  }
  // Removes and returns the item at the strategy's end. Note: Null when empty, which a
  // pushed Null looks like too; only IsEmpty tells them apart.
  Variant Pop() noexcept {
    if (items_.empty()) return Null;
    // The item leaves the list, so it is moved out rather than copied: an object stays the
    // same object and nothing can fail.
    const bool newest = strategy_ == ztlStackFIFO;
    Variant result(std::move(newest ? items_.back() : items_.front()));
    if (newest) {
      items_.pop_back();
    } else {
      items_.pop_front();
    }
    return result;
  }
  // True when no item is held.
  Boolean IsEmpty() const noexcept;
  // The number of items.
  Long Size() const noexcept;
  // The item at the strategy's end, left in place; Null when empty.
  Variant Peek() noexcept;

  // New: Enabled True, Strategy 0, TabStop False. Loaded: "Enabled" (default True), then
  // "Strategy" (default 0; a value that is not 0 or 1 is ignored), then TabStop False.
  // Saved: "Enabled" (default True), then "Strategy" as a Long (default 0).
  void InitProperties() noexcept override;
  void ReadProperties(const PropertyBag& bag) noexcept override;
  void WriteProperties(PropertyBag& bag) noexcept override;

 private:
  // The most items held: Size must be able to count them.
  static constexpr std::size_t kMostItems = static_cast<std::size_t>(std::numeric_limits<Long>::max());
  // The items in the order they were pushed: front() is the oldest, back() the newest.
  std::deque<Variant> items_;
  ztlStackStrategy strategy_ = ztlStackFIFO;
};

}  // namespace ztl
