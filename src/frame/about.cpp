// The about box: one service object per thread, showing the library's text on a display the
// host may replace.

#include "ztldata/frame/about.hpp"

#include <iostream>
#include <memory>
#include <mutex>
#include <string>

namespace ztl {

namespace {

constexpr std::string_view kAboutText =
    "ztldata - the ZTLData 1.4 type library for Linux\n"
    "Number, date, text, array and collection utilities, a stack, a bit array, a tokenizer,\n"
    "run-length coding, a keyed text cipher, CRC-32 and a small RSA.\n";

std::mutex display_mutex;
AboutDisplay& Display() {
  static AboutDisplay display;
  return display;
}

// The per-thread service behind About; it lives as long as its thread.
class AboutBoxService {
 public:
  void ShowAboutBox() const {
    AboutDisplay display;
    {
      std::lock_guard lock(display_mutex);
      display = Display();
    }
    if (display) {
      display(kAboutText);
    } else {
      std::cerr << kAboutText;
    }
  }
};

thread_local std::unique_ptr<AboutBoxService> service;

}  // namespace

void SetAboutDisplay(AboutDisplay display) {
  std::lock_guard lock(display_mutex);
  Display() = std::move(display);
}

std::string_view AboutText() noexcept { return kAboutText; }

int AboutServicesOnThisThread() noexcept { return service ? 1 : 0; }

namespace detail {
// Shows the about box through this thread's service, creating it on first use. A failing
// service is ignored: About has no result to report it in. The display is the host's code,
// which may fail in any way, so this guard takes every exception, not only running out of
// memory.
void ShowAboutBox() noexcept {
  try {
    if (!service) service = std::make_unique<AboutBoxService>();
    service->ShowAboutBox();
  } catch (...) {
  }
}
}  // namespace detail

}  // namespace ztl
