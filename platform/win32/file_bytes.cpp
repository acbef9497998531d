#include "file_bytes.h"

#include <windows.h>

#include "input_file.h"

namespace junmaru {

FileBytes FileBytes::Load(const std::string& path) { return InputFile(path, FileShare::kRefuseWriters).Bytes(); }

FileBytes FileBytes::Map(std::intptr_t file, std::size_t size) {
  if (size == 0) return {};
  const auto high = static_cast<DWORD>(static_cast<unsigned long long>(size) >> 32);
  const auto low = static_cast<DWORD>(size & 0xFFFFFFFFu);
  HANDLE mapping = CreateFileMappingA(reinterpret_cast<HANDLE>(file), nullptr, PAGE_READONLY, high, low, nullptr);
  void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size) : nullptr;
  // The view keeps the mapping and the file alive by itself. A file that
  // has a view mapped cannot be cut short by another program, so the view
  // stays readable to its end without any handler.
  if (mapping) CloseHandle(mapping);
  if (!view) return {};
  FileBytes bytes;
  bytes.map_ = view;
  bytes.map_size_ = size;
  bytes.view_ = std::string_view(static_cast<const char*>(view), size);
  return bytes;
}

void FileBytes::Unmap(void* map, std::size_t) { UnmapViewOfFile(map); }

bool FileBytes::MappingIntact(const void*) { return true; }

}  // namespace junmaru
