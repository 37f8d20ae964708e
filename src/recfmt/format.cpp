// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing a format text into its flat node list.
//
// Grammar (blanks outside quotes are ignored, letters are case-insensitive):
//   format := '(' list ')'
//   list   := [item] { (',' | '/' ) ... }   -- a slash also separates items
//   item   := [r] '(' list ')' | [r] data | [n] 'X' | 'T' n | 'TL' n | 'TR' n | 'text' | [r] '/'
//   data   := 'I' w | 'F' w '.' d | 'E' w '.' d | 'A' [w] | 'L' w
#include <cctype>
#include <cstddef>
#include <string>

#include "recfmt/format.h"

namespace recfmt {
namespace {

using Node = Format::Node;
using Kind = Node::Kind;

// Limits that keep a mistaken format from exhausting memory: no format of the program
// comes near them.
constexpr int32_t max_number = 100000;
constexpr std::size_t max_nodes = 200000;
constexpr int32_t max_depth = 32;

Node node(Kind kind, int32_t width = 0, int32_t decimals = 0, std::string text = {}) {
  return Node{kind, width, decimals, std::move(text)};
}

class Parser {
 public:
  Parser(std::string_view text, std::vector<Node>& nodes) : s_(text), nodes_(nodes) {}

  int32_t parse() {
    skip_blanks();
    expect('(');
    parse_list(0);
    expect(')');
    skip_blanks();
    if (i_ != s_.size()) fail("text after the closing parenthesis");
    return reversion_start_;
  }

 private:
  [[noreturn]] void fail(const std::string& why) const {
    throw FormatError("bad format \"" + std::string(s_) + "\" at column " + std::to_string(i_ + 1) +
                      ": " + why);
  }

  void skip_blanks() {
    while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t')) ++i_;
  }
  char peek() {
    skip_blanks();
    return i_ < s_.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(s_[i_])))
                          : '\0';
  }
  void expect(char c) {
    if (peek() != c) fail(std::string("expected '") + c + "'");
    ++i_;
  }
  bool at_digit() { return std::isdigit(static_cast<unsigned char>(peek())) != 0; }

  // An unsigned number (blanks inside are ignored, as everywhere outside quotes).
  int32_t number() {
    if (!at_digit()) fail("expected a number");
    int32_t n = 0;
    while (at_digit()) {
      n = n * 10 + (s_[i_] - '0');
      if (n > max_number) fail("number too large");
      ++i_;
    }
    return n;
  }
  int32_t positive_number() {
    const int32_t n = number();
    if (n == 0) fail("zero is not allowed here");
    return n;
  }

  void emit(const Node& node, int32_t repeat) {
    for (int32_t k = 0; k < repeat; ++k) {
      if (nodes_.size() >= max_nodes) fail("format too long");
      nodes_.push_back(node);
    }
  }

  // Parses items up to (not including) the closing parenthesis of this level. Items are
  // separated by commas; a slash separates too, and a comma next to it is optional.
  void parse_list(int32_t depth) {
    enum class After : uint8_t { Start, Item, Comma, Slash };
    After after = After::Start;
    while (true) {
      const char c = peek();
      if (c == '\0') fail("missing ')'");
      if (c == ')') {
        if (after == After::Comma) fail("comma before ')'");
        return;
      }
      if (c == ',') {
        if (after != After::Item && after != After::Slash) fail("misplaced comma");
        ++i_;
        after = After::Comma;
        continue;
      }
      if (c == '/') {
        ++i_;
        emit(node(Kind::Slash), 1);
        after = After::Slash;
        continue;
      }
      if (after == After::Item) fail("missing comma");
      after = parse_item(depth) ? After::Slash : After::Item;
    }
  }

  // Returns true when the item was a repeated slash.
  bool parse_item(int32_t depth) {
    int32_t repeat = 1;
    bool has_repeat = false;
    if (at_digit()) {
      repeat = positive_number();
      has_repeat = true;
    }
    const char c = peek();
    if (c == '(') {
      if (depth + 1 >= max_depth) fail("groups nested too deeply");
      ++i_;
      const std::size_t first = nodes_.size();
      parse_list(depth + 1);
      expect(')');
      const std::size_t last = nodes_.size();
      if (depth == 0) reversion_start_ = static_cast<int32_t>(first);
      for (int32_t k = 1; k < repeat; ++k) {
        for (std::size_t j = first; j < last; ++j) {
          if (nodes_.size() >= max_nodes) fail("format too long");
          nodes_.push_back(nodes_[j]);
        }
      }
      return false;
    }
    if (c == '\'' || c == '"') {
      if (has_repeat) fail("repeat count before a quoted text");
      emit(node(Kind::Literal, 0, 0, quoted()), 1);
      return false;
    }
    if (c == '/') {
      ++i_;
      emit(node(Kind::Slash), repeat);
      return true;
    }
    ++i_;
    switch (c) {
      case 'I':
        emit(node(Kind::Integer, positive_number()), repeat);
        return false;
      case 'F':
      case 'E': {
        const int32_t w = positive_number();
        expect('.');
        const int32_t d = number();
        emit(node(c == 'F' ? Kind::Fixed : Kind::Exponent, w, d), repeat);
        return false;
      }
      case 'A':
        emit(node(Kind::Alpha, at_digit() ? positive_number() : -1), repeat);
        return false;
      case 'L':
        emit(node(Kind::Logical, positive_number()), repeat);
        return false;
      case 'X':
        // The number in front of X is its distance, not a repeat count.
        emit(node(Kind::Skip, repeat), 1);
        return false;
      case 'T': {
        if (has_repeat) fail("repeat count before T");
        Kind kind = Kind::Tab;
        if (peek() == 'L') {
          kind = Kind::TabLeft;
          ++i_;
        } else if (peek() == 'R') {
          kind = Kind::Skip;
          ++i_;
        }
        emit(node(kind, positive_number()), 1);
        return false;
      }
      default:
        --i_;
        fail("unknown edit descriptor");
    }
  }

  // A quoted text; a doubled quote character stands for one.
  std::string quoted() {
    const char q = s_[i_++];
    std::string out;
    while (true) {
      if (i_ >= s_.size()) fail("unterminated quoted text");
      const char c = s_[i_++];
      if (c == q) {
        if (i_ < s_.size() && s_[i_] == q) {
          out.push_back(q);
          ++i_;
          continue;
        }
        return out;
      }
      out.push_back(c);
    }
  }

  std::string_view s_;
  std::vector<Node>& nodes_;
  std::size_t i_ = 0;
  int32_t reversion_start_ = 0;
};

}  // namespace

Format::Format(std::string_view text) : text_(text) {
  reversion_start_ = Parser(text_, nodes_).parse();
}

}  // namespace recfmt
