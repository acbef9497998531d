#include "line_paths.h"

#include "log_fields.h"

namespace junmaru {

LinePath LinePath::Read(std::string_view line) {
  if (const std::string_view download = RequestFilter::FindDownloadPath(line); download.data() != nullptr)
    return {download, Kind::kDownload};
  std::size_t closing_quote = 0;
  if (const std::string_view other = AnyHttpPath(line, closing_quote); other.data() != nullptr)
    return {other, Kind::kOtherHttp};
  return {};
}

namespace line_batches {

bool SecondProcessor() { return std::thread::hardware_concurrency() > 1; }

}  // namespace line_batches

}  // namespace junmaru
