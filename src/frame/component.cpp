// Component and Container: placing components, their shared properties and lifecycle.

#include "ztldata/frame/component.hpp"

#include <algorithm>
#include <string>

#include "boundary.hpp"
#include "form_document.hpp"
#include "ztldata/frame/convert.hpp"
#include "ztldata/frame/resources.hpp"
#include "ztldata/platform/names.hpp"
#include "ztldata/platform/utf8.hpp"

namespace ztl {

namespace detail {
void ShowAboutBox() noexcept;  // about.cpp
}  // namespace detail

void Component::About() noexcept { detail::ShowAboutBox(); }

std::span<const std::uint8_t> Component::Picture() const noexcept {
  const ClassInfo* info = Class();
  return info ? DesignPicture(String(info->name.begin(), info->name.end())) : std::span<const std::uint8_t>();
}

void Component::Enabled(Boolean value) noexcept {
  enabled_ = value;
  PropertyChanged(u"Enabled");
}

void Component::InitProperties() noexcept {
  Enabled(true);
  TabStop(false);
}

void Component::ReadProperties(const PropertyBag& bag) noexcept {
  // A saved value that does not convert leaves the property as it was.
  Guarded([&] {
    if (const Outcome<Boolean> enabled = ToBoolean(bag.ReadProperty(u"Enabled", true))) Enabled(*enabled);
  });
  TabStop(false);
}

void Component::WriteProperties(PropertyBag& bag) noexcept {
  Guarded([&] { bag.WriteProperty(u"Enabled", Enabled(), Variant(true)); });
}

void Component::PropertyChanged(std::u16string_view name) noexcept {
  if (!site_) return;
  // A container that cannot record the change loses only the record.
  Guarded([&] {
    for (const auto& placed : site_->components_) {
      if (placed.second.get() != this) continue;
      // The record holds each property once: a form has few of them, and a scan keeps
      // the first-change order without a second index.
      auto& changes = site_->changes_;
      const auto same = [&](const auto& change) { return change.first == placed.first && change.second == name; };
      if (std::find_if(changes.begin(), changes.end(), same) == changes.end()) changes.emplace_back(placed.first, String(name));
      return;
    }
  });
}

Container::~Container() {
  for (auto& [name, component] : components_) {
    component->Terminate();
    component->site_ = nullptr;
  }
}

ComponentRef Container::Place(std::u16string_view class_name, std::u16string_view name) noexcept {
  return Guarded(ComponentRef(), [&]() -> ComponentRef {
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
    Adopt(std::move(chosen), component);
    component->Initialize();
    component->InitProperties();
    return component;
  });
}

void Container::Adopt(String name, const ComponentRef& component) {
  components_.emplace_back(std::move(name), component);
  component->site_ = this;
}

std::string Container::Save(bool keep_defaults) const {
  std::vector<SavedComponent> saved;
  for (const auto& [name, component] : components_) {
    const ClassInfo* info = component->Class();
    if (!info) continue;
    SavedComponent entry{u"ZTLData." + String(info->name.begin(), info->name.end()), name,
                         PropertyBag(!keep_defaults)};
    component->WriteProperties(entry.bag);
    saved.push_back(std::move(entry));
  }
  return WriteForm(saved);
}

std::unique_ptr<Container> Container::Load(std::string_view document, std::vector<std::string>* problems,
                                           bool design_mode) {
  auto form = std::make_unique<Container>(design_mode);
  ParsedForm parsed = ReadForm(document);
  for (SavedComponent& saved : parsed.components) {
    const std::string title = Utf16ToUtf8(saved.name) + " (" + Utf16ToUtf8(saved.class_name) + ")";
    const ClassInfo* info = FindClass(saved.class_name);
    if (!info || info->kind != ClassKind::Component) {
      parsed.problems.push_back(title + ": no such component class; not loaded");
      continue;
    }
    if (saved.name.empty() || form->Find(saved.name)) {
      parsed.problems.push_back(title + ": the name is empty or already used; not loaded");
      continue;
    }
    auto component = std::dynamic_pointer_cast<Component>(info->create());
    if (!component) continue;
    form->Adopt(std::move(saved.name), component);
    component->Initialize();
    component->ReadProperties(saved.bag);
  }
  if (problems) *problems = std::move(parsed.problems);
  return form;
}

bool Container::Paint(Component& component) noexcept {
  if (!design_mode_) return false;
  component.Paint();
  return true;
}

bool Container::PaintAll() noexcept {
  if (!design_mode_) return false;
  for (auto& [name, component] : components_) component->Paint();
  return true;
}

bool Container::Release(std::u16string_view name) noexcept {
  for (auto it = components_.begin(); it != components_.end(); ++it) {
    if (!EqualsIgnoringAsciiCase(it->first, name)) continue;
    const ComponentRef component = it->second;
    std::erase_if(changes_, [&](const auto& change) { return change.first == it->first; });
    components_.erase(it);
    component->Terminate();
    component->site_ = nullptr;
    return true;
  }
  return false;
}

ComponentRef Container::Find(std::u16string_view name) const noexcept {
  for (const auto& [placed_name, component] : components_) {
    if (EqualsIgnoringAsciiCase(placed_name, name)) return component;
  }
  return nullptr;
}

}  // namespace ztl
