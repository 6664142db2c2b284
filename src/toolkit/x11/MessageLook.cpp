#include "toolkit/x11/MessageLook.h"

#include <algorithm>
#include <cmath>
#include <sstream>

#include "toolkit/x11/CairoDrawContext.h"

namespace toolkit {
namespace {

const CFont kTextFont = ArialFont(13.0);
constexpr double kMaxTextWidth = 420.0;
constexpr double kMinWidth = 200.0;
constexpr double kLineHeight = 18.0;
constexpr double kMargin = 18.0;
constexpr double kButtonWidth = 84.0;
constexpr double kButtonHeight = 26.0;
constexpr const char* kElision = "...";

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// The length of the longest start of the word that fits the width, ending on a whole UTF-8
// character; at least one character, so that every piece makes progress.
size_t FittingLength(const std::string& word, double width, CDrawContext& measure) {
  size_t fitting = 0;
  size_t end = 0;
  while (end < word.size()) {
    size_t next = end + 1;
    while (next < word.size() && IsContinuationByte(word[next])) ++next;
    if (fitting > 0 && measure.textWidth(std::string_view(word).substr(0, next), kTextFont) > width) break;
    fitting = end = next;
  }
  return fitting;
}

class LineBreaker {
 public:
  LineBreaker(CDrawContext& measure, double width, size_t maxLines)
      : measure_(measure), width_(width), maxLines_(maxLines) {}

  bool full() const { return lines_.size() > maxLines_; }

  void addWord(std::string word) {
    const std::string candidate = line_.empty() ? word : line_ + " " + word;
    if (fits(candidate)) {
      line_ = candidate;
      return;
    }
    if (!line_.empty()) endLine();
    // A word wider than the window is broken where the width ends.
    for (size_t length = 0; !full() && (length = FittingLength(word, width_, measure_)) < word.size();) {
      line_ = word.substr(0, length);
      word.erase(0, length);
      endLine();
    }
    line_ = std::move(word);
  }

  void endLine() {
    if (!full()) lines_.push_back(std::move(line_));
    line_.clear();
  }

  // The lines, as many as fit; the last one marked when some were left out.
  std::vector<std::string> finish() {
    if (!full()) return std::move(lines_);
    lines_.resize(maxLines_);
    std::string& last = lines_.back();
    while (!last.empty() && !fits(last + kElision)) {
      last.pop_back();
      while (!last.empty() && IsContinuationByte(last.back())) last.pop_back();
    }
    last += kElision;
    return std::move(lines_);
  }

 private:
  bool fits(const std::string& text) { return measure_.textWidth(text, kTextFont) <= width_; }

  CDrawContext& measure_;
  double width_;
  size_t maxLines_;
  std::vector<std::string> lines_;
  std::string line_;
};

}  // namespace

MessageLayout LayOutMessage(const std::string& text, int screenWidth, int screenHeight) {
  Image probe(1, 1);
  CairoDrawContext measure(probe);
  const double textWidth = std::clamp(screenWidth - 2.0 * kMargin, kLineHeight, kMaxTextWidth);
  const double textHeight = screenHeight - 3.0 * kMargin - kButtonHeight;
  const auto maxLines = static_cast<size_t>(std::max(1.0, std::floor(textHeight / kLineHeight)));

  LineBreaker breaker(measure, textWidth, maxLines);
  std::istringstream paragraphs(text);
  std::string paragraph;
  while (!breaker.full() && std::getline(paragraphs, paragraph)) {
    std::istringstream words(paragraph);
    std::string word;
    while (!breaker.full() && words >> word) breaker.addWord(std::move(word));
    breaker.endLine();
  }
  MessageLayout layout;
  layout.lines = breaker.finish();

  double widest = kMinWidth;
  for (const std::string& line : layout.lines) widest = std::max(widest, measure.textWidth(line, kTextFont));
  layout.width = static_cast<int>(std::ceil(std::min(widest, textWidth) + 2.0 * kMargin));
  const double linesHeight = kLineHeight * static_cast<double>(layout.lines.size());
  layout.height = static_cast<int>(std::ceil(kMargin + linesHeight + kMargin + kButtonHeight + kMargin));
  const double buttonLeft = (layout.width - kButtonWidth) / 2.0;
  const double buttonTop = layout.height - kMargin - kButtonHeight;
  layout.button = {buttonLeft, buttonTop, buttonLeft + kButtonWidth, buttonTop + kButtonHeight};
  return layout;
}

void DrawMessage(const MessageLayout& layout, bool pressed, Image& image) {
  CairoDrawContext context(image);
  const CRect all{0.0, 0.0, static_cast<double>(layout.width), static_cast<double>(layout.height)};
  context.fillRect(all, {242, 242, 240, 255});
  for (size_t i = 0; i < layout.lines.size(); ++i) {
    const double top = kMargin + kLineHeight * static_cast<double>(i);
    context.drawText(layout.lines[i], {kMargin, top, all.right - kMargin, top + kLineHeight}, kTextFont,
                     {20, 20, 20, 255}, kLeftText);
  }
  context.fillRect(layout.button, pressed ? CColor{190, 190, 188, 255} : CColor{222, 222, 220, 255});
  context.frameRect(layout.button, {120, 120, 120, 255}, 1.0);
  context.drawText("OK", layout.button, kTextFont, {20, 20, 20, 255}, kCenterText);
  context.flush();
}

}  // namespace toolkit
