// Who made the program and where it is found: the texts that several screens show.
#pragma once

#include <string_view>

namespace maker {

inline constexpr std::string_view webSiteTip = "De website van Kwikstaart: www.kwikstaart.example";
inline constexpr std::string_view distributionSite = "www.klasvanmorgen.example";
inline constexpr std::string_view credits =
    "Ontwikkeld in basisschool De Vlinder te Brugge, 1998 - 2003";

} // namespace maker
