#include "targets.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>
#include <algorithm>
#include <cstdlib>

#include "common/dbf/dbferror.h"
#include "common/dbf/table.h"
#include "common/numbers.h"
#include "common/picture.h"
#include "einvoice/curlcall.h"
#include "einvoice/libefm2.h"
#include "einvoice/xmlliteral.h"
#include "platform/ini.h"

namespace korvan::fuzz {
namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// Splits a packed input; false when it is too short to hold a dbf.
bool unpack(const QByteArray& in, QByteArray* dbf, QByteArray* cdx, QByteArray* memo) {
  qsizetype at = 0;
  auto take = [&](QByteArray* out) {
    if (in.size() - at < 4) return false;
    const uint32_t n = qFromLittleEndian<uint32_t>(reinterpret_cast<const uchar*>(in.constData() + at));
    at += 4;
    if (n > uint32_t(in.size() - at)) return false;
    *out = in.mid(at, n);
    at += n;
    return true;
  };
  if (!take(dbf) || dbf->isEmpty()) return false;
  if (!take(cdx)) return true;
  *memo = in.mid(at);
  return true;
}

void readAll(dbf::Table& t) {
  for (int i = 1; i <= t.fieldCount(); ++i) t.value(i);
}

// A walk that meets more records than the table holds is going round in
// circles: that is a finding, not a damage error.
void walk(dbf::Table& t) {
  const qint64 most = qint64(t.recCount()) + 1;
  t.top();
  for (qint64 n = 0; !t.eof(); ++n) {
    if (n > most) std::abort();
    readAll(t);
    t.skip(1);
  }
  t.bottom();
  for (qint64 n = 0; !t.bof(); ++n) {
    if (n > most) std::abort();
    t.skip(-1);
  }
}

void table(const QByteArray& input) {
  QByteArray dbf, cdx, memo;
  if (!unpack(input, &dbf, &cdx, &memo)) return;
  static QTemporaryDir dir;
  const QString base = dir.path() + "/t";
  for (const char* ext : {".dbf", ".cdx", ".fpt"}) QFile::remove(base + ext);
  writeFile(base + ".dbf", dbf);
  if (!cdx.isEmpty()) writeFile(base + ".cdx", cdx);
  if (!memo.isEmpty()) writeFile(base + ".fpt", memo);
  try {
    auto t = dbf::Table::open(base, true);
    if (!t) return;
    const int tags = t->tagCount();
    for (int order = 0; order <= tags && order < 8; ++order) {
      try {
        t->setOrder(order);
        walk(*t);
        if (order > 0) {
          t->seek(QStringLiteral("A"), true);
          t->seek(QString(), true);
        }
      } catch (const dbf::DbfError&) {
      }
    }
    // Changes go to this scratch copy only: append, write every field, memos included.
    t->setOrder(0);
    if (t->appendBlank()) {
      for (int i = 1; i <= t->fieldCount(); ++i) {
        try {
          const char type = t->field(i).type;
          t->put(i, type == 'N' ? QVariant(12.5) : type == 'L' ? QVariant(true) : QVariant(QStringLiteral("Šđ 1")));
        } catch (const dbf::DbfError&) {
        }
      }
      t->flush();
    }
  } catch (const dbf::DbfError&) {
  }
}

void ini(const QByteArray& input) {
  platform::IniText t(input);
  const QList<QByteArray> names = {"Config", "Firma", "", "A"};
  for (const QByteArray& s : names) {
    t.hasSection(s);
    for (const QByteArray& k : t.keys(s)) t.value(s, k);
  }
  t.setValue("Config", "K", "1");
  t.removeKey("Firma", "API_KLJUC");
  t.removeSection("A");
  t.bytes();
}

void xml(const QByteArray& input) {
  XmlLiteralDoc doc;
  if (doc.parse(input) != 0) return;
  for (const QStringList& path : {QStringList{"cbc:ID"},
                                  QStringList{"cac:AccountingCustomerParty", "cbc:RegistrationName"},
                                  QStringList{"env:Envelope", "cac:Party", "cbc:RegistrationName"},
                                  QStringList{"cac:AdditionalDocumentReference", "cbc:EmbeddedDocumentBinaryObject"}}) {
    XML_UZMI(path, doc, true, false, true);
    XML_UZMI(path, doc, true, true, false, QStringLiteral("filename"));
  }
  for (const XmlElement& e : doc.elements()) XML_DECODE_REFS(e.text);
}

void json(const QByteArray& input) {
  const std::optional<QJsonValue> v = EFM_JSON_DECODE(input);
  if (!v) return;
  // What the answer readers look at: fields of an object, elements of a list.
  const QJsonObject o = v->toObject();
  for (const char* k : {"InvoiceId", "Status", "SalesInvoiceId", "Message", "ErrorCode"}) o.value(QLatin1String(k)).toVariant();
  for (const QJsonValue& e : v->toArray()) e.toObject().value(QLatin1String("Status")).toString();
}

void numbers(const QByteArray& input) {
  // The first line is a picture, the rest the text to read.
  const qsizetype nl = input.indexOf('\n');
  const QString picture = QString::fromUtf8(input.left(nl < 0 ? 0 : nl));
  const QString text = QString::fromUtf8(nl < 0 ? input : input.mid(nl + 1));
  for (double v : {VAL(text), E2VAL(text), XVAL(text), INTELI_VAL(text), INTELI_VAL(text, true)}) {
    TRANSFORM(v, picture);
    STR(v, int(std::clamp<qsizetype>(text.size(), 1, 400)));
    BEZ_DECIM(v, picture);
  }
  PICTURE_OVERFLOW(text);
  FORMULA_ERROR(text);
  const int len = text.isEmpty() ? 0 : text.at(0).unicode() % 64, dec = text.size() > 1 ? text.at(1).unicode() % 32 : 0;
  FORMIRAJ_PICT(len, dec, true, true);
  FORMIRAJ_PICT(len, dec, false);
}

}  // namespace

const QList<Target>& targets() {
  static const QList<Target> all = {
      {"table", table}, {"ini", ini}, {"xml", xml}, {"json", json}, {"numbers", numbers}};
  return all;
}

const Target* target(const QString& name) {
  for (const Target& t : targets())
    if (name == QLatin1String(t.name)) return &t;
  return nullptr;
}

QByteArray packTable(const QByteArray& dbf, const QByteArray& cdx, const QByteArray& memo) {
  QByteArray out;
  auto put = [&out](const QByteArray& b) {
    uchar n[4];
    qToLittleEndian(uint32_t(b.size()), n);
    out.append(reinterpret_cast<const char*>(n), 4);
    out += b;
  };
  put(dbf);
  put(cdx);
  out += memo;
  return out;
}

}  // namespace korvan::fuzz
