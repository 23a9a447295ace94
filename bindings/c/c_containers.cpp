// Forms across the C interface: containers (place, find, list, save, load), the about box's
// display, and device contexts for text fitting.

#include <cstdlib>
#include <vector>

#include "c_handles.hpp"
#include "ztldata/frame/about.hpp"
#include "ztldata/platform/device_context.hpp"
#include "ztldata/platform/utf8.hpp"

using namespace ztl;
using namespace ztl::c_api;

extern "C" {

// ---- containers ------------------------------------------------------------------------------

int ztl_container_new(int design_mode, ztl_container** container) {
  return Guard([&] {
    ztl_container*& out = Required(container, "container");
    out = NewHandle<ztl_container, HandleKind::Container>(std::make_unique<Container>(design_mode != 0));
    return ZTL_OK;
  });
}

int ztl_container_release(ztl_container* container) {
  return Guard([&] {
    if (!RemoveHandle(container, HandleKind::Container)) {
      CheckContainer(container);  // says why
      Throw(ZTL_E_INVALID_HANDLE, "the handle was released meanwhile");
    }
    delete container;
    return ZTL_OK;
  });
}

int ztl_container_place(ztl_container* container, const char* class_name, const char* name, ztl_object** component) {
  return Guard([&] {
    Container& form = *CheckContainer(container).form;
    const String cls = Utf8ToUtf16(RequiredText(class_name, "class_name"));
    ztl_object*& out = Required(component, "component");
    const ClassInfo* info = FindClass(cls);
    if (info == nullptr || info->kind != ClassKind::Component) {
      Throw(kNotCreatable, std::string(ErrorText(kNotCreatable)) + ": '" + std::string(class_name) + "' is no component");
    }
    const String wanted = name == nullptr ? String() : Utf8ToUtf16(name);
    ComponentRef placed = form.Place(cls, wanted);
    if (!placed) Throw(ZTL_E_INVALID_ARG, "the name '" + std::string(name ? name : "") + "' is already used");
    out = NewObject(std::move(placed));
    return ZTL_OK;
  });
}

int ztl_container_find(ztl_container* container, const char* name, ztl_object** component) {
  return Guard([&] {
    const Container& form = *CheckContainer(container).form;
    const std::string_view wanted = RequiredText(name, "name");
    ztl_object*& out = Required(component, "component");
    ComponentRef found = form.Find(Utf8ToUtf16(wanted));
    if (!found) Throw(ZTL_E_NOT_FOUND, "no component named '" + std::string(wanted) + "'");
    out = NewObject(std::move(found));
    return ZTL_OK;
  });
}

int ztl_container_count(ztl_container* container, size_t* count) {
  return Guard([&] {
    Required(count, "count") = CheckContainer(container).form->Components().size();
    return ZTL_OK;
  });
}

int ztl_container_component(ztl_container* container, size_t index, char** name, ztl_object** component) {
  return Guard([&] {
    const auto& placed = CheckContainer(container).form->Components();
    ztl_object*& out = Required(component, "component");
    if (index >= placed.size()) {
      Throw(kSubscriptOutOfRange, "Subscript out of range: the container holds " + std::to_string(placed.size()) +
                                      " component(s)");
    }
    char* text = name != nullptr ? CopyText(Utf16ToUtf8(placed[index].first)) : nullptr;
    try {
      out = NewObject(placed[index].second);
    } catch (...) {
      std::free(text);
      throw;
    }
    if (name != nullptr) *name = text;
    return ZTL_OK;
  });
}

int ztl_container_save(ztl_container* container, char** text, size_t* length) {
  return Guard([&] {
    const Container& form = *CheckContainer(container).form;
    char*& out = Required(text, "text");
    const std::string saved = form.Save();
    out = CopyText(saved);
    if (length != nullptr) *length = saved.size();
    return ZTL_OK;
  });
}

int ztl_container_load(const char* text, size_t length, ztl_container** container, char** problems) {
  return Guard([&] {
    const std::string_view document = TextArgument(text, length);
    ztl_container*& out = Required(container, "container");
    std::vector<std::string> found;
    std::unique_ptr<Container> form = Container::Load(document, &found);
    std::string joined;
    for (const std::string& line : found) joined += line + "\n";
    char* problem_text = problems != nullptr ? CopyText(joined) : nullptr;
    try {
      out = NewHandle<ztl_container, HandleKind::Container>(std::move(form));
    } catch (...) {
      std::free(problem_text);
      throw;
    }
    if (problems != nullptr) *problems = problem_text;
    return ZTL_OK;
  });
}

// ---- the about box ---------------------------------------------------------------------------

int ztl_set_about_display(ztl_about_callback callback, void* user_data) {
  return Guard([&] {
    if (callback == nullptr) {
      SetAboutDisplay(nullptr);
    } else {
      SetAboutDisplay([callback, user_data](std::string_view text) {
        const std::string copy(text);  // NUL-terminated for the callback
        callback(copy.c_str(), copy.size(), user_data);
      });
    }
    return ZTL_OK;
  });
}

// ---- device contexts -------------------------------------------------------------------------

int ztl_device_context_new(const char* font, int32_t pixel_size, int32_t* hdc) {
  return Guard([&] {
    const std::string_view name = RequiredText(font, "font");
    int32_t& out = Required(hdc, "hdc");
    if (pixel_size < 1 || pixel_size > 1000) {
      Throw(ZTL_E_INVALID_ARG, "pixel_size must be 1..1000, not " + std::to_string(pixel_size));
    }
    const Long handle = CreateDeviceContext(name, pixel_size);
    if (handle == 0) Throw(ZTL_E_NOT_FOUND, "the font '" + std::string(name) + "' cannot be found or loaded");
    out = handle;
    return ZTL_OK;
  });
}

int ztl_device_context_release(int32_t hdc) {
  return Guard([&] {
    if (!DeleteDeviceContext(hdc)) Throw(ZTL_E_INVALID_HANDLE, "not a live device context: " + std::to_string(hdc));
    return ZTL_OK;
  });
}

}  // extern "C"
