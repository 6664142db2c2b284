#include "samples/LoadMessages.h"

#include "platform/Files.h"
#include "platform/Messages.h"
#include "samples/FileExtension.h"

namespace samples {
namespace {

// Messages shown in full before a batch holds the rest back.
constexpr size_t kShownInBatch = 3;

thread_local LoadMessageBatch* currentBatch = nullptr;

std::string Quoted(const std::string& path) { return "The file: \"" + path + "\""; }

// The sentences run on without a blank after "manually." and after the Quoted product name:
// the text is kept exactly as users have always seen it.
std::string MissingFileText(const std::string& path) {
  return Quoted(path) + " \ndoes not exist.\n\n" +
         "Maybe you have copied a project from another computer or moved your samples? In some Hosts it is "
         "possible to rescue this situation by editing the .fxb file manually." +
         "Be sure to make a backup of the project file first. Search the file for the string " + "\"Kestrelhollow\"" +
         "And follow the instructions found there carefully.";
}

std::string BrokenWavText(const std::string& path) {
  return Quoted(path) +
         " \nis broken or is on a format that can't be read by Kestrelhollow and could not be loaded.\n\n" +
         "This problem may be a result of a bad/unknown chunk in the wav file.\n\n" +
         "You can try to solve this problem by converting the sample.\n" + "You can for example use:\n\n" +
         "  shntool.exe strip sample.wav\n\n" + "And see if the generated sample works better.\n" +
         "You can find shntool at http://www.etree.org/shnutils/shntool/";
}

}  // namespace

std::string OpenFailureText(const std::string& path) {
  if (!platform::PathExists(path)) return MissingFileText(path);
  if (UpperCaseExtension(path) == "WAV") return BrokenWavText(path);
  return UnreadableFileText(path);
}

std::string UnstorablePathText(const std::string& path) {
  return Quoted(path) +
         " \ncannot be used: its name or the name of a folder above it contains a ';' or a line break, which a "
         "project cannot store.\n\nRename the file or the folder and load it again.";
}

std::string UnreadableFileText(const std::string& path) {
  return Quoted(path) + " \nis of a unknown format or is broken and could not be loaded.";
}

std::string TooLongText(const std::string& path, uint64_t largestBytes) {
  return Quoted(path) + " \nis longer than a sample may be and could not be loaded.\n\nA sample holds at most " +
         std::to_string(largestBytes >> 20) +
         " MB of sample data, about 11 minutes of stereo at 48 kHz (of more than two channels the first two are "
         "kept). Shorten the file or split it into parts.";
}

std::string SilencedSamplesText(const std::string& path, uint64_t count, float largestMagnitude) {
  return Quoted(path) + " \nholds " + std::to_string(count) +
         (count == 1 ? " sample value that is" : " sample values that are") + " not a number, infinite or beyond +/-" +
         std::to_string(static_cast<int>(largestMagnitude)) + " (about +60 dBFS). They play as silence.";
}

void ShowLoadMessage(const std::string& text) {
  if (LoadMessageBatch* batch = currentBatch; batch != nullptr && batch->shown_ >= kShownInBatch) {
    ++batch->heldBack_;
    return;
  }
  if (currentBatch != nullptr) ++currentBatch->shown_;
  platform::ShowMessage(kSampleLoadErrorCaption, text);
}

LoadMessageBatch::LoadMessageBatch() : outer_(currentBatch) { currentBatch = this; }

LoadMessageBatch::~LoadMessageBatch() {
  currentBatch = outer_;
  if (heldBack_ == 0) return;
  try {
    platform::ShowMessage(kSampleLoadErrorCaption,
                          "... and " + std::to_string(heldBack_) + " more sample files could not be loaded.");
  } catch (...) {
    // Out of memory for the summary: the messages already shown stand for the rest.
  }
}

}  // namespace samples
