#pragma once

#include <string>

namespace zelmar::convert {

bool CheckCodiceFiscale(const std::string& text);  // Italian fiscal code with its check letter
bool CheckPartitaIva(const std::string& text);     // Italian VAT number with its check digit

}  // namespace zelmar::convert
