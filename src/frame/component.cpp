// Component and Container: placing components, their shared properties and lifecycle.

#include "ztldata/frame/component.hpp"

#include <string>

#include "text_compare.hpp"

namespace ztl {

namespace {
bool SameName(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}
}  // namespace

// The about box comes with the component frame; until then About shows nothing.
void Component::About() noexcept {}

void Component::Enabled(Boolean value) noexcept {
  enabled_ = value;
  PropertyChanged(u"Enabled");
}

void Component::InitProperties() noexcept {
  Enabled(true);
  TabStop(false);
}

void Component::PropertyChanged(std::u16string_view name) noexcept {
  if (!site_) return;
  try {
    for (const auto& [placed_name, component] : site_->components_) {
      if (component.get() == this) {
        site_->changes_.emplace_back(placed_name, String(name));
        return;
      }
    }
  } catch (...) {
    // A container that cannot record the change loses only the record.
  }
}

Container::~Container() {
  for (auto& [name, component] : components_) {
    component->Terminate();
    component->site_ = nullptr;
  }
}

ComponentRef Container::Place(std::u16string_view class_name, std::u16string_view name) noexcept {
  try {
    const ClassInfo* info = FindClass(class_name);
    if (!info || info->kind != ClassKind::Component) return nullptr;
    String chosen(name);
    if (chosen.empty()) {
      for (int n = 1; chosen.empty() || Find(chosen); ++n) {
        const std::string digits = std::to_string(n);
        chosen = String(info->name.begin(), info->name.end()) + String(digits.begin(), digits.end());
      }
    } else if (Find(chosen)) {
      return nullptr;
    }
    auto component = std::dynamic_pointer_cast<Component>(info->create());
    if (!component) return nullptr;
    components_.emplace_back(std::move(chosen), component);
    component->site_ = this;
    component->Initialize();
    component->InitProperties();
    return component;
  } catch (...) {
    return nullptr;
  }
}

ComponentRef Container::Find(std::u16string_view name) const noexcept {
  for (const auto& [placed_name, component] : components_) {
    if (SameName(placed_name, name)) return component;
  }
  return nullptr;
}

}  // namespace ztl
