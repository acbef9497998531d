#pragma once

// An ordered list of byte strings. Unsorted, it keeps insertion order. In
// sorted mode it keeps ascending order under CompareText, and Add either
// ignores a string equal to an item or inserts it before the equal items.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace junmaru {

class TextList {
 public:
  enum class Duplicates { kIgnore, kAccept };

  TextList() = default;
  TextList(bool sorted, Duplicates duplicates) : sorted_(sorted), duplicates_(duplicates) {}

  std::size_t Count() const { return items_.size(); }
  const std::string& Get(long long index) const;
  const std::vector<std::string>& Items() const { return items_; }

  // Adds s and returns its index. In sorted mode the place comes from a
  // binary search; with kIgnore an equal item leaves the list unchanged and
  // its index is returned.
  std::size_t Add(std::string s);
  // Refused in sorted mode.
  void Set(long long index, std::string s);
  void Insert(long long index, std::string s);
  void Delete(long long index);
  void Clear() { items_.clear(); }

  bool Sorted() const { return sorted_; }
  // Entering sorted mode sorts the list; leaving it keeps the current order.
  void SetSorted(bool sorted);
  // Orders the list once under CompareText (not necessarily stable).
  void Sort();

  // Replaces the contents with the file's lines; on failure the list keeps
  // what it had. Fails with "ファイル %s は開けません".
  void LoadFromFile(const std::string& path);
  // Every line followed by CR LF, in one write, replacing the file whole.
  void SaveToFile(const std::string& path) const;
  // The lines of a text by the file rules.
  static std::vector<std::string> SplitText(std::string_view bytes);
  // The bytes a saved file holds: every line followed by CR LF.
  static std::string JoinLines(const std::vector<std::string>& lines);

 private:
  void CheckIndex(long long index, std::size_t limit) const;
  std::size_t LowerBound(std::string_view s) const;

  std::vector<std::string> items_;
  bool sorted_ = false;
  Duplicates duplicates_ = Duplicates::kIgnore;
};

}  // namespace junmaru
