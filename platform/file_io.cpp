// What the file layer does alike on every system.

#include "file_io.h"

namespace junmaru {

void ReplaceFile(const std::string& path, std::string_view data) {
  ReplaceFile(path, FileWriter([data](ByteSink& sink) { sink.Write(data); }));
}

}  // namespace junmaru
