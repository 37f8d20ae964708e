// SPDX-License-Identifier: GPL-3.0-or-later
// Items of an input/output list: 32-bit integers, 32-bit reals, 32-bit logicals and
// fixed-length character strings padded with blanks.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace recfmt {

// Sets a character variable to value: blank padded when value is shorter, cut when it is
// longer. The one rule for every assignment to a fixed-length text.
inline void assign_text(std::span<char> variable, std::string_view value) {
  const std::size_t n = std::min(variable.size(), value.size());
  std::copy_n(value.data(), n, variable.data());
  std::fill(variable.begin() + static_cast<std::ptrdiff_t>(n), variable.end(), ' ');
}

// A logical item: 0 is false, anything else true.
struct Logical {
  int32_t value = 0;
};

// A character variable of fixed declared length N, blank padded. It never holds a
// terminating NUL: view() is always exactly N characters.
template <std::size_t N>
struct Text {
  char c[N];

  Text() { std::fill_n(c, N, ' '); }
  Text(std::string_view s) { assign(s); }  // NOLINT: implicit, like an assignment of a literal

  // Assignment of a shorter value pads with blanks, a longer one is cut at N characters.
  void assign(std::string_view s) { assign_text(span(), s); }
  Text& operator=(std::string_view s) {
    assign(s);
    return *this;
  }
  std::string_view view() const { return {c, N}; }
  std::span<char> span() { return {c, N}; }
  static constexpr std::size_t size() { return N; }
  char& operator[](std::size_t i) { return c[i]; }
  char operator[](std::size_t i) const { return c[i]; }
  friend bool operator==(const Text& a, const Text& b) { return a.view() == b.view(); }
};

// One output item, by value.
class Out {
 public:
  enum class Kind : uint8_t { Integer, Real, Logical, Character };

  Out(int32_t v) : kind_(Kind::Integer), i_(v) {}             // NOLINT
  Out(float v) : kind_(Kind::Real), r_(v) {}                  // NOLINT
  Out(Logical v) : kind_(Kind::Logical), i_(v.value) {}       // NOLINT
  Out(std::string_view v) : kind_(Kind::Character), s_(v) {}  // NOLINT
  Out(const char* v) : kind_(Kind::Character), s_(v) {}       // NOLINT
  template <std::size_t N>
  Out(const Text<N>& v) : kind_(Kind::Character), s_(v.view()) {}  // NOLINT
  // Every real of the program is single precision: a double item is a mistake.
  Out(double) = delete;

  Kind kind() const { return kind_; }
  int32_t integer() const { return i_; }
  float real() const { return r_; }
  bool logical() const { return i_ != 0; }
  std::string_view text() const { return s_; }

 private:
  Kind kind_;
  int32_t i_ = 0;
  float r_ = 0.0f;
  std::string_view s_;
};

// One input item: a reference to the variable that receives the value.
class In {
 public:
  using Kind = Out::Kind;

  In(int32_t& v) : kind_(Kind::Integer), i_(&v) {}          // NOLINT
  In(float& v) : kind_(Kind::Real), r_(&v) {}               // NOLINT
  In(Logical& v) : kind_(Kind::Logical), i_(&v.value) {}    // NOLINT
  In(std::span<char> v) : kind_(Kind::Character), s_(v) {}  // NOLINT
  template <std::size_t N>
  In(Text<N>& v) : kind_(Kind::Character), s_(v.span()) {}  // NOLINT

  Kind kind() const { return kind_; }
  int32_t* integer() const { return i_; }
  float* real() const { return r_; }
  std::span<char> text() const { return s_; }

 private:
  Kind kind_;
  int32_t* i_ = nullptr;
  float* r_ = nullptr;
  std::span<char> s_;
};

}  // namespace recfmt
