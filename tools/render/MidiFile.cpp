#include "MidiFile.h"

#include <algorithm>
#include <cmath>

#include "Failure.h"
#include "InputFile.h"
#include "Options.h"

namespace render {
namespace {

constexpr uint32_t kDefaultMicrosecondsPerBeat = 500000;  // 120 beats per minute
// Frames are computed for times up to this; later events are far beyond any render.
constexpr double kLatestSecondsKept = 1e9;

struct TempoChange {
  uint64_t tick;
  uint32_t microsecondsPerBeat;
};

// Reads the file front to back; every read is checked against the bytes that remain and a
// malformed part is refused with its offset.
class Reader {
 public:
  Reader(std::string_view bytes, const std::string& name) : bytes_(bytes), name_(name) {}

  size_t offset() const { return offset_; }
  size_t remaining() const { return bytes_.size() - offset_; }

  [[noreturn]] void fail(size_t at, const std::string& reason) const {
    throw Failure(ExitCode::InputUnreadable,
                  "Cannot read the MIDI file " + name_ + ": " + reason + " at byte " + std::to_string(at));
  }

  void need(size_t count, const char* what) const {
    if (count > remaining()) {
      fail(offset_, std::string(what) + " needs " + std::to_string(count) + " bytes, but the file ends after " +
                        std::to_string(remaining()));
    }
  }

  uint8_t byte(const char* what) {
    need(1, what);
    return static_cast<uint8_t>(bytes_[offset_++]);
  }

  uint32_t bigEndian(int count, const char* what) {
    need(static_cast<size_t>(count), what);
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = (value << 8) | static_cast<uint8_t>(bytes_[offset_++]);
    return value;
  }

  void seek(size_t offset) { offset_ = offset; }

  // Gives back the byte just read (a data byte under running status).
  void unread() { --offset_; }

  std::string_view take(size_t count, const char* what) {
    need(count, what);
    const std::string_view part = bytes_.substr(offset_, count);
    offset_ += count;
    return part;
  }

  // A variable-length quantity: at most four bytes of seven bits each.
  uint32_t variableLength(const char* what) {
    const size_t start = offset_;
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      const uint8_t next = byte(what);
      value = (value << 7) | (next & 0x7Fu);
      if ((next & 0x80u) == 0) return value;
    }
    fail(start, std::string(what) + " is longer than four bytes");
  }

 private:
  std::string_view bytes_;
  const std::string& name_;
  size_t offset_ = 0;
};

// Bytes of data that follow a channel status byte.
int DataBytesOf(uint8_t status) {
  const uint8_t kind = status & 0xF0u;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Notes are all the plug-in plays from a file; other channel messages are read past.
bool IsNote(uint8_t status) { return (status & 0xE0u) == 0x80u; }

// Reads one track chunk (the reader stands after its header and length): counts its notes
// and, given an array, adds them with their tick standing in for the frame until the tempo
// map is complete.
void ReadTrack(Reader& reader, size_t end, std::vector<TimedMidiMessage>* notes, size_t& noteCount,
               std::vector<TempoChange>& tempi, uint64_t& lastTick) {
  uint64_t tick = 0;
  uint8_t runningStatus = 0;
  bool endOfTrack = false;
  while (!endOfTrack && reader.offset() < end) {
    tick += reader.variableLength("an event's delta time");
    lastTick = std::max(lastTick, tick);
    const size_t statusOffset = reader.offset();
    uint8_t status = reader.byte("an event");
    if (status < 0x80) {
      if (runningStatus == 0) reader.fail(statusOffset, "a data byte without a status byte before it");
      status = runningStatus;
      reader.unread();
    }
    if (status < 0xF0) {
      runningStatus = status;
      TimedMidiMessage message{static_cast<int64_t>(tick), {status, 0, 0}};
      for (int i = 0; i < DataBytesOf(status); ++i) {
        const size_t dataOffset = reader.offset();
        const uint8_t data = reader.byte("a channel message");
        if (data >= 0x80) reader.fail(dataOffset, "a channel message is cut short by a status byte");
        message.data[static_cast<size_t>(i) + 1] = data;
      }
      if (IsNote(status)) {
        ++noteCount;
        if (notes != nullptr) notes->push_back(message);
      }
    } else if (status == 0xF0 || status == 0xF7) {
      runningStatus = 0;
      reader.take(reader.variableLength("a system exclusive length"), "a system exclusive message");
    } else if (status == 0xFF) {
      runningStatus = 0;
      const uint8_t type = reader.byte("a meta event");
      const size_t lengthOffset = reader.offset();
      const uint32_t length = reader.variableLength("a meta event's length");
      const std::string_view data = reader.take(length, "a meta event");
      if (type == 0x51) {
        if (length != 3) reader.fail(lengthOffset, "a tempo event has " + std::to_string(length) + " bytes, not 3");
        const uint32_t microseconds = (static_cast<uint32_t>(static_cast<uint8_t>(data[0])) << 16) |
                                      (static_cast<uint32_t>(static_cast<uint8_t>(data[1])) << 8) |
                                      static_cast<uint8_t>(data[2]);
        const double beatsPerMinute = 60e6 / microseconds;
        if (microseconds == 0 || beatsPerMinute < kMinTempo || beatsPerMinute > kMaxTempo) {
          reader.fail(lengthOffset + 1, "a tempo event sets " + std::to_string(microseconds) +
                                            " microseconds per beat, outside the " + std::to_string(kMinTempo) +
                                            " to " + std::to_string(kMaxTempo) + " beats per minute the tool renders");
        }
        tempi.push_back({tick, microseconds});
      }
      if (type == 0x2F) endOfTrack = true;  // anything after it in the chunk is not played
    } else {
      reader.fail(statusOffset, "the status byte " + std::to_string(status) + " has no place in a MIDI file");
    }
    if (reader.offset() > end) reader.fail(statusOffset, "an event runs past the end of its track");
  }
}

// Turns ticks into seconds through the tempo map. Asked for ticks in ascending order, it walks
// the map once.
class TickClock {
 public:
  TickClock(const std::vector<TempoChange>& tempi, uint32_t division, double secondsPerSmpteTick)
      : tempi_(tempi), division_(division), secondsPerSmpteTick_(secondsPerSmpteTick) {}

  double secondsAt(uint64_t tick) {
    if (secondsPerSmpteTick_ > 0.0) return static_cast<double>(tick) * secondsPerSmpteTick_;
    for (; next_ < tempi_.size() && tempi_[next_].tick < tick; ++next_) {
      segmentSeconds_ += secondsOf(tempi_[next_].tick - segmentStart_);
      segmentStart_ = tempi_[next_].tick;
      microsecondsPerBeat_ = tempi_[next_].microsecondsPerBeat;
    }
    return segmentSeconds_ + secondsOf(tick - segmentStart_);
  }

 private:
  double secondsOf(uint64_t ticks) const {
    return static_cast<double>(ticks) * microsecondsPerBeat_ / (1e6 * division_);
  }

  const std::vector<TempoChange>& tempi_;
  uint32_t division_;
  double secondsPerSmpteTick_;
  size_t next_ = 0;
  uint64_t segmentStart_ = 0;
  double segmentSeconds_ = 0.0;
  uint32_t microsecondsPerBeat_ = kDefaultMicrosecondsPerBeat;
};

}  // namespace

MidiFile ParseMidiFile(std::string_view bytes, double sampleRate, const std::string& name) {
  Reader reader(bytes, name);
  if (reader.take(4, "the file header") != "MThd") reader.fail(0, "not a Standard MIDI File (no MThd header)");
  const uint32_t headerLength = reader.bigEndian(4, "the file header");
  if (headerLength < 6) reader.fail(4, "the file header is shorter than 6 bytes");
  const size_t headerStart = reader.offset();
  const uint32_t format = reader.bigEndian(2, "the file header");
  const uint32_t trackCount = reader.bigEndian(2, "the file header");
  const uint32_t division = reader.bigEndian(2, "the file header");
  if (format > 1) reader.fail(headerStart, "format " + std::to_string(format) + " files are not played, only 0 and 1");
  if (format == 0 && trackCount != 1) reader.fail(headerStart + 2, "a format 0 file must have exactly one track");
  reader.take(headerLength - 6, "the file header");

  // Seconds per tick: fixed for SMPTE time, else from the tempo map.
  double secondsPerSmpteTick = 0.0;
  if ((division & 0x8000u) != 0) {
    const int framesPerSecond = -static_cast<int8_t>(division >> 8);
    const uint32_t ticksPerFrame = division & 0xFFu;
    if ((framesPerSecond != 24 && framesPerSecond != 25 && framesPerSecond != 29 && framesPerSecond != 30) ||
        ticksPerFrame == 0) {
      reader.fail(headerStart + 4, "the SMPTE time division is not valid");
    }
    secondsPerSmpteTick = 1.0 / ((framesPerSecond == 29 ? 29.97 : framesPerSecond) * ticksPerFrame);
  } else if (division == 0) {
    reader.fail(headerStart + 4, "the time division is zero");
  }

  // Tracks are read as they come; the count the header claims only says how many to expect.
  // Read twice: the first pass counts the notes, so that the second keeps them in an array of
  // exactly their number; a hostile file may hold millions of events.
  const size_t tracksStart = reader.offset();
  std::vector<TimedMidiMessage> notes;
  std::vector<TempoChange> tempi;
  uint64_t lastTick = 0;
  size_t noteCount = 0;
  for (const bool keep : {false, true}) {
    reader.seek(tracksStart);
    tempi.clear();
    notes.reserve(noteCount);
    noteCount = 0;
    for (uint32_t track = 0; track < trackCount;) {
      const size_t chunkStart = reader.offset();
      const std::string_view type = reader.take(4, "a track chunk");
      const uint32_t length = reader.bigEndian(4, "a track chunk");
      if (length > reader.remaining()) {
        reader.fail(chunkStart, "the chunk claims " + std::to_string(length) + " bytes, but only " +
                                    std::to_string(reader.remaining()) + " follow");
      }
      const size_t end = reader.offset() + length;
      if (type == "MTrk") {
        ReadTrack(reader, end, keep ? &notes : nullptr, noteCount, tempi, lastTick);
        ++track;
      }
      reader.take(end - reader.offset(), "a chunk");  // other chunk types are skipped
    }
  }

  // Merged in time order, tracks in file order among equal ticks; a file of one track, or
  // of one track that plays, is in order already and needs no sorting memory.
  const auto earlier = [](const TimedMidiMessage& a, const TimedMidiMessage& b) { return a.frame < b.frame; };
  if (!std::is_sorted(notes.begin(), notes.end(), earlier)) std::stable_sort(notes.begin(), notes.end(), earlier);
  std::stable_sort(tempi.begin(), tempi.end(),
                   [](const TempoChange& a, const TempoChange& b) { return a.tick < b.tick; });

  MidiFile file;
  if (!tempi.empty() && tempi.front().tick == 0 && secondsPerSmpteTick == 0.0) {
    // The last of the changes at tick 0 is the one in force.
    const auto later = std::find_if(tempi.begin(), tempi.end(), [](const TempoChange& c) { return c.tick > 0; });
    file.initialTempo = 60e6 / std::prev(later)->microsecondsPerBeat;
  }
  TickClock clock(tempi, division, secondsPerSmpteTick);
  for (TimedMidiMessage& note : notes) {
    const double seconds = std::min(clock.secondsAt(static_cast<uint64_t>(note.frame)), kLatestSecondsKept);
    note.frame = std::llround(seconds * sampleRate);
  }
  file.messages = std::move(notes);
  file.lengthSeconds = clock.secondsAt(lastTick);
  return file;
}

MidiFile ReadMidiFile(const std::string& path, double sampleRate) {
  return ParseMidiFile(ReadInputFile(path, "MIDI file"), sampleRate, path);
}

}  // namespace render
