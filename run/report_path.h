#pragma once

#include <string>

namespace junmaru {

// Where the page of a log goes unless the keeper chooses another file:
// "ranking.html" in the log's folder ("/ranking.html" for a log in "/").
std::string ReportPathFor(const std::string& log_path);

}  // namespace junmaru
