#include "common/numbers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace korvan {
namespace {

enum class Marks { Plain, Comma, Thousands };  // as written / E2VAL / XVAL

double readNumber(const QChar* p, const QChar* end, Marks marks) {
  auto skipped = [marks](char16_t c) {
    return (marks == Marks::Comma && c == u'.') || (marks == Marks::Thousands && c == u',');
  };
  auto point = [marks](char16_t c) {
    return c == u'.' || (marks == Marks::Comma && c == u',');
  };
  while (p < end && (p->unicode() == u' ' || p->unicode() == u'\t' || skipped(p->unicode()))) ++p;
  bool negative = false;
  if (p < end && (p->unicode() == u'-' || p->unicode() == u'+')) {
    negative = p->unicode() == u'-';
    ++p;
  }
  char small[64];
  std::string large;
  char* out = small;
  char* const smallEnd = small + sizeof small - 2;
  bool usingLarge = false;
  auto put = [&](char c) {
    if (!usingLarge && out == smallEnd) {
      large.assign(small, out);
      usingLarge = true;
    }
    if (usingLarge) large.push_back(c);
    else *out++ = c;
  };
  bool digits = false, seenPoint = false;
  for (; p < end; ++p) {
    const char16_t c = p->unicode();
    if (skipped(c)) continue;
    if (c >= u'0' && c <= u'9') {
      put(static_cast<char>(c));
      digits = true;
    } else if (point(c) && !seenPoint) {
      put('.');
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!digits) return 0.0;
  double v = 0;
  const char* first = usingLarge ? large.data() : small;
  const char* last = usingLarge ? large.data() + large.size() : out;
  if (std::from_chars(first, last, v).ec == std::errc::result_out_of_range) {
    // Too many digits for a double: beyond the largest number if any digit
    // before the point is not 0, else too small to tell from 0.
    const char* p0 = first;
    while (p0 < last && *p0 == '0') ++p0;
    v = (p0 < last && *p0 != '.') ? HUGE_VAL : 0.0;
  }
  if (v == 0) return 0.0;
  return negative ? -v : v;
}

double readAll(const QString& t, Marks marks) {
  return readNumber(t.constData(), t.constData() + t.size(), marks);
}

}  // namespace

double VAL(const QString& text) { return readAll(text, Marks::Plain); }
double E2VAL(const QString& text) { return readAll(text, Marks::Comma); }
double XVAL(const QString& text) { return readAll(text, Marks::Thousands); }

double INTELI_VAL(const QString& text, bool pointsSeparateThousands) {
  const QChar* b = text.constData();
  const QChar* e = b + text.size();
  while (b < e && b->isSpace()) ++b;
  while (e > b && (e - 1)->isSpace()) --e;
  const QChar* lastComma = nullptr;
  const QChar* lastPoint = nullptr;
  for (const QChar* p = b; p < e; ++p) {
    if (p->unicode() == u',') lastComma = p;
    else if (p->unicode() == u'.') lastPoint = p;
  }
  Marks marks = Marks::Plain;
  if (lastComma && lastPoint) marks = lastComma > lastPoint ? Marks::Comma : Marks::Thousands;
  else if (lastComma) marks = Marks::Comma;
  else if (lastPoint && pointsSeparateThousands) marks = Marks::Comma;
  return readNumber(b, e, marks);
}

bool EQ(double a, double b) {
  const double d = a - b;
  return (d < 0 ? -d : d) < 0.0001;
}

double MM2PT(double millimetres) { return millimetres * 2.8346; }
double MM2PTX(double millimetres) { return MM2PT(millimetres) / 0.75; }

}  // namespace korvan
