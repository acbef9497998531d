#include "report_path.h"

#include "file_io.h"

namespace junmaru {

std::string ReportPathFor(const std::string& log_path) { return PathInFolder(FolderOf(log_path), "ranking.html"); }

}  // namespace junmaru
