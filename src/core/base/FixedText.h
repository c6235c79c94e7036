#pragma once

#include "core/base/GbkText.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace dorvane {

// A zero-terminated GBK text in a fixed-size field. Reading stops at the first
// zero byte or at the end of the field, whichever comes first; writing keeps
// whole characters and zero-fills the rest of the field.
template<size_t N>
std::string_view fieldText(const std::array<char, N> &field)
{
    const auto end = std::find(field.begin(), field.end(), '\0');
    return std::string_view(field.data(), static_cast<size_t>(end - field.begin()));
}

template<size_t N>
void setFieldText(std::array<char, N> &field, std::string_view gbk, size_t maxBytes)
{
    const std::string_view fitted = fitGbk(gbk.substr(0, gbk.find('\0')), std::min(maxBytes, N));
    field.fill('\0');
    std::copy(fitted.begin(), fitted.end(), field.begin());
}

} // namespace dorvane
