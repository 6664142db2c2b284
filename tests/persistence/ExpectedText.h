// Project texts spelled out line by line, independently of the writer's own constants.
#pragma once

#include <string>
#include <vector>

namespace persistencetest {

// A version 2.0 text: header, the given record lines, padding and end marker.
inline std::string VersionTwoText(const std::vector<std::string>& records) {
  std::string text =
      "\n"
      "Kestrelhollow Data Version 2.0\n"
      "================================\n"
      "# If you edit this data manually take away the same numbers of # at the end of the\n"
      "# configuration as you add (to make sure the file size does not differ).\n"
      "#\n";
  for (const std::string& record : records) text += record + "\n";
  text += "\n";
  for (int line = 0; line < 14; ++line) text += std::string(91, '#') + "\n";
  text += "Kestrelhollow Data ends here\n";
  return text;
}

// "smp2" record of a holder with default settings.
inline std::string DefaultHolderRecord(int note, const std::string& name = "", const std::string& path = "") {
  return "smp2;" + std::to_string(note) + ";" + name + ";" + path + ";1;not_muted;0;1;0.5;no_swing;";
}

// A "seq1" record: the steps given as 128 (or fewer, rest silent) characters '1' and '0'.
inline std::string PatternRecord(int pattern, int note, int resolution, const std::string& steps) {
  std::string record = "seq1;" + std::to_string(pattern) + ";" + std::to_string(note) + ";" + std::to_string(resolution) + ";";
  for (size_t step = 0; step < 128; ++step) record += std::string(1, step < steps.size() ? steps[step] : '0') + ";";
  return record;
}

// The text of a state after a reset.
inline std::string DefaultText() {
  std::vector<std::string> records;
  for (int note = 36; note <= 47; ++note) records.push_back(DefaultHolderRecord(note));
  records.insert(records.end(), {"syn1;0.75;no_downmix;", "seq2;0.5;0;0;", "vst1;Hsync;"});
  return VersionTwoText(records);
}

}  // namespace persistencetest
