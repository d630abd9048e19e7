#pragma once
// Addresses that keldemo opens in the user's browser. They belong to the deliverable, not to the
// code, so they are kept together here: change them before shipping a build.

namespace Kel {

// The page where a licence for the components is ordered ("Register online").
inline constexpr const char* kOrderPageUrl = "https://www.example.com/kel/order";

// The home page of the components' maker (the link at the foot of the main window).
inline constexpr const char* kHomePageUrl = "https://www.example.com/kel";

// The local documents that "Read more" opens, looked for beside the program and one level above.
inline constexpr const char* kSievraDocument = "sievra.html";
inline constexpr const char* kCalendarDocument = "calendar.html";

}  // namespace Kel
