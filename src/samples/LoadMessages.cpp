#include "samples/LoadMessages.h"

#include "platform/Files.h"
#include "samples/FileExtension.h"

namespace samples {
namespace {

std::string quoted(const std::string& path) { return "The file: \"" + path + "\""; }

// The sentences run on without a blank after "manually." and after the quoted product name:
// the text is kept exactly as users have always seen it.
std::string missingFileText(const std::string& path) {
  return quoted(path) + " \ndoes not exist.\n\n" +
         "Maybe you have copied a project from another computer or moved your samples? In some Hosts it is "
         "possible to rescue this situation by editing the .fxb file manually." +
         "Be sure to make a backup of the project file first. Search the file for the string " +
         "\"Kestrelhollow\"" + "And follow the instructions found there carefully.";
}

std::string brokenWavText(const std::string& path) {
  return quoted(path) +
         " \nis broken or is on a format that can't be read by Kestrelhollow and could not be loaded.\n\n" +
         "This problem may be a result of a bad/unknown chunk in the wav file.\n\n" +
         "You can try to solve this problem by converting the sample.\n" + "You can for example use:\n\n" +
         "  shntool.exe strip sample.wav\n\n" + "And see if the generated sample works better.\n" +
         "You can find shntool at http://www.etree.org/shnutils/shntool/";
}

}  // namespace

std::string OpenFailureText(const std::string& path) {
  if (!platform::FileExists(path)) return missingFileText(path);
  if (UpperCaseExtension(path) == "WAV") return brokenWavText(path);
  return UnreadableFileText(path);
}

std::string UnreadableFileText(const std::string& path) {
  return quoted(path) + " \nis of a unknown format or is broken and could not be loaded.";
}

}  // namespace samples
