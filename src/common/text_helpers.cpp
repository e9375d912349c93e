#include "common/text_helpers.h"

namespace zelmar {
namespace {

std::string_view Trim(std::string_view text, std::string_view dropped) {
    const auto first = text.find_first_not_of(dropped);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(dropped) - first + 1);
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
    return Trim(text, " \t");
}

std::string_view TrimSpaces(std::string_view text) {
    return Trim(text, " ");
}

}  // namespace zelmar
