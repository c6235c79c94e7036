#include "cli/JsonText.h"

#include <cmath>
#include <cstdio>

namespace dorvane::cli {

std::string valueText(const nlohmann::ordered_json &value)
{
    if (!value.is_number_float())
        return value.dump();
    char text[32];
    std::snprintf(text, sizeof text, "%.9g",
                  static_cast<double>(static_cast<float>(value.get<double>())));
    return text;
}

std::string jsonObjectLine(const nlohmann::ordered_json &object)
{
    std::string line = "{";
    for (const auto &[name, value] : object.items()) {
        if (line.size() > 1)
            line += ", ";
        line += nlohmann::ordered_json(name).dump();
        line += ": ";
        line += value.is_number_float() && !std::isfinite(value.get<double>()) ? "null"
                                                                               : valueText(value);
    }
    return line + "}";
}

} // namespace dorvane::cli
