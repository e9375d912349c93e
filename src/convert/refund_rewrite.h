#pragma once

#include <string>

namespace zelmar::convert {

// Moves refund discounts next to their refund lines. inPath may equal outPath: the result is
// written to a temporary file and renamed over outPath; an unreadable input is left untouched.
void RewriteRefundDiscounts(const std::string& inPath, const std::string& outPath);

}  // namespace zelmar::convert
