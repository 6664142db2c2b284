#include "RenderTool.h"

#include <sstream>

namespace rendertest {

ToolRun RunRender(const std::vector<std::string>& arguments, RunSettings settings) {
  std::vector<std::string> command{KH_RENDER_PATH};
  if (settings.withBuiltPlugin) command.insert(command.end(), {"--plugin", KH_PLUGIN_PATH});
  command.insert(command.end(), arguments.begin(), arguments.end());
  return testhost::RunProcess(command, settings.process);
}

std::string ProjectText(const std::vector<Holder>& holders, const std::vector<PatternRow>& rows,
                        const std::string& mode) {
  std::ostringstream text;
  text << "\nKestrelhollow Data Version 2.0\n"
       << std::string(32, '=') << "\n"
       << "# If you edit this data manually take away the same numbers of # at the end of the\n"
       << "# configuration as you add (to make sure the file size does not differ).\n#\n";
  for (int note = 36; note <= 47; ++note) {
    Holder holder{note, ""};
    for (const Holder& given : holders) {
      if (given.note == note) holder = given;
    }
    text << "smp2;" << note << ";;" << holder.path << ";1;not_muted;0;1;" << holder.pan << ";"
         << (holder.swing ? "swing" : "no_swing") << ";\n";
  }
  text << "syn1;0.75;no_downmix;\n";
  for (const PatternRow& row : rows) {
    std::vector<int> cells(128, 0);
    for (int step : row.steps) cells[static_cast<size_t>(step)] = 1;
    text << "seq1;" << row.pattern << ";" << row.note << ";" << row.resolution << ";";
    for (int cell : cells) text << cell << ";";
    text << "\n";
  }
  text << "seq2;0.5;0;0;\nvst1;" << mode << ";\n";
  for (int line = 0; line < 14; ++line) text << "\n" << std::string(91, '#');
  text << "\nKestrelhollow Data ends here\n";
  return text.str();
}

namespace {

void AppendBigEndian(std::string& bytes, uint32_t value, int count) {
  for (int shift = 8 * (count - 1); shift >= 0; shift -= 8) bytes += static_cast<char>((value >> shift) & 0xFF);
}

void AppendVariableLength(std::string& bytes, uint32_t value) {
  std::string groups(1, static_cast<char>(value & 0x7F));
  while ((value >>= 7) != 0) groups.insert(groups.begin(), static_cast<char>(0x80 | (value & 0x7F)));
  bytes += groups;
}

}  // namespace

std::string MidiTrack(const std::vector<MidiNote>& notes) {
  std::string events;
  int pulse = 0;
  unsigned char runningStatus = 0;
  for (const MidiNote& note : notes) {
    AppendVariableLength(events, static_cast<uint32_t>(note.pulse - pulse));
    pulse = note.pulse;
    const unsigned char status = note.message.front();
    const bool repeated = status == runningStatus;
    runningStatus = status < 0xF0 ? status : 0;
    events.append(note.message.begin() + (repeated ? 1 : 0), note.message.end());
  }
  events += std::string("\0\xFF\x2F\0", 4);
  std::string chunk = "MTrk";
  AppendBigEndian(chunk, static_cast<uint32_t>(events.size()), 4);
  return chunk + events;
}

std::string MidiFileBytes(int format, const std::vector<std::string>& tracks, int division) {
  std::string bytes = "MThd";
  AppendBigEndian(bytes, 6, 4);
  AppendBigEndian(bytes, static_cast<uint32_t>(format), 2);
  AppendBigEndian(bytes, static_cast<uint32_t>(tracks.size()), 2);
  AppendBigEndian(bytes, static_cast<uint32_t>(division), 2);
  for (const std::string& track : tracks) bytes += track;
  return bytes;
}

}  // namespace rendertest
