// Forms across the C interface: containers (place, find, list, save, load), the about box's
// display, and device contexts for text fitting.

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
  return Guard([&]() -> Status {
    ZTL_CHECK(Required(container, "container"));
    *container = NewHandle<ztl_container>(std::make_unique<Container>(design_mode != 0));
    return Done();
  });
}

int ztl_container_release(ztl_container* container) {
  return Guard([&] { return ReleaseHandle(container); });
}

int ztl_container_place(ztl_container* container, const char* class_name, const char* name, ztl_object** component) {
  return Guard([&]() -> Status {
    ZTL_TRY(handle, Checked(container));
    ZTL_TRY(class_text, RequiredText(class_name, "class_name"));
    const String cls = Utf8ToUtf16(class_text);
    ZTL_CHECK(Required(component, "component"));
    const ClassInfo* info = FindClass(cls);
    if (info == nullptr || info->kind != ClassKind::Component) {
      return RefuseError(kNotCreatable, "'" + std::string(class_text) + "' is no component");
    }
    const String wanted = name == nullptr ? String() : Utf8ToUtf16(name);
    ComponentRef placed = handle->form->Place(cls, wanted);
    if (!placed) return Refuse(ZTL_E_INVALID_ARG, "the name '" + std::string(name ? name : "") + "' is already used");
    *component = NewObject(std::move(placed));
    return Done();
  });
}

int ztl_container_find(ztl_container* container, const char* name, ztl_object** component) {
  return Guard([&]() -> Status {
    ZTL_TRY(handle, Checked(container));
    ZTL_TRY(wanted, RequiredText(name, "name"));
    ZTL_CHECK(Required(component, "component"));
    ComponentRef found = handle->form->Find(Utf8ToUtf16(wanted));
    if (!found) return Refuse(ZTL_E_NOT_FOUND, "no component named '" + std::string(wanted) + "'");
    *component = NewObject(std::move(found));
    return Done();
  });
}

int ztl_container_count(ztl_container* container, size_t* count) {
  return Guard([&]() -> Status {
    ZTL_TRY(handle, Checked(container));
    return SetOutput(count, "count", handle->form->Components().size());
  });
}

int ztl_container_component(ztl_container* container, size_t index, char** name, ztl_object** component) {
  return Guard([&]() -> Status {
    ZTL_TRY(handle, Checked(container));
    const auto& placed = handle->form->Components();
    ZTL_CHECK(Required(component, "component"));
    if (index >= placed.size()) {
      return RefuseError(kSubscriptOutOfRange,
                         "the container holds " + std::to_string(placed.size()) + " component(s)");
    }
    ZTL_TRY(text, CopyTextFor(name, Utf16ToUtf8(placed[index].first)));
    *component = NewObject(placed[index].second);
    if (name != nullptr) *name = text.release();
    return Done();
  });
}

int ztl_container_save(ztl_container* container, char** text, size_t* length) {
  return Guard([&]() -> Status {
    ZTL_TRY(handle, Checked(container));
    ZTL_CHECK(Required(text, "text"));
    return SetOutputText(text, length, handle->form->Save());
  });
}

int ztl_container_load(const char* text, size_t length, ztl_container** container, char** problems) {
  return Guard([&]() -> Status {
    ZTL_TRY(document, TextArgument(text, length));
    ZTL_CHECK(Required(container, "container"));
    std::vector<std::string> found;
    std::unique_ptr<Container> form = Container::Load(document, &found);
    std::string joined;
    for (const std::string& line : found) joined += line + "\n";
    ZTL_TRY(problem_text, CopyTextFor(problems, joined));
    *container = NewHandle<ztl_container>(std::move(form));
    if (problems != nullptr) *problems = problem_text.release();
    return Done();
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
    return Done();
  });
}

// ---- device contexts -------------------------------------------------------------------------

int ztl_device_context_new(const char* font, int32_t pixel_size, int32_t* hdc) {
  return Guard([&]() -> Status {
    ZTL_TRY(name, RequiredText(font, "font"));
    ZTL_CHECK(Required(hdc, "hdc"));
    if (pixel_size < 1 || pixel_size > 1000) {
      return Refuse(ZTL_E_INVALID_ARG, "pixel_size must be 1..1000, not " + std::to_string(pixel_size));
    }
    const Long handle = CreateDeviceContext(name, pixel_size);
    if (handle == 0) return Refuse(ZTL_E_NOT_FOUND, "the font '" + std::string(name) + "' cannot be found or loaded");
    *hdc = handle;
    return Done();
  });
}

int ztl_device_context_release(int32_t hdc) {
  return Guard([&]() -> Status {
    if (!DeleteDeviceContext(hdc)) {
      return Refuse(ZTL_E_INVALID_HANDLE, "not a live device context: " + std::to_string(hdc));
    }
    return Done();
  });
}

}  // extern "C"
