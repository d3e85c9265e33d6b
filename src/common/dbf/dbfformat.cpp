#include <algorithm>
#include "common/dbf/dbfformat.h"

#include "common/dbf/dbferror.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace korvan::dbf {
namespace {

uint16_t le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

[[noreturn]] void corrupt(const QString& file, const QString& what) {
  fail(EG_CORRUPTION, SC_CORRUPT, "Oštećena tabela (" + what + ")", file, "open");
}

bool validName(const QString& n) {
  if (n.isEmpty() || n.size() > 10) return false;
  if (!(n[0] >= 'A' && n[0] <= 'Z')) return false;
  for (QChar c : n)
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_')) return false;
  return true;
}

// Rounds a plain decimal text ("-12.345") to dec decimals, half away from zero.
QByteArray roundDecimal(QByteArray t, int dec) {
  bool neg = false;
  if (t.startsWith('-')) {
    neg = true;
    t.remove(0, 1);
  } else if (t.startsWith('+')) {
    t.remove(0, 1);
  }
  int point = t.indexOf('.');
  QByteArray ip = point < 0 ? t : t.left(point);
  QByteArray fp = point < 0 ? QByteArray() : t.mid(point + 1);
  if (ip.isEmpty()) ip = "0";
  bool up = fp.size() > dec && fp[dec] >= '5';
  fp = fp.left(dec);
  while (fp.size() < dec) fp.append('0');
  QByteArray digits = ip + fp;
  if (up) {
    int i = digits.size() - 1;
    while (i >= 0) {
      if (digits[i] == '9') {
        digits[i] = '0';
        --i;
      } else {
        digits[i] = char(digits[i] + 1);
        break;
      }
    }
    if (i < 0) digits.prepend('1');
  }
  ip = digits.left(digits.size() - dec);
  fp = digits.right(dec);
  while (ip.size() > 1 && ip[0] == '0') ip.remove(0, 1);
  bool zero = true;
  for (char c : digits)
    if (c != '0') zero = false;
  QByteArray r = (neg && !zero ? "-" : "") + ip;
  if (dec > 0) r += "." + fp;
  return r;
}

}  // namespace

bool Header::hasMemo() const {
  for (const FieldInfo& f : fields)
    if (f.def.type == 'M') return true;
  return false;
}

uint16_t headerLength(const uint8_t* b, int64_t avail, const QString& file) {
  if (avail < 32) corrupt(file, "kratko zaglavlje");
  return le16(b + 8);
}

Header parseHeader(const uint8_t* b, int64_t len, const QString& file) {
  Header h;
  if (len < 33) corrupt(file, "kratko zaglavlje");
  h.version = b[0];
  if (h.version != kVersionDbase3 && h.version != kVersionFoxMemo && h.version != kVersionVfp &&
      h.version != kVersionVfpAuto)
    fail(EG_UNSUPPORTED, SC_UNSUPPORTED,
         "Nepodržana vrsta tabele (0x" + QString::number(h.version, 16).toUpper() + ")", file, "open");
  h.recCount = le32(b + 4);
  h.headerLen = le16(b + 8);
  h.recordLen = le16(b + 10);
  h.flags = b[28];
  h.codePage = b[29];
  if (h.headerLen > len || h.recordLen < 1) corrupt(file, "dužine zaglavlja i sloga");
  int off = 1;
  for (int p = 32; p + 32 <= h.headerLen && b[p] != 0x0D; p += 32) {
    const uint8_t* d = b + p;
    FieldInfo fi;
    int n = 0;
    while (n < 11 && d[n] != 0) ++n;
    fi.def.name = QString::fromLatin1(reinterpret_cast<const char*>(d), n).toUpper();
    fi.def.type = char(d[11]);
    fi.def.len = d[16];
    fi.def.dec = d[17];
    if (fi.def.type == 'C') {  // long text fields keep the high byte in the decimals
      fi.def.len = d[16] | (d[17] << 8);
      fi.def.dec = 0;
    }
    fi.flags = d[18];
    fi.offset = off;
    off += fi.def.len;
    h.fields << fi;
  }
  if (h.fields.isEmpty()) corrupt(file, "nema polja");
  // A record is the deletion flag and the fields, nothing more.
  if (off != h.recordLen) corrupt(file, "dužina sloga");
  return h;
}

Structure normalizeStructure(const Structure& s, const QString& file) {
  Structure out;
  int total = 1;
  if (s.isEmpty()) fail(EG_ARG, SC_ARG, "Prazna struktura tabele", file, "create");
  if (s.size() > 255) fail(EG_LIMIT, SC_LIMIT, "Previše polja", file, "create");
  for (FieldDef f : s) {
    f.name = f.name.trimmed().toUpper();
    if (!validName(f.name)) fail(EG_ARG, SC_ARG, "Pogrešno ime polja '" + f.name + "'", file, "create");
    for (const FieldDef& o : out)
      if (o.name == f.name) fail(EG_ARG, SC_ARG, "Polje '" + f.name + "' se ponavlja", file, "create");
    f.type = char(QChar(f.type).toUpper().toLatin1());
    switch (f.type) {
      case 'C':
        if (f.len < 1 || f.len > 254) fail(EG_ARG, SC_ARG, "Pogrešna dužina polja " + f.name, file, "create");
        f.dec = 0;
        break;
      case 'N':
        if (f.len < 1 || f.len > 20 || f.dec < 0 || (f.dec > 0 && f.dec > f.len - 2) || f.dec > 15)
          fail(EG_ARG, SC_ARG, "Pogrešna dužina polja " + f.name, file, "create");
        break;
      case 'D': f.len = 8; f.dec = 0; break;
      case 'M': f.len = 10; f.dec = 0; break;
      case 'L': f.len = 1; f.dec = 0; break;
      default:
        fail(EG_ARG, SC_ARG, "Nepodržan tip polja " + f.name + " (" + QChar(f.type) + ")", file, "create");
    }
    total += f.len;
    out << f;
  }
  if (total > 65500) fail(EG_LIMIT, SC_LIMIT, "Predugačak slog", file, "create");
  return out;
}

void stampDate(uint8_t* b) {
  const QDate d = QDate::currentDate();
  b[0] = uint8_t(d.year() - 1900);
  b[1] = uint8_t(d.month());
  b[2] = uint8_t(d.day());
}

QByteArray buildHeader(const Structure& s, uint8_t version, uint8_t codePage) {
  const int n = int(s.size());
  const int hlen = 32 + 32 * n + 1;
  QByteArray h(hlen, '\0');
  auto* b = reinterpret_cast<uint8_t*>(h.data());
  b[0] = version;
  stampDate(b + 1);
  int rlen = 1;
  for (const FieldDef& f : s) rlen += f.len;
  b[8] = uint8_t(hlen & 0xFF);
  b[9] = uint8_t(hlen >> 8);
  b[10] = uint8_t(rlen & 0xFF);
  b[11] = uint8_t(rlen >> 8);
  b[29] = codePage;
  int off = 1;
  for (int i = 0; i < n; ++i) {
    uint8_t* d = b + 32 + 32 * i;
    const QByteArray name = s[i].name.toLatin1();
    std::memcpy(d, name.constData(), size_t(std::min<qsizetype>(name.size(), 10)));
    d[11] = uint8_t(s[i].type);
    d[12] = uint8_t(off & 0xFF);
    d[13] = uint8_t((off >> 8) & 0xFF);
    d[16] = uint8_t(s[i].len & 0xFF);
    d[17] = uint8_t(s[i].type == 'C' ? (s[i].len >> 8) : s[i].dec);
    off += s[i].len;
  }
  b[hlen - 1] = 0x0D;
  return h;
}

QString decodeText(QByteArrayView raw) { return QString::fromUtf8(raw); }

QByteArray encodeText(const QString& s, int width) { return fitBytes(s.toUtf8(), width); }

QByteArray fitBytes(QByteArray u, int width) {
  if (u.size() > width) {
    int cut = width;
    // Step back over continuation bytes so that no character is split.
    while (cut > 0 && (uint8_t(u[cut]) & 0xC0) == 0x80) --cut;
    u.truncate(cut);
  }
  if (u.size() < width) u.append(QByteArray(width - u.size(), ' '));
  return u;
}

QByteArray encodeNumber(const QVariant& v, const FieldDef& f, const QString& file) {
  QByteArray text;
  switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::Long:
      text = QByteArray::number(v.toLongLong());
      break;
    case QMetaType::Double:
    case QMetaType::Float: {
      const double d = v.toDouble();
      if (!std::isfinite(d))
        fail(EG_DATATYPE, SC_DATATYPE, "Broj nije konačan za polje " + f.name, file, "put");
      char buf[400];
      auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::fixed);
      if (r.ec != std::errc())
        fail(EG_DATAWIDTH, SC_DATAWIDTH, "Broj ne staje u polje " + f.name, file, "put");
      text = QByteArray(buf, int(r.ptr - buf));
      break;
    }
    case QMetaType::QString:
    case QMetaType::QByteArray: {
      text = v.toByteArray().trimmed();
      if (text.isEmpty()) text = "0";
      bool ok = false;
      text.toDouble(&ok);
      bool plain = true;
      for (char c : text)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+')) plain = false;
      if (!ok || !plain)
        fail(EG_DATATYPE, SC_DATATYPE, "Nije broj za polje " + f.name + ": '" + v.toString() + "'", file, "put");
      break;
    }
    case QMetaType::UnknownType:
      text = "0";
      break;
    default:
      fail(EG_DATATYPE, SC_DATATYPE, "Pogrešan tip vrednosti za polje " + f.name, file, "put");
  }
  const QByteArray r = roundDecimal(text, f.dec);
  if (r.size() > f.len)
    fail(EG_DATAWIDTH, SC_DATAWIDTH,
         "Broj " + QString::fromLatin1(r) + " ne staje u polje " + f.name + " (" + QString::number(f.len) + "," +
             QString::number(f.dec) + ")",
         file, "put");
  return QByteArray(f.len - r.size(), ' ') + r;
}

double decodeNumber(QByteArrayView raw, const FieldDef& f, const QString& file) {
  const QByteArrayView t = raw.trimmed();
  if (t.isEmpty()) return 0;
  double d = 0;
  const char* b = t.constData();
  const char* e = b + t.size();
  if (*b == '+') ++b;
  auto r = std::from_chars(b, e, d);
  if (r.ec != std::errc() || r.ptr != e)
    fail(EG_DATATYPE, SC_DATATYPE,
         "Polje " + f.name + " ne sadrži broj: '" + QString::fromLatin1(raw) + "'", file, "get");
  return d;
}

QByteArray encodeDate(const QDate& d) {
  if (!d.isValid()) return QByteArray(8, ' ');
  if (d.year() < 1 || d.year() > 9999) return QByteArray(8, ' ');
  return d.toString("yyyyMMdd").toLatin1();
}

QDate decodeDate(QByteArrayView raw, const FieldDef& f, const QString& file) {
  const QByteArrayView t = raw.trimmed();
  if (t.isEmpty() || t == "00000000") return {};
  // Eight digits read by hand: the format parser costs more than the rest of a row.
  QDate d;
  if (t.size() == 8 && std::all_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    auto num = [&t](int at, int len) {
      int v = 0;
      for (int i = at; i < at + len; ++i) v = v * 10 + (t[i] - '0');
      return v;
    };
    d = QDate(num(0, 4), num(4, 2), num(6, 2));
  }
  if (!d.isValid())
    fail(EG_DATATYPE, SC_DATATYPE, "Polje " + f.name + " ne sadrži datum: '" + QString::fromLatin1(raw) + "'",
         file, "get");
  return d;
}

QByteArray encodeLogical(bool b) { return b ? "T" : "F"; }

bool decodeLogical(QByteArrayView raw) {
  const char c = raw.isEmpty() ? ' ' : raw[0];
  return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

}  // namespace korvan::dbf
