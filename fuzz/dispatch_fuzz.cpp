// Fuzzes late-bound calls: the input picks a class, a member, a call form and the arguments.
// Any error must be one of the dispatch layer's own; nothing may crash or throw.

#include <string>
#include <vector>

#include "harness.hpp"
#include "ztldata/ztldata.hpp"

namespace {

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  template <class T> T Raw() {
    T v{};
    auto* out = reinterpret_cast<std::uint8_t*>(&v);
    for (std::size_t i = 0; i < sizeof(T); ++i) out[i] = Byte();
    return v;
  }
  ztl::String Text() {
    ztl::String s(Byte() % 24, u'\0');
    for (char16_t& c : s) c = Raw<char16_t>();
    return s;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

ztl::Variant Value(Input& in) {
  switch (in.Byte() % 12) {
    case 0: return ztl::Variant();
    case 1: return ztl::Null;
    case 2: return in.Byte() % 2 == 0;
    case 3: return in.Raw<ztl::Integer>();
    case 4: return in.Raw<ztl::Long>();
    case 5: return in.Raw<double>();
    case 6: return in.Raw<float>();
    case 7: return ztl::Date{in.Raw<double>()};
    case 8: return in.Text();
    case 9: return ztl::Currency{in.Raw<std::int64_t>()};
    case 10: {
      std::vector<ztl::Variant> items(in.Byte() % 6);
      for (auto& item : items) item = in.Byte() % 2 ? ztl::Variant(in.Raw<ztl::Long>()) : ztl::Variant(in.Text());
      return ztl::SafeArray::Of(std::move(items), in.Raw<ztl::Integer>());
    }
    default: return ztl::Variant::Missing();
  }
}

}  // namespace

// File operations take fuzzed texts as file names: work in a folder of our own.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::EnterScratchFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A container of its own for every input: one kept across inputs would record every
  // property change, and the growing heap would make each leak check slower than the last.
  ztl::Container form;
  Input in(data, size);
  const auto classes = ztl::Classes();
  const ztl::ClassInfo& info = *classes[in.Byte() % classes.size()];
  const ztl::String name(info.name.begin(), info.name.end());
  const ztl::ObjectRef object = info.kind == ztl::ClassKind::Utility ? ztl::CreateObject(name)
                                                                      : ztl::ObjectRef(form.Place(name));
  const ztl::MemberInfo& member = info.members[in.Byte() % info.members.size()];
  const auto form_kind = in.Byte() % 2 ? ztl::CallForm::Dispatch : ztl::CallForm::Slot;
  std::vector<ztl::Variant> args;
  while (!in.Empty() && args.size() < 8) args.push_back(Value(in));
  ztl::Variant result;
  const ztl::Status call = ztl::Call(*object, member, args, result, form_kind);
  const ztl::Long code = call.error();
  if (!call && code != ztl::kTypeMismatch && code != ztl::kOverflow && code != ztl::kArgumentCount &&
      code != ztl::kArgumentNotOptional) {
    fuzz::Fail("a call failed with an error that is not one of the dispatch layer's");
  }
  return 0;
}
