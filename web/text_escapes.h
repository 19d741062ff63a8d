#pragma once
// Texts written into what the server sends: JSON strings and URL query values.

#include <string>
#include <string_view>

namespace web {

// A JSON string, quotes included.
std::string json_text(std::string_view s);
// Percent-encoded for a query value: everything but letters, digits and -_.~
std::string percent_encoded(std::string_view s);

}  // namespace web
