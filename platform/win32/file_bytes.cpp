#include "file_bytes.h"

#include <windows.h>

#include <cstdlib>
#include <utility>

#include "error.h"
#include "file_io.h"
#include "file_messages.h"

namespace junmaru {
namespace {

// Files smaller than this are read; mapping pays off only for big ones.
constexpr std::size_t kMapThreshold = 1 << 20;

}  // namespace

FileBytes FileBytes::Load(const std::string& path) {
  // Opened as ReadWholeFile opens it: shared for reading only. A file that
  // has a view mapped cannot be cut short by another program, so the view
  // stays readable to its end without any handler.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  LARGE_INTEGER size{};
  const bool mappable = file != INVALID_HANDLE_VALUE && GetFileType(file) == FILE_TYPE_DISK &&
                        GetFileSizeEx(file, &size) &&
                        static_cast<unsigned long long>(size.QuadPart) >= kMapThreshold;
  HANDLE mapping = mappable ? CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr) : nullptr;
  void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
  // The view keeps the mapping and the file alive by itself.
  if (mapping) CloseHandle(mapping);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (!view) return FileBytes(ReadWholeFile(path));
  FileBytes bytes;
  bytes.map_ = view;
  bytes.map_size_ = static_cast<std::size_t>(size.QuadPart);
  bytes.view_ = std::string_view(static_cast<const char*>(view), bytes.map_size_);
  return bytes;
}

void FileBytes::Unmap(void* map, std::size_t) { UnmapViewOfFile(map); }

}  // namespace junmaru
