// Component, the base of the seven components, and Container, the form that places them.
// A component is created only by placing it in a container: Initialize, then InitProperties.
//
// Example:
//   ztl::Container form;
//   auto stack = form.Place(u"ZtStack");          // named "ZtStack1"
//   stack->Invoke(u"Push", {42});
#pragma once

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "ztldata/frame/object.hpp"

namespace ztl {

class Container;

class Component : public Object {
 public:
  // Shows the library's about box.
  void About() noexcept;

  // The enabled state: True when the component is created. No operation reads it; setting it
  // tells the container that the "Enabled" property changed.
  Boolean Enabled() const noexcept { return enabled_; }
  void Enabled(Boolean value) noexcept;

  // The container's extender property: whether the component takes keyboard focus.
  Boolean TabStop() const noexcept { return tab_stop_; }
  void TabStop(Boolean value) noexcept { tab_stop_ = value; }

  // Size in twips.
  Single Width() const noexcept { return width_; }
  Single Height() const noexcept { return height_; }
  void Resize(Single width, Single height) noexcept { width_ = width; height_ = height; }

  // Lifecycle notifications the container sends.
  virtual void Initialize() noexcept {}
  virtual void InitProperties() noexcept;
  virtual void Paint() noexcept { Resize(525, 525); }
  virtual void Terminate() noexcept {}

  // The container the component sits in, or null.
  Container* Site() const noexcept { return site_; }

 protected:
  // Tells the container that a saved property changed.
  void PropertyChanged(std::u16string_view name) noexcept;

 private:
  friend class Container;
  Boolean enabled_ = true;
  Boolean tab_stop_ = true;
  Single width_ = 0;
  Single height_ = 0;
  Container* site_ = nullptr;
};

using ComponentRef = std::shared_ptr<Component>;

class Container {
 public:
  Container() = default;
  Container(const Container&) = delete;
  Container& operator=(const Container&) = delete;
  // Sends Terminate to every component still placed.
  ~Container();

  // Places a new component by class name ("ZtStack" or "ZTLData.ZtStack"): Initialize, then
  // InitProperties. Without a name it is called after its class and a number ("ZtStack1").
  // Null for a name that is no component, or a component name already used.
  ComponentRef Place(std::u16string_view class_name, std::u16string_view name = {}) noexcept;

  // A placed component by name (without regard to case), or null.
  ComponentRef Find(std::u16string_view name) const noexcept;

  // The placed components with their names, in the order they were placed.
  const std::vector<std::pair<String, ComponentRef>>& Components() const noexcept { return components_; }

  // The names of the properties that components reported changed, in order.
  const std::vector<std::pair<String, String>>& Changes() const noexcept { return changes_; }

 private:
  friend class Component;
  std::vector<std::pair<String, ComponentRef>> components_;
  std::vector<std::pair<String, String>> changes_;  // component name, property name
};

}  // namespace ztl
