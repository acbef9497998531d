#include "client_days.h"

#include <random>

namespace junmaru {

ClientDays::ClientDays() : seed_((std::uint64_t{std::random_device()()} << 32) ^ std::random_device()()) {}

ClientDays::DaySet& ClientDays::SetOf(std::uint32_t day) {
  if (last_ && day == last_day_) return *last_;
  std::unique_ptr<DaySet>& set = days_[day];
  // A day is usually much like the one before: its set starts that large.
  if (!set) set = std::make_unique<DaySet>(seed_, last_ ? last_->Slots() : 0);
  last_day_ = day, last_ = set.get();
  return *last_;
}

bool ClientDays::Mark(ClientKey client, std::uint32_t day, std::uint32_t file) { return SetOf(day).Insert(client, file); }

void ClientDays::Expect(ClientKey client, std::uint32_t day, std::uint32_t file) { SetOf(day).Expect(client, file); }

ClientDays::DaySet::DaySet(std::uint64_t seed, std::size_t slots) : seed_(seed) {
  if (slots == 0) return;
  slots_.assign(slots, Slot{});
  mask_ = slots - 1;
}

bool ClientDays::DaySet::Insert(ClientKey client, std::uint32_t file) {
  // At most two thirds of the slots are taken.
  if ((used_ + 1) * 3 > slots_.size() * 2) Grow();
  for (std::size_t slot = Hash(client, file) & mask_;; slot = (slot + 1) & mask_) {
    Slot& s = slots_[slot];
    if (s.file == kEmpty) {
      s = {client, file};
      ++used_;
      return true;
    }
    if (s.file == file && s.client == client) return false;
  }
}

void ClientDays::DaySet::Grow() {
  std::vector<Slot> old = std::move(slots_);
  const std::size_t size = old.empty() ? 256 : old.size() * 2;
  slots_.assign(size, Slot{});
  mask_ = size - 1;
  for (const Slot& s : old) {
    if (s.file == kEmpty) continue;
    std::size_t slot = Hash(s.client, s.file) & mask_;
    while (slots_[slot].file != kEmpty) slot = (slot + 1) & mask_;
    slots_[slot] = s;
  }
}

}  // namespace junmaru
