#include "engine/Kit.h"

#include <utility>

namespace engine {
namespace {

template <size_t... Index>
std::array<SampleHolder, kNoteCount> MakeHolders(PreparationRequests& requests, const BlockEpoch& epoch,
                                                 CommandQueue& commands, std::index_sequence<Index...>) {
  return {{SampleHolder(requests, epoch, commands, static_cast<uint8_t>(Index))...}};
}

}  // namespace

Kit::Kit(uint8_t firstNote, uint8_t lastNote)
    : firstNote_(firstNote),
      lastNote_(lastNote),
      count_(static_cast<uint8_t>(lastNote - firstNote + 1)),
      holders_(MakeHolders(preparationRequests_, epoch_, commands_, std::make_index_sequence<kNoteCount>{})) {}

void Kit::setSoundMode(SoundMode mode) {
  soundMode_ = mode;
  preparationRequests_.request();
}

void Kit::setSessionRate(double rate) {
  // A rate no host sends keeps the one before.
  if (!(rate > 0.0) || rate == sessionRate_) return;
  sessionRate_ = rate;
  preparationRequests_.request();
}

void Kit::startPreview(uint8_t note) {
  if (note < kNoteCount) holder(note).startPreview();
}

void Kit::copyHolder(uint8_t fromNote, uint8_t toNote) {
  if (fromNote >= kNoteCount || toNote >= kNoteCount || fromNote == toNote) return;
  holder(toNote).setSample(holder(fromNote));
}

void Kit::clearAll() {
  for (int note = firstNote_; note <= lastNote_; ++note) {
    SampleHolder& target = holder(static_cast<uint8_t>(note));
    target.setMuteState(kNotMuted);
    target.clear();
  }
}

}  // namespace engine
