#pragma once

#include <cstddef>

namespace platform {

enum class ControlKind { kTimer, kCommandButton, kLabel };

// Positions and sizes are twips from the top-left of the client area.
struct ControlDefinition {
  const wchar_t* name;
  ControlKind kind;
  const wchar_t* caption;  // null for controls without one
  int left, top, width, height;
  int tabIndex;  // -1 for controls outside the tab order
};

struct FormDefinition {
  const wchar_t* name;
  const wchar_t* caption;
  int clientWidth, clientHeight;      // twips
  int iconResource;                   // resource id of the window's icon
  const ControlDefinition* controls;  // in stored (creation) order
  std::size_t controlCount;
};

inline constexpr int kTwipsPerInch = 1440;

// Twips to pixels at the given pixels per inch, rounded to nearest.
constexpr int TwipsToPixels(int twips, int pixelsPerInch) {
  return (twips * pixelsPerInch + kTwipsPerInch / 2) / kTwipsPerInch;
}

}  // namespace platform
