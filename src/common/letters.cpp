#include "common/letters.h"

#include <array>

namespace korvan {
namespace {

bool g_isUtf8 = false;

// The ten letters in one order: č ć đ š ž Č Ć Đ Š Ž.
enum Letter { c1, c2, d1, s1, z1, C1, C2, D1, S1, Z1, kLetters };

constexpr std::array<char32_t, kLetters> kUnicode = {0x010D, 0x0107, 0x0111, 0x0161, 0x017E,
                                                     0x010C, 0x0106, 0x0110, 0x0160, 0x017D};
constexpr std::array<unsigned char, kLetters> kCp1250 = {0xE8, 0xE6, 0xF0, 0x9A, 0x9E,
                                                         0xC8, 0xC6, 0xD0, 0x8A, 0x8E};
constexpr std::array<unsigned char, kLetters> kCp852 = {0x9F, 0x86, 0xD0, 0xE7, 0xA7,
                                                        0xAC, 0x8F, 0xD1, 0xE6, 0xA6};
const std::array<const char*, kLetters> kPlain = {"c", "c", "dj", "s", "z", "C", "C", "DJ", "S", "Z"};
const std::array<const char*, kLetters> kYuscii = {"~", "}", "|", "{", "`", "^", "]", "\\", "[", "@"};

void appendUtf8(QByteArray& out, char32_t cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | (cp >> 18));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

QByteArray utf8(char32_t cp) {
  QByteArray b;
  appendUtf8(b, cp);
  return b;
}

// Decodes one well-formed UTF-8 character at i: its length, or 0 when the
// bytes there are not one (they are then copied as they are).
int decode(const QByteArray& s, qsizetype i, char32_t* cp) {
  const auto b = [&](qsizetype k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char lead = b(i);
  if (lead < 0x80) {
    *cp = lead;
    return 1;
  }
  int len = 0;
  char32_t v = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    len = 2;
    v = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    len = 3;
    v = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    len = 4;
    v = lead & 0x07;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (int k = 1; k < len; ++k) {
    const unsigned char c = b(i + k);
    if ((c & 0xC0) != 0x80) return 0;
    v = (v << 6) | (c & 0x3F);
  }
  if ((len == 3 && (v < 0x800 || (v >= 0xD800 && v <= 0xDFFF))) || (len == 4 && (v < 0x10000 || v > 0x10FFFF)))
    return 0;
  *cp = v;
  return len;
}

int letterOf(char32_t cp) {
  if (cp == 0x00D0) return D1;  // Latin capital eth, read as Đ
  for (int k = 0; k < kLetters; ++k)
    if (kUnicode[size_t(k)] == cp) return k;
  return -1;
}

int letterOf1250(unsigned char b) {
  for (int k = 0; k < kLetters; ++k)
    if (kCp1250[size_t(k)] == b) return k;
  return -1;
}

QByteArray letter(Letter l) {
  return g_isUtf8 ? utf8(kUnicode[l]) : QByteArray(1, char(kCp1250[l]));
}

// Serbian Cyrillic alphabet and its Latin spelling, written with letter
// indices for the letters with diacritics.
struct CyrRow {
  char32_t upper, lower;
  const char* latinUpper;  // plain part; nullptr when the letter is one of the ten
  const char* latinLower;
  int letterUpper, letterLower;  // index into the ten, or -1
};

const std::array<CyrRow, 30>& alphabet() {
  static const std::array<CyrRow, 30> rows = {{
      {0x0410, 0x0430, "A", "a", -1, -1},     {0x0411, 0x0431, "B", "b", -1, -1},
      {0x0412, 0x0432, "V", "v", -1, -1},     {0x0413, 0x0433, "G", "g", -1, -1},
      {0x0414, 0x0434, "D", "d", -1, -1},     {0x0402, 0x0452, nullptr, nullptr, D1, d1},
      {0x0415, 0x0435, "E", "e", -1, -1},     {0x0416, 0x0436, nullptr, nullptr, Z1, z1},
      {0x0417, 0x0437, "Z", "z", -1, -1},     {0x0418, 0x0438, "I", "i", -1, -1},
      {0x0408, 0x0458, "J", "j", -1, -1},     {0x041A, 0x043A, "K", "k", -1, -1},
      {0x041B, 0x043B, "L", "l", -1, -1},     {0x0409, 0x0459, "LJ", "lj", -1, -1},
      {0x041C, 0x043C, "M", "m", -1, -1},     {0x041D, 0x043D, "N", "n", -1, -1},
      {0x040A, 0x045A, "NJ", "nj", -1, -1},   {0x041E, 0x043E, "O", "o", -1, -1},
      {0x041F, 0x043F, "P", "p", -1, -1},     {0x0420, 0x0440, "R", "r", -1, -1},
      {0x0421, 0x0441, "S", "s", -1, -1},     {0x0422, 0x0442, "T", "t", -1, -1},
      {0x040B, 0x045B, nullptr, nullptr, C2, c2}, {0x0423, 0x0443, "U", "u", -1, -1},
      {0x0424, 0x0444, "F", "f", -1, -1},     {0x0425, 0x0445, "H", "h", -1, -1},
      {0x0426, 0x0446, "C", "c", -1, -1},     {0x0427, 0x0447, nullptr, nullptr, C1, c1},
      {0x040F, 0x045F, "D", "d", Z1, z1},     {0x0428, 0x0448, nullptr, nullptr, S1, s1},
  }};
  return rows;
}

}  // namespace

bool G_ISUTF8(std::optional<bool> value) {
  const bool before = g_isUtf8;
  if (value) g_isUtf8 = *value;
  return before;
}

QByteArray L_C() { return letter(c1); }
QByteArray L_CL() { return letter(c2); }
QByteArray L_D() { return letter(d1); }
QByteArray L_S() { return letter(s1); }
QByteArray L_Z() { return letter(z1); }
QByteArray U_C() { return letter(C1); }
QByteArray U_CL() { return letter(C2); }
QByteArray U_D() { return letter(D1); }
QByteArray U_S() { return letter(S1); }
QByteArray U_Z() { return letter(Z1); }
QByteArray L_L() { return g_isUtf8 ? utf8(0x01C9) : QByteArray("lj"); }
QByteArray L_N() { return g_isUtf8 ? utf8(0x01CC) : QByteArray("nj"); }
QByteArray L_X() { return g_isUtf8 ? utf8(0x045F) : QByteArray("d") + L_Z(); }
QByteArray U_L() { return g_isUtf8 ? utf8(0x01C7) : QByteArray("LJ"); }
QByteArray U_N() { return g_isUtf8 ? utf8(0x01CA) : QByteArray("NJ"); }
QByteArray U_X() { return g_isUtf8 ? utf8(0x040F) : QByteArray("D") + U_Z(); }

QByteArray UTF8TOCP1250(const QByteArray& text, bool cyrillic, bool ascii, bool yuscii) {
  if (!g_isUtf8) return text;
  std::array<QByteArray, kLetters> target;
  for (int k = 0; k < kLetters; ++k) {
    target[size_t(k)] = yuscii ? QByteArray(kYuscii[size_t(k)])
                        : ascii ? QByteArray(kPlain[size_t(k)])
                                : QByteArray(1, char(kCp1250[size_t(k)]));
  }
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size();) {
    char32_t cp = 0;
    const int len = decode(text, i, &cp);
    if (len == 0) {
      out += text[i++];
      continue;
    }
    i += len;
    if (const int l = letterOf(cp); l >= 0) {
      out += target[size_t(l)];
      continue;
    }
    switch (cp) {
      case 0x01C9: out += "lj"; continue;
      case 0x01CC: out += "nj"; continue;
      case 0x01C7: out += "LJ"; continue;
      case 0x01CA: out += "NJ"; continue;
      case 0x045F: out += 'd' + target[z1]; continue;
      case 0x040F: out += 'D' + target[Z1]; continue;
      default: break;
    }
    if (cyrillic) {
      bool done = false;
      for (const CyrRow& r : alphabet()) {
        if (cp == r.upper || cp == r.lower) {
          const bool up = cp == r.upper;
          const char* plain = up ? r.latinUpper : r.latinLower;
          const int l = up ? r.letterUpper : r.letterLower;
          if (plain) out += plain;
          if (l >= 0) out += target[size_t(l)];
          done = true;
          break;
        }
      }
      if (done) continue;
    }
    appendUtf8(out, cp);
  }
  return out;
}

QByteArray CP1250TOUTF8(const QByteArray& text, const QList<QPair<QByteArray, QByteArray>>& pairs) {
  QByteArray out;
  out.reserve(text.size() + text.size() / 4);
  for (const char ch : text) {
    const unsigned char b = static_cast<unsigned char>(ch);
    if (const int l = letterOf1250(b); l >= 0) {
      appendUtf8(out, kUnicode[size_t(l)]);
    } else if (b == 0xA6) {
      appendUtf8(out, 0x017D);  // Ž in code page 852
    } else if (b == 0x8F) {
      appendUtf8(out, 0x0106);  // Ć in code page 852
    } else if (b == 0x96) {
      out += '-';
    } else if (b == 0x80) {
      appendUtf8(out, 0x20AC);
    } else {
      out += ch;
    }
  }
  for (const auto& p : pairs) out.replace(p.first, p.second);
  return out;
}

QByteArray UTF8CYR(const QByteArray& text) {
  QByteArray out;
  out.reserve(text.size() * 2);
  for (qsizetype i = 0; i < text.size();) {
    char32_t cp = 0;
    const int len = decode(text, i, &cp);
    if (len == 0) {
      out += text[i++];
      continue;
    }
    i += len;
    if (cp == 0x00D0) cp = 0x0110;
    // DŽ and dž are one letter.
    if (cp == 'D' || cp == 'd') {
      char32_t next = 0;
      const int nlen = i < text.size() ? decode(text, i, &next) : 0;
      if (nlen > 0 && ((cp == 'D' && next == 0x017D) || (cp == 'd' && next == 0x017E))) {
        appendUtf8(out, cp == 'D' ? 0x040F : 0x045F);
        i += nlen;
        continue;
      }
    }
    switch (cp) {
      case 0x01C7: appendUtf8(out, 0x0409); continue;
      case 0x01C9: appendUtf8(out, 0x0459); continue;
      case 0x01CA: appendUtf8(out, 0x040A); continue;
      case 0x01CC: appendUtf8(out, 0x045A); continue;
      default: break;
    }
    bool done = false;
    for (const CyrRow& r : alphabet()) {
      if (r.upper == 0x0409 || r.upper == 0x040A || r.upper == 0x040F) continue;  // pairs, above
      const bool up = r.latinUpper ? QByteArray(r.latinUpper) == utf8(cp)
                                   : r.letterUpper >= 0 && kUnicode[size_t(r.letterUpper)] == cp;
      const bool low = r.latinLower ? QByteArray(r.latinLower) == utf8(cp)
                                    : r.letterLower >= 0 && kUnicode[size_t(r.letterLower)] == cp;
      if (up || low) {
        appendUtf8(out, up ? r.upper : r.lower);
        done = true;
        break;
      }
    }
    if (!done) appendUtf8(out, cp);
  }
  return out;
}

QByteArray UTF8TOCP852(const QByteArray& text) {
  if (!g_isUtf8) return text;
  QByteArray out;
  for (qsizetype i = 0; i < text.size();) {
    char32_t cp = 0;
    const int len = decode(text, i, &cp);
    if (len == 0) {
      out += text[i++];
      continue;
    }
    const int l = letterOf(cp);
    if (l >= 0) {
      out += char(kCp852[size_t(l)]);
    } else {
      out += text.mid(i, len);
    }
    i += len;
  }
  return out;
}

QByteArray CP852TO1250(const QByteArray& text) {
  QByteArray out = text;
  for (char& ch : out) {
    for (int k = 0; k < kLetters; ++k) {
      if (static_cast<unsigned char>(ch) == kCp852[size_t(k)]) {
        ch = char(kCp1250[size_t(k)]);
        break;
      }
    }
  }
  return out;
}

std::optional<QByteArray> IZBACI_YU(const std::optional<QByteArray>& text) {
  if (!text) return std::nullopt;
  QByteArray out;
  for (const char ch : *text) {
    const int l = letterOf1250(static_cast<unsigned char>(ch));
    if (l >= 0) {
      out += kPlain[size_t(l)];
    } else {
      out += ch;
    }
  }
  return out;
}

namespace {

QByteArray changeCase(const QByteArray& text, bool upper) {
  // The five pairs: small index k, capital index k + 5.
  if (!g_isUtf8) {
    QByteArray out = text;
    for (char& ch : out) {
      const unsigned char b = static_cast<unsigned char>(ch);
      if (b < 0x80) {
        ch = upper ? char(QChar::toUpper(char32_t(b))) : char(QChar::toLower(char32_t(b)));
        continue;
      }
      const int l = letterOf1250(b);
      if (l >= 0) ch = char(kCp1250[size_t(upper ? (l % 5) + 5 : l % 5)]);
    }
    return out;
  }
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size();) {
    char32_t cp = 0;
    const int len = decode(text, i, &cp);
    if (len == 0) {
      out += text[i++];
      continue;
    }
    if (cp < 0x80) {
      out += upper ? char(QChar::toUpper(cp)) : char(QChar::toLower(cp));
    } else if (const int l = letterOf(cp); l >= 0) {
      appendUtf8(out, kUnicode[size_t(upper ? (l % 5) + 5 : l % 5)]);
    } else {
      out += text.mid(i, len);
    }
    i += len;
  }
  return out;
}

}  // namespace

QByteArray UPPER_1250(const QByteArray& text) { return changeCase(text, true); }
QByteArray LOWER_1250(const QByteArray& text) { return changeCase(text, false); }

QString PLAIN_TEXT(const QString& text) {
  QString out;
  out.reserve(text.size() + 4);
  for (const QChar ch : text) {
    const int l = letterOf(ch.unicode());
    if (l >= 0) {
      out += QLatin1String(kPlain[size_t(l)]);
    } else {
      out += ch;
    }
  }
  return out;
}

QString CYR_TEXT(const QString& text) { return QString::fromUtf8(UTF8CYR(text.toUtf8())); }

QString CP1250_TEXT(const QByteArray& bytes) { return QString::fromUtf8(CP1250TOUTF8(bytes)); }

}  // namespace korvan
