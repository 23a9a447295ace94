// Saved forms: any text reads, with its problems reported, as a document and as a container.
// What the writer makes of it reads without problems and writes back the same: for the
// document (every block and entry the reader kept) and for the container (the components'
// saved properties, with defaults left out and kept).

#include <string_view>

#include "frame/form_document.hpp"
#include "harness.hpp"
#include "ztldata/ztldata.hpp"

namespace {

bool SameShape(const std::vector<ztl::SavedComponent>& a, const std::vector<ztl::SavedComponent>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].class_name != b[i].class_name || a[i].name != b[i].name) return false;
    const auto& x = a[i].bag.Entries();
    const auto& y = b[i].bag.Entries();
    if (x.size() != y.size()) return false;
    for (std::size_t j = 0; j < x.size(); ++j) {
      if (x[j].first != y[j].first) return false;
    }
  }
  return true;
}

void ContainerRoundTrip(std::string_view text, bool keep_defaults) {
  std::vector<std::string> problems;
  const auto form = ztl::Container::Load(text, &problems);
  fuzz::Check(form != nullptr, "Container::Load gave no container");
  const std::string saved = form->Save(keep_defaults);
  problems.clear();
  const auto again = ztl::Container::Load(saved, &problems);
  fuzz::Check(problems.empty(), "a saved form reloads with problems");
  fuzz::Check(again->Components().size() == form->Components().size(), "a saved form reloads other components");
  fuzz::Check(again->Save(keep_defaults) == saved, "save(load(save)) != save");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const ztl::ParsedForm read = ztl::ReadForm(text);
  const std::string written = ztl::WriteForm(read.components);
  const ztl::ParsedForm reread = ztl::ReadForm(written);
  fuzz::Check(reread.problems.empty(), "a written document reads with problems");
  fuzz::Check(SameShape(read.components, reread.components), "a written document reads as other blocks or keys");
  fuzz::Check(ztl::WriteForm(reread.components) == written, "write(read(write)) != write");

  // Saving with or without defaults: the length picks one, so that each input costs one load.
  ContainerRoundTrip(text, size % 2 == 1);
  return 0;
}
