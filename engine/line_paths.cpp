#include "line_paths.h"

#include "log_fields.h"

namespace junmaru {

LinePath LinePath::Read(std::string_view line) {
  if (const std::optional<std::string_view> download = RequestFilter::DownloadPath(line)) return download;
  if (const std::optional<RequestField> request = AnyHttpRequest(line)) return {request->path, Kind::kOtherHttp};
  return {};
}

namespace line_batches {

bool SecondProcessor() { return std::thread::hardware_concurrency() > 1; }

}  // namespace line_batches

}  // namespace junmaru
