#include "text_list.h"

#include <algorithm>

#include "error.h"
#include "file_io.h"
#include "line_split.h"
#include "messages.h"
#include "text_compare.h"

namespace junmaru {

void TextList::CheckIndex(long long index, std::size_t limit) const {
  if (index < 0 || static_cast<unsigned long long>(index) >= limit)
    throw Error(messages::ListIndexOutOfRange(index));
}

const std::string& TextList::Get(long long index) const {
  CheckIndex(index, items_.size());
  return items_[static_cast<std::size_t>(index)];
}

std::size_t TextList::LowerBound(std::string_view s) const {
  auto it = std::lower_bound(items_.begin(), items_.end(), s,
                             [](const std::string& item, std::string_view v) { return CompareText(item, v) < 0; });
  return static_cast<std::size_t>(it - items_.begin());
}

std::size_t TextList::Add(std::string s) {
  if (!sorted_) {
    items_.push_back(std::move(s));
    return items_.size() - 1;
  }
  std::size_t at = LowerBound(s);
  if (duplicates_ == Duplicates::kIgnore && at < items_.size() && CompareText(items_[at], s) == 0) return at;
  items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(s));
  return at;
}

void TextList::Set(long long index, std::string s) {
  if (sorted_) throw Error(messages::SortedListRefused());
  CheckIndex(index, items_.size());
  items_[static_cast<std::size_t>(index)] = std::move(s);
}

void TextList::Insert(long long index, std::string s) {
  if (sorted_) throw Error(messages::SortedListRefused());
  CheckIndex(index, items_.size() + 1);
  items_.insert(items_.begin() + index, std::move(s));
}

void TextList::Delete(long long index) {
  CheckIndex(index, items_.size());
  items_.erase(items_.begin() + index);
}

void TextList::SetSorted(bool sorted) {
  if (sorted && !sorted_) Sort();
  sorted_ = sorted;
}

void TextList::Sort() {
  std::sort(items_.begin(), items_.end(),
            [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
}

std::vector<std::string> TextList::SplitText(std::string_view bytes) {
  std::vector<std::string> lines;
  SplitLinesBeforeNul(bytes,
                      [&](std::size_t begin, std::size_t end) { lines.emplace_back(bytes.substr(begin, end - begin)); });
  return lines;
}

void TextList::LoadFromFile(const std::string& path) {
  std::vector<std::string> lines = SplitText(ReadWholeFile(path));
  if (!sorted_) {
    items_ = std::move(lines);
    return;
  }
  TextList loaded(true, duplicates_);
  for (auto& line : lines) loaded.Add(std::move(line));
  items_ = std::move(loaded.items_);
}

std::string TextList::JoinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const auto& line : lines) bytes.append(line).append("\r\n");
  return bytes;
}

void TextList::SaveToFile(const std::string& path) const { ReplaceFile(path, JoinLines(items_)); }

}  // namespace junmaru
