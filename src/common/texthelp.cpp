#include "common/texthelp.h"
#include "common/variants.h"

#include <QDate>
#include <QDateTime>

#include "common/dates.h"
#include "common/picture.h"

namespace korvan {
QString rtrim(const QString& text) {
  qsizetype n = text.size();
  while (n > 0 && text[n - 1].isSpace()) --n;
  return text.left(n);
}

QString IZBACI_SMETNJE(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (QChar c : text) {
    switch (c.unicode()) {
      case u'/': out += u'-'; break;
      case u':': case u'?': case u'*': case u'"': break;
      default: out += c;
    }
  }
  return out;
}

QString VAR2STR(const QVariant& value) {
  if (value.typeId() == QMetaType::QString) return value.toString();
  if (value.typeId() == QMetaType::QDate) return DTOC(value.toDate());
  if (value.typeId() == QMetaType::QDateTime) return DTOC(value.toDateTime().date());
  if (IS_NUMBER(value)) return STR(value.toDouble());
  return {};
}

QByteArray INCSTR2(const QByteArray& key) {
  QByteArray k = key;
  // A last byte of 255 has no next value: the key one shorter is incremented.
  while (!k.isEmpty() && static_cast<unsigned char>(k.back()) == 0xFF) k.chop(1);
  if (k.isEmpty()) return key;
  k.back() = static_cast<char>(static_cast<unsigned char>(k.back()) + 1);
  return k;
}

QString INCSTR2(const QString& key) {
  if (key.isEmpty()) return key;
  const QList<uint> cps = key.toUcs4();
  QList<uint> next = cps;
  uint& last = next.back();
  ++last;
  if (last >= 0xD800 && last <= 0xDFFF) last = 0xE000;  // surrogates are no characters
  if (last > 0x10FFFF) return key;
  return QString::fromUcs4(reinterpret_cast<const char32_t*>(next.constData()), next.size());
}

QString X2STR(const QVariant& value, bool singleQuotes) {
  if (!value.isValid() || value.isNull()) {
    if (value.typeId() == QMetaType::QString) return singleQuotes ? "''" : "\"\"";
    if (!value.isValid()) return QStringLiteral("<nil>");
  }
  switch (value.typeId()) {
    case QMetaType::QString: {
      const QChar q = singleQuotes ? u'\'' : u'"';
      return q + value.toString() + q;
    }
    case QMetaType::Bool: return value.toBool() ? QStringLiteral(".T.") : QStringLiteral(".F.");
    case QMetaType::QDate: return DTOC(value.toDate());
    case QMetaType::QDateTime: return DTOC(value.toDateTime().date());
    case QMetaType::QVariantList: case QMetaType::QStringList: return QStringLiteral("<niz>");
    default: break;
  }
  if (IS_NUMBER(value)) return STR(value.toDouble()).trimmed();
  return QStringLiteral("<nepoznato>");
}

namespace {

// The character of one reference body (between "&" and ";"); 0 when none.
char32_t htmlReference(QStringView body) {
  static const struct {
    const char16_t* name;
    char32_t cp;
  } named[] = {{u"amp", '&'}, {u"lt", '<'}, {u"gt", '>'}, {u"quot", '"'}, {u"apos", '\''}, {u"nbsp", 0xA0}};
  for (const auto& n : named)
    if (body == QStringView(n.name)) return n.cp;
  if (body.size() < 2 || body[0] != u'#') return 0;
  const bool hex = body[1] == u'x' || body[1] == u'X';
  const QStringView digits = body.mid(hex ? 2 : 1);
  if (digits.isEmpty() || digits.size() > 8) return 0;
  bool ok = false;
  const uint cp = digits.toUInt(&ok, hex ? 16 : 10);
  if (!ok || digits[0] == u'+' || digits[0] == u'-') return 0;
  if (cp == 0 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return cp;
}

}  // namespace

QString HTML_DECODE(const QString& text) {
  if (!text.contains(u'&')) return text;
  QString out;
  out.reserve(text.size());
  qsizetype i = 0;
  while (i < text.size()) {
    const qsizetype semi = text[i] == u'&' ? text.indexOf(u';', i + 1) : -1;
    // References are short; a far ";" belongs to something else.
    if (semi > i && semi - i <= 12) {
      const char32_t cp = htmlReference(QStringView(text).mid(i + 1, semi - i - 1));
      if (cp != 0) {
        out += QString::fromUcs4(&cp, 1);
        i = semi + 1;
        continue;
      }
    }
    out += text[i++];
  }
  return out;
}

}  // namespace korvan
