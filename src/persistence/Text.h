// Splitting and replacing in plain single-byte texts. Every pass is linear in the text's
// length: a project text comes from anywhere and may be large or built to be slow.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace persistence {

// The pieces between separators, empty ones included, but no more than maxPieces (at least 1):
// the rest of the text is left unsplit and dropped. The piece after the last separator ends at
// its first line feed. The pieces point into text, which must outlive them.
std::vector<std::string_view> SplitText(std::string_view text, char separator, size_t maxPieces);

// The lines of a text, one at a time and never all kept: the pieces between line feeds, empty
// ones included, the piece after the last line feed too. The lines point into the text.
class Lines {
 public:
  class Iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;

    Iterator() = default;
    explicit Iterator(std::string_view text) : rest_(text), atEnd_(false) { advance(); }
    std::string_view operator*() const { return line_; }
    Iterator& operator++() {
      advance();
      return *this;
    }
    bool operator==(const Iterator& other) const {
      return atEnd_ == other.atEnd_ && rest_.data() == other.rest_.data();
    }

   private:
    void advance();

    std::string_view rest_;
    std::string_view line_;
    bool last_ = false;  // the line just taken ended the text
    bool atEnd_ = true;
  };

  explicit Lines(std::string_view text) : text_(text) {}
  Iterator begin() const { return Iterator(text_); }
  Iterator end() const { return Iterator(); }

 private:
  std::string_view text_;
};

// Replaces every exact, case-sensitive occurrence, scanning left to right and going on after
// each insertion. An empty from changes nothing.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to);

}  // namespace persistence
