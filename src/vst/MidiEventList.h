// MIDI messages laid out as the VstEvents list a host hands to an effect (effProcessEvents).
// VstEvents is declared with two entries; the list is allocated with room for one pointer per
// event. Filled again, the list reuses its memory as long as it has held as many events before.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "vst/VstInterface.h"

namespace vst {

class MidiEventList {
 public:
  // Empties the list and keeps its memory.
  void clear() { midi_.clear(); }

  void add(int32_t deltaFrames, std::array<uint8_t, 3> bytes) {
    VstMidiEvent& event = midi_.emplace_back();
    event.type = kVstMidiType;
    event.byteSize = sizeof(VstMidiEvent);
    event.deltaFrames = deltaFrames;
    for (size_t i = 0; i < bytes.size(); ++i) event.midiData[i] = static_cast<char>(bytes[i]);
  }

  // The list as the effect receives it; valid until the next add or clear.
  VstEvents* events() {
    const size_t bytes = sizeof(VstEvents) + midi_.size() * sizeof(VstEvent*);
    storage_.assign((bytes + sizeof(intptr_t) - 1) / sizeof(intptr_t), 0);
    auto* list = reinterpret_cast<VstEvents*>(storage_.data());
    list->numEvents = static_cast<int32_t>(midi_.size());
    VstEvent** entries = list->events;  // more than the two the structure declares
    for (size_t i = 0; i < midi_.size(); ++i) entries[i] = reinterpret_cast<VstEvent*>(&midi_[i]);
    return list;
  }

 private:
  std::vector<VstMidiEvent> midi_;
  // Words, so that the list's pointers are aligned.
  std::vector<intptr_t> storage_;
};

}  // namespace vst
