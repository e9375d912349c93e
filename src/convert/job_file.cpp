#include "convert/job_file.h"

#include "common/text_file.h"

namespace zelmar::convert {

bool ReadJobLines(const std::string& path, std::vector<std::string>& lines) {
    return ReadTextLines(path, lines, kMaxJobFileBytes);
}

}  // namespace zelmar::convert
