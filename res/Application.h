#pragma once

namespace res {

// The title of boxes that name no title of their own, and of failure reports.
inline constexpr wchar_t kApplicationTitle[] = L"Reruze Dazova Derivod Irari";

}  // namespace res
