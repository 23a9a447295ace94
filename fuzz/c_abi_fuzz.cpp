// The C interface under a random sequence of calls: objects, collections and arrays made,
// called, released, released again and used after release, beside forged handles (a pointer
// to a stack variable, to plain heap memory), calls by name, dispatch id and slot, containers
// placed, listed, saved and reloaded. Every call on a released or forged handle returns an
// error code, and once everything the sequence made is released the number of live handles is
// what it was before.

#include <algorithm>
#include <memory>
#include <string_view>
#include <vector>

#include "harness.hpp"
#include "ztldata.h"

namespace {

struct Run {
  const std::uint8_t* data;
  std::size_t size;
  std::vector<ztl_object*> objects;      // live, made by create (no collections: no cycles)
  std::vector<ztl_object*> collections;  // live collections
  std::vector<ztl_array*> arrays;        // live
  std::vector<void*> dead;               // released handles and forged pointers

  std::uint8_t Byte() { return fuzz::Take<std::uint8_t>(data, size); }
  template <class T> T Pick(const std::vector<T>& from) { return from.empty() ? nullptr : from[Byte() % from.size()]; }

  bool IsLive(const void* p) const {
    const auto in = [p](const auto& v) { return std::find(v.begin(), v.end(), p) != v.end(); };
    return in(objects) || in(collections) || in(arrays);
  }
  // A handle that is no live handle: released before, or never made by the library.
  void* Dead() {
    void* p = Pick(dead);
    return p && !IsLive(p) ? p : nullptr;
  }
  void Made(void* p) { dead.erase(std::remove(dead.begin(), dead.end(), p), dead.end()); }

  // A borrowed value of one of several kinds; objects only from utility objects, or dead ones.
  ztl_variant Value(bool& dead_handle) {
    static const ztl_char16 text[] = {'a', 'b', ' ', 'c', 0xD800, '1'};
    dead_handle = false;
    switch (Byte() % 9) {
      case 0: return ztl_variant_long(fuzz::Take<std::int32_t>(data, size));
      case 1: return ztl_variant_double(fuzz::Take<std::int16_t>(data, size) / 3.0);
      case 2: return ztl_variant_string(text, Byte() % 7);
      case 3: return ztl_variant_null();
      case 4: return ztl_variant_missing();
      case 5: return ztl_variant_object(Pick(objects));
      case 6: return ztl_variant_array(Pick(arrays));
      case 7: {
        void* p = Dead();
        dead_handle = p != nullptr;
        return Byte() % 2 ? ztl_variant_object(static_cast<ztl_object*>(p)) : ztl_variant_array(static_cast<ztl_array*>(p));
      }
      default: return ztl_variant_bool(Byte() % 2);
    }
  }
};

void Fails(int status, const char* what) { fuzz::Check(status != ZTL_OK, what); }

// A call as a method, property get or let, by name, by dispatch id (looked up, or any number)
// or by slot.
int Invoke(Run& run, ztl_object* target, const char* member, ztl_variant* args, std::size_t count, ztl_variant* result) {
  static const int kKinds[] = {ZTL_METHOD, ZTL_GET, ZTL_LET, 3};
  const int kind = kKinds[run.Byte() % std::size(kKinds)];
  switch (run.Byte() % 3) {
    case 0: return ztl_invoke_name(target, member, kind, args, count, result);
    case 1: {
      std::int32_t id = -1;
      if (run.Byte() % 4 == 0) id = fuzz::Take<std::int32_t>(run.data, run.size);
      else ztl_get_ids_of_names(target, &member, 1, &id);
      return ztl_invoke(target, id, kind, args, count, result);
    }
    default: return ztl_invoke_slot(target, run.Byte() % 48, args, count, result);
  }
}

// A container, new or loaded from the input's bytes, with components placed, found and listed
// by index: a saved form reloads and saves the same, every listed index below the count holds a
// component, and the container and its component handles release in either order.
void Containers(Run& run) {
  static const char* const kComponents[] = {"ZtStack", "ZTLData.ZtBits", "ZtRSA", "ZtToken", "ZtStrings", "nope"};
  static const char* const kNames[] = {nullptr, "", "A", "a", "Begin", "End", "x y"};
  ztl_container* form = nullptr;
  if (run.Byte() % 2) {
    if (ztl_container_new(run.Byte() % 2, &form) != ZTL_OK) return;
  } else {
    const std::size_t n = std::min<std::size_t>(run.Byte(), run.size);
    char* problems = nullptr;
    const int status = ztl_container_load(reinterpret_cast<const char*>(run.data), n, &form, &problems);
    run.data += n, run.size -= n;
    ztl_free(problems);
    if (status != ZTL_OK) return;
  }
  std::vector<ztl_object*> handles;
  for (int i = run.Byte() % 4; i > 0; --i) {
    ztl_object* o = nullptr;
    const char* name = kNames[run.Byte() % std::size(kNames)];
    if (ztl_container_place(form, kComponents[run.Byte() % std::size(kComponents)], name, &o) == ZTL_OK) handles.push_back(o);
  }
  if (ztl_object* o = nullptr; ztl_container_find(form, "a", &o) == ZTL_OK) handles.push_back(o);
  std::size_t count = 0;
  fuzz::Check(ztl_container_count(form, &count) == ZTL_OK, "count of a live container failed");
  for (std::size_t i = 0; i <= count; ++i) {
    char* name = nullptr;
    ztl_object* o = nullptr;
    const int status = ztl_container_component(form, i, &name, &o);
    fuzz::Check((status == ZTL_OK) == (i < count), "components by index disagree with the count");
    if (status == ZTL_OK) handles.push_back(o), ztl_free(name);
  }
  char *saved = nullptr, *resaved = nullptr;
  std::size_t length = 0, relength = 0;
  ztl_container* again = nullptr;
  fuzz::Check(ztl_container_save(form, &saved, &length) == ZTL_OK, "save of a live container failed");
  fuzz::Check(ztl_container_load(saved, length, &again, nullptr) == ZTL_OK, "a saved form does not load");
  fuzz::Check(ztl_container_save(again, &resaved, &relength) == ZTL_OK &&
                  std::string_view(saved, length) == std::string_view(resaved, relength),
              "save(load(save)) differs from save");
  ztl_free(saved), ztl_free(resaved);
  fuzz::Check(ztl_container_release(again) == ZTL_OK, "release of a loaded container failed");
  const bool container_first = run.Byte() % 2;
  if (container_first) fuzz::Check(ztl_container_release(form) == ZTL_OK, "release of a live container failed");
  for (ztl_object* o : handles) fuzz::Check(ztl_object_release(o) == ZTL_OK, "release of a component handle failed");
  if (!container_first) fuzz::Check(ztl_container_release(form) == ZTL_OK, "release of a live container failed");
  run.dead.push_back(form);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const kClasses[] = {"ZtStrings", "ZTLData.ZtNumeric", "ztrle", "ZtCollections", "ZtStack", "ZtArrays", "nope"};
  static const char* const kMembers[] = {"Expand", "Occurs", "Num2Letter", "Compress", "Count", "Add", "Item", "Remove", "nope", ""};
  static const std::uint16_t kTypes[] = {ZTL_VT_LONG, ZTL_VT_STRING, ZTL_VT_VARIANT, ZTL_VT_DOUBLE, ZTL_VT_BOOLEAN, 99};

  std::size_t start = 0;
  ztl_live_handles(&start);
  Run run{data, size, {}, {}, {}, {}};
  int on_stack = 0;
  auto heap = std::make_unique<std::uint64_t[]>(4);
  run.dead = {&on_stack, heap.get()};

  for (int steps = 0; run.size > 0 && steps < 64; ++steps) {
    bool dead_arg = false;
    switch (run.Byte() % 13) {
      case 0: {  // create an object
        ztl_object* o = nullptr;
        if (ztl_create_object(kClasses[run.Byte() % std::size(kClasses)], &o) == ZTL_OK) {
          run.objects.push_back(o);
          run.Made(o);
        }
        break;
      }
      case 1: {  // a new collection
        ztl_object* c = nullptr;
        if (ztl_collection_new(&c) == ZTL_OK) {
          run.collections.push_back(c);
          run.Made(c);
        }
        break;
      }
      case 2: {  // a call by name on a live or dead handle, with up to three values
        ztl_object* target = run.Byte() % 4 ? run.Pick(run.objects) : run.Pick(run.collections);
        const bool dead_target = run.Byte() % 4 == 0;
        if (dead_target) target = static_cast<ztl_object*>(run.Dead());
        ztl_variant args[3];
        const std::size_t count = run.Byte() % 4;
        bool any_dead = false;
        for (std::size_t i = 0; i < count; ++i) {
          args[i] = run.Value(dead_arg);
          any_dead |= dead_arg;
        }
        ztl_variant result = ztl_variant_empty();
        const int status = Invoke(run, target, kMembers[run.Byte() % std::size(kMembers)], args, count, &result);
        if ((dead_target && target) || any_dead) Fails(status, "call with a dead handle succeeded");
        ztl_variant_clear(&result);
        for (std::size_t i = 0; i < count; ++i) ztl_variant_clear(&args[i]);  // by-reference values
        break;
      }
      case 3: {  // release an object or collection
        auto& from = run.Byte() % 2 ? run.objects : run.collections;
        if (from.empty()) break;
        const std::size_t at = run.Byte() % from.size();
        fuzz::Check(ztl_object_release(from[at]) == ZTL_OK, "release of a live handle failed");
        run.dead.push_back(from[at]);
        from.erase(from.begin() + at);
        break;
      }
      case 4: {  // every kind of call on a dead handle
        void* p = run.Dead();
        if (!p) break;
        const char* name = nullptr;
        std::int32_t count = 0;
        std::size_t dims = 0;
        ztl_variant v = ztl_variant_empty();
        const std::int32_t index[1] = {0};
        switch (run.Byte() % 8) {
          case 0: Fails(ztl_object_release(static_cast<ztl_object*>(p)), "release of a dead object"); break;
          case 1: Fails(ztl_object_class(static_cast<ztl_object*>(p), &name), "class of a dead object"); break;
          case 2: Fails(ztl_collection_count(static_cast<ztl_object*>(p), &count), "count of a dead collection"); break;
          case 3: Fails(ztl_collection_item(static_cast<ztl_object*>(p), 1, &v), "item of a dead collection"); break;
          case 4: Fails(ztl_array_release(static_cast<ztl_array*>(p)), "release of a dead array"); break;
          case 5: Fails(ztl_array_dims(static_cast<ztl_array*>(p), &dims), "dims of a dead array"); break;
          case 6: Fails(ztl_array_get(static_cast<ztl_array*>(p), index, 1, &v), "element of a dead array"); break;
          default: Fails(ztl_container_release(static_cast<ztl_container*>(p)), "release of a dead container"); break;
        }
        ztl_variant_clear(&v);
        break;
      }
      case 5: {  // a new array of up to two dimensions
        const std::uint16_t type = kTypes[run.Byte() % std::size(kTypes)];
        const std::size_t dims = run.Byte() % 3;
        const std::int32_t lower[2] = {static_cast<std::int8_t>(run.Byte()) % 4, static_cast<std::int8_t>(run.Byte()) % 4};
        const std::int32_t count[2] = {static_cast<std::int8_t>(run.Byte()) % 5, static_cast<std::int8_t>(run.Byte()) % 5};
        ztl_array* a = nullptr;
        if (ztl_array_new(type, dims, lower, count, &a) == ZTL_OK) {
          run.arrays.push_back(a);
          run.Made(a);
        }
        break;
      }
      case 6: {  // put then get one element
        ztl_array* a = run.Pick(run.arrays);
        const std::int32_t index[2] = {static_cast<std::int8_t>(run.Byte()) % 6, static_cast<std::int8_t>(run.Byte()) % 6};
        const std::size_t n = run.Byte() % 3;
        ztl_variant v = run.Value(dead_arg);
        const int status = ztl_array_put(a, index, n, &v);
        if (dead_arg) Fails(status, "put of a dead handle succeeded");
        ztl_variant got = ztl_variant_empty();
        ztl_array_get(a, index, n, &got);
        ztl_variant_clear(&got);
        break;
      }
      case 7: {  // release an array
        if (run.arrays.empty()) break;
        const std::size_t at = run.Byte() % run.arrays.size();
        fuzz::Check(ztl_array_release(run.arrays[at]) == ZTL_OK, "release of a live array failed");
        run.dead.push_back(run.arrays[at]);
        run.arrays.erase(run.arrays.begin() + at);
        break;
      }
      case 8: {  // collection add, item, key, remove
        ztl_object* c = run.Pick(run.collections);
        static const char* const kKeys[] = {nullptr, "k", "K", "key"};
        ztl_variant v = run.Value(dead_arg);
        const int status = ztl_collection_add(c, &v, kKeys[run.Byte() % 4]);
        if (dead_arg) Fails(status, "add of a dead handle succeeded");
        const std::int32_t position = static_cast<std::int8_t>(run.Byte()) % 5;
        ztl_variant item = ztl_variant_empty();
        ztl_collection_item(c, position, &item);
        ztl_variant_clear(&item);
        char* key = nullptr;
        if (ztl_collection_key(c, position, &key) == ZTL_OK) ztl_free(key);
        if (run.Byte() % 2) ztl_collection_remove(c, position);
        break;
      }
      case 9: {  // variant copy and clear
        ztl_variant v = run.Value(dead_arg);
        ztl_variant copy = ztl_variant_empty();
        const int status = ztl_variant_copy(&copy, &v);
        if (dead_arg) Fails(status, "copy of a dead handle succeeded");
        ztl_variant_clear(&copy);
        ztl_variant_clear(&copy);
        ztl_variant_clear(&v);
        break;
      }
      case 10: {  // identity of two handles, one of them perhaps dead
        ztl_object* a = run.Pick(run.objects);
        ztl_object* b = run.Byte() % 2 ? run.Pick(run.collections) : static_cast<ztl_object*>(run.Dead());
        int same = 0;
        const int status = ztl_object_same(a, b, &same);
        if (status == ZTL_OK) fuzz::Check(same == 0 || a == b, "two handles of different objects are the same");
        break;
      }
      case 11:
        Containers(run);
        break;
      default: {  // class name of a live object
        const char* name = nullptr;
        if (ztl_object* o = run.Pick(run.objects)) fuzz::Check(ztl_object_class(o, &name) == ZTL_OK && name, "class of a live object");
        break;
      }
    }
  }

  for (ztl_object* o : run.objects) fuzz::Check(ztl_object_release(o) == ZTL_OK, "final release of an object");
  for (ztl_object* c : run.collections) fuzz::Check(ztl_object_release(c) == ZTL_OK, "final release of a collection");
  for (ztl_array* a : run.arrays) fuzz::Check(ztl_array_release(a) == ZTL_OK, "final release of an array");
  std::size_t end = 0;
  ztl_live_handles(&end);
  fuzz::Check(end == start, "live handles differ from the start after releasing everything");
  return 0;
}
