#include "persistence/MidiExport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/StepClock.h"

namespace persistence {
namespace {

constexpr uint32_t kTicksPerBar = kMidiTicksPerBeat * engine::kBeatsPerBar;
// Channel 10, where DAWs expect drums.
constexpr char kNoteOn = '\x99';
constexpr char kNoteOff = '\x89';
constexpr char kReleaseVelocity = 64;  // what a keyboard that senses none sends

// The order of events at one tick: a note ends before the next starts on its key.
enum class Place { Setup, NoteOff, Marker, NoteOn };

struct Event {
  uint32_t tick;
  Place place;
  std::string bytes;
};

void AppendBigEndian(std::string& out, uint32_t value, int count) {
  for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void AppendVariableLength(std::string& out, uint32_t value) {
  std::string reversed(1, static_cast<char>(value & 0x7F));
  while ((value >>= 7) != 0) reversed += static_cast<char>(0x80 | (value & 0x7F));
  out.append(reversed.rbegin(), reversed.rend());
}

std::string MetaEvent(char type, std::string_view data) {
  std::string event{'\xFF', type};
  AppendVariableLength(event, static_cast<uint32_t>(data.size()));
  return event.append(data);
}

// The sequencer's step start in ticks, to the nearest tick; a step of the bar stays before its end.
uint32_t StepTick(int step, int32_t steps, bool swung, double swingAmount) {
  const double time = engine::StepStart(step, steps, swung, swingAmount, kMidiTicksPerBeat);
  const auto tick = static_cast<uint32_t>(std::llround(time));
  return step < steps ? std::min(tick, kTicksPerBar - 1) : tick;
}

void AddPattern(std::vector<Event>& events, const engine::PatternStore& patterns, const engine::Kit& kit, int pattern,
                uint32_t barStart) {
  events.push_back({barStart, Place::Marker, MetaEvent('\x06', engine::PatternName(pattern))});
  const int32_t steps = patterns.resolution(pattern);
  const double swingAmount = patterns.swingAmount();
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    const auto note = static_cast<uint8_t>(engine::kFirstNote + holder);
    const bool swung = kit.holder(note).swing();
    for (int step = 0; step < steps; ++step) {
      if (!patterns.cellSounds(pattern, step, holder)) continue;
      const uint32_t on = barStart + StepTick(step, steps, swung, swingAmount);
      // At least a tick long: a fully swung step meets the next one.
      const uint32_t off = std::max(barStart + StepTick(step + 1, steps, swung, swingAmount), on + 1);
      const auto velocity = static_cast<char>(patterns.stepVelocity(pattern, step, holder));
      events.push_back({on, Place::NoteOn, {kNoteOn, static_cast<char>(note), velocity}});
      events.push_back({off, Place::NoteOff, {kNoteOff, static_cast<char>(note), kReleaseVelocity}});
    }
  }
}

}  // namespace

std::string MidiExportName(std::optional<int> pattern) {
  return pattern ? engine::PatternName(*pattern) : "All patterns";
}

std::string PatternsAsMidiFile(const engine::PatternStore& patterns, const engine::Kit& kit, std::optional<int> pattern,
                               double tempo) {
  if (!(tempo > 0.0) || !std::isfinite(tempo)) tempo = kDefaultMidiTempo;
  // Microseconds per beat, rounded inside the range of tempi.
  constexpr double kMicrosecondsPerMinute = 60e6;
  const double microseconds =
      std::clamp(std::round(kMicrosecondsPerMinute / tempo), std::ceil(kMicrosecondsPerMinute / kHighestMidiTempo),
                 std::floor(kMicrosecondsPerMinute / kLowestMidiTempo));
  std::string tempoData;
  AppendBigEndian(tempoData, static_cast<uint32_t>(microseconds), 3);

  std::vector<Event> events{{0, Place::Setup, MetaEvent('\x03', MidiExportName(pattern))},
                            {0, Place::Setup, MetaEvent('\x58', std::string_view("\x04\x02\x18\x08", 4))},
                            {0, Place::Setup, MetaEvent('\x51', tempoData)}};
  const int first = pattern.value_or(0);
  const int count = pattern ? 1 : engine::kPatternCount;
  for (int bar = 0; bar < count; ++bar) AddPattern(events, patterns, kit, first + bar, bar * kTicksPerBar);
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.place < b.place;
  });
  events.push_back({count * kTicksPerBar, Place::Setup, MetaEvent('\x2F', {})});

  std::string track;
  uint32_t tick = 0;
  for (const Event& event : events) {
    AppendVariableLength(track, event.tick - tick);
    track += event.bytes;
    tick = event.tick;
  }
  std::string file = "MThd";
  AppendBigEndian(file, 6, 4);
  AppendBigEndian(file, 1, 2);  // format 1
  AppendBigEndian(file, 1, 2);  // one track
  AppendBigEndian(file, kMidiTicksPerBeat, 2);
  file += "MTrk";
  AppendBigEndian(file, static_cast<uint32_t>(track.size()), 4);
  return file + track;
}

}  // namespace persistence
