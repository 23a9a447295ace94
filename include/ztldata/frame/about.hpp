// The about box every component shows through its About operation. Each thread has its own
// about-box service object, created by the first About on that thread; what it shows goes
// to a display the host may replace (the library's default writes to standard error).
//
// Example:
//   ztl::SetAboutDisplay([](std::string_view text) { std::cout << text; });
#pragma once

#include <functional>
#include <string_view>

namespace ztl {

using AboutDisplay = std::function<void(std::string_view text)>;

// Replaces the display for every thread; an empty function restores the default.
void SetAboutDisplay(AboutDisplay display);

// The text the about box shows.
std::string_view AboutText() noexcept;

// How many about-box service objects the calling thread has created (0 or 1).
int AboutServicesOnThisThread() noexcept;

}  // namespace ztl
