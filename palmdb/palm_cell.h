// One value of a handheld table's current record, held the way it arrived (a number read from
// the handheld, an integer or float given by a caller, or a text) and turned into its regional
// text only when someone asks for the text. An empty text is "no value".
#pragma once

#include <climits>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/date_time.h"
#include "core/regional_formats.h"

class TPalmCell {
 public:
  enum class TKind : uint8_t { Text, Integer, Float, Date };

  TKind Kind() const { return kind_; }
  // True for the empty text (a field without a value).
  bool Empty() const { return kind_ == TKind::Text && text_.empty(); }

  void Clear() {
    kind_ = TKind::Text;
    text_.clear();
  }
  void SetText(std::string_view text) {
    kind_ = TKind::Text;
    text_.assign(text);
  }
  void SetText(std::string&& text) {
    kind_ = TKind::Text;
    text_ = std::move(text);
  }
  void SetInteger(int64_t value) {
    kind_ = TKind::Integer;
    integer_ = value;
  }
  // A number that is not finite is kept as its text ("NAN", "INF", "-INF").
  void SetFloat(double value, const TFormatSettings& formats) {
    if (!std::isfinite(value)) [[unlikely]] {
      SetNonFiniteFloat(value, formats);
      return;
    }
    kind_ = TKind::Float;
    float_ = value;
  }
  // A date-time with whole seconds, as the handheld stores them.
  void SetDate(TDateTime value) {
    kind_ = TKind::Date;
    date_ = value;
  }

  int64_t Integer() const { return integer_; }
  // True for an Integer cell whose number fits 32 bits.
  bool HoldsInt32() const { return kind_ == TKind::Integer && integer_ >= INT32_MIN && integer_ <= INT32_MAX; }
  // The number as given; its text and what that text reads back as are 15 significant digits.
  double Float() const { return float_; }
  // The number as its text reads back: rounded to 15 significant digits. None when the
  // rounding passes the largest double, whose text reads as no number.
  std::optional<double> RoundedFloat() const;
  TDateTime Date() const { return date_; }
  // The text of a Text cell (empty for the other kinds).
  const std::string& StoredText() const { return text_; }

  // The regional text: decimal integers, general floating text with 15 significant digits,
  // short date and the long time only when there is a time of day, a text as it is.
  std::string Text(const TFormatSettings& formats) const;

 private:
  [[gnu::cold]] void SetNonFiniteFloat(double value, const TFormatSettings& formats);

  TKind kind_ = TKind::Text;
  std::string text_;
  int64_t integer_ = 0;
  double float_ = 0.0;
  TDateTime date_{};
};
