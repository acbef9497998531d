#include "client_days.h"

namespace junmaru {

bool ClientDays::Mark(ClientKey client, std::uint32_t day, std::uint32_t file) {
  // At most two thirds of the slots are taken.
  if ((used_ + 1) * 3 > slots_.size() * 2) Grow();
  for (std::size_t slot = Hash(client, day, file) & mask_;; slot = (slot + 1) & mask_) {
    Slot& s = slots_[slot];
    if (s.file == kEmpty) {
      s = {client, day, file};
      ++used_;
      return true;
    }
    if (s.file == file && s.day == day && s.client == client) return false;
  }
}

void ClientDays::Grow() {
  std::vector<Slot> old = std::move(slots_);
  const std::size_t size = old.empty() ? 1024 : old.size() * 2;
  slots_.assign(size, Slot{});
  mask_ = size - 1;
  for (const Slot& s : old) {
    if (s.file == kEmpty) continue;
    std::size_t slot = Hash(s.client, s.day, s.file) & mask_;
    while (slots_[slot].file != kEmpty) slot = (slot + 1) & mask_;
    slots_[slot] = s;
  }
}

}  // namespace junmaru
