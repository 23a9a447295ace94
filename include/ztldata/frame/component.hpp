// Component, the base of the seven components, and Container, the form that places them.
// A component is created only by placing it in a container: Initialize, then InitProperties.
//
// Example:
//   ztl::Container form;
//   auto stack = form.Place(u"ZtStack");          // named "ZtStack1"
//   stack->Invoke(u"Push", {42});
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ztldata/frame/object.hpp"
#include "ztldata/frame/property_bag.hpp"

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

  // The design-time picture shown on the component's surface: the bytes of a 32 x 32 GIF.
  std::span<const std::uint8_t> Picture() const noexcept;

  // Size in twips.
  Single Width() const noexcept { return width_; }
  Single Height() const noexcept { return height_; }
  void Resize(Single width, Single height) noexcept { width_ = width; height_ = height; }

  // Lifecycle notifications the container sends, in this order: Initialize, then
  // InitProperties (placed anew) or ReadProperties (loaded); WriteProperties on each save;
  // Paint while shown in design mode; Terminate on release.
  // The defaults do what most components do: InitProperties sets Enabled to True and TabStop
  // to False; ReadProperties reads "Enabled" (default True) and sets TabStop to False;
  // WriteProperties writes "Enabled" with default True. A value that does not convert fails
  // only its own step.
  virtual void Initialize() noexcept {}
  virtual void InitProperties() noexcept;
  virtual void ReadProperties(const PropertyBag& bag) noexcept;
  virtual void WriteProperties(PropertyBag& bag) noexcept;
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
  // A container in design mode receives Paint requests (a form in its designer); at run time
  // it does not.
  explicit Container(bool design_mode = false) : design_mode_(design_mode) {}
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

  // Which properties of which placed components changed: each (component name, property name)
  // once, in the order of its first change, however often it changed since. Releasing a
  // component forgets its entries. A set, so a form kept alive through any number of lets
  // keeps a record no larger than its components times their properties.
  const std::vector<std::pair<String, String>>& Changes() const noexcept { return changes_; }

  // Saves the form: each component's WriteProperties into a bag of its own, written as the
  // text document that docs/forms.md describes (UTF-8). A bag that keeps defaults writes every
  // value; the usual one leaves out values equal to their defaults.
  std::string Save(bool keep_defaults = false) const;

  // Loads a saved form into a new container: each block's component is created (Initialize,
  // then ReadProperties with the saved values). What cannot be loaded (an unknown class, a
  // malformed line, a name used twice) is skipped and described, one line each, in `problems`.
  static std::unique_ptr<Container> Load(std::string_view document, std::vector<std::string>* problems = nullptr,
                                         bool design_mode = false);

  bool DesignMode() const noexcept { return design_mode_; }
  void SetDesignMode(bool design_mode) noexcept { design_mode_ = design_mode; }

  // Delivers Paint to a component, or to every one, when the container is in design mode.
  // Returns whether it was delivered.
  bool Paint(Component& component) noexcept;
  bool PaintAll() noexcept;

  // Takes a component out of the form: Terminate, and the container forgets it.
  bool Release(std::u16string_view name) noexcept;

 private:
  friend class Component;
  // Adds a component under a name: it joins the form before its first notification.
  void Adopt(String name, const ComponentRef& component);

  bool design_mode_ = false;
  std::vector<std::pair<String, ComponentRef>> components_;
  std::vector<std::pair<String, String>> changes_;  // component name, property name; no repeats
};

}  // namespace ztl
