#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace dorvane::cli {

// The text of a listed value: a whole number in digits, a float (stored in
// the json as the double it converts to) as %.9g of the 32-bit float, which
// gives the stored value back exactly.
std::string valueText(const nlohmann::ordered_json &value);

// A JSON object on one line, {"name": value, ...}, with numbers as
// valueText writes them; NaN and infinity, which JSON cannot hold, as null.
std::string jsonObjectLine(const nlohmann::ordered_json &object);

} // namespace dorvane::cli
