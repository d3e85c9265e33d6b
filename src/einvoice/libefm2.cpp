#include "einvoice/libefm2.h"

#include <QCursor>
#include <QGuiApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

#include "common/apppath.h"
#include "common/dates.h"
#include "common/files.h"
#include "common/msg.h"
#include "common/numbers.h"
#include "common/picture.h"
#include "einvoice/libefman.h"
#include "platform/shell.h"

namespace korvan {
namespace {

QString missingTag(const QString& name) { return QStringLiteral("Ne postoji '") + name + QStringLiteral("' tag!"); }

QString parseError(int code) {
  return QStringLiteral("Greška pri parsiranju XML fajla: ") + STR(code, 10);
}

// Visits the values of child inside each parent with the first/all/last rules.
// A parent nested in another of its name is inside the outer one's range
// already, so each element is looked at once whatever the nesting.
QVariant collect(const XmlLiteralDoc& doc, const QString& parent, const QString& child, bool first, bool all,
                 const QString& attribute) {
  QStringList list;
  QVariant last;
  const auto& els = doc.elements();
  for (int p = doc.find(parent); p >= 0; p = doc.find(parent, els[p].end)) {
    for (int c = doc.find(child, p + 1, els[p].end); c >= 0; c = doc.find(child, c + 1, els[p].end)) {
      const QString v = UZMI_STA(!attribute.isEmpty(), els[c], attribute);
      if (first) return v;
      if (all) list << v;
      else last = v;
    }
  }
  return all ? QVariant(list) : last;
}

// One file name, without folders, "." or "..", or control characters.
bool isPlainName(const QString& name) {
  if (name.isEmpty() || name == QStringLiteral(".") || name == QStringLiteral("..")) return false;
  for (const QChar c : name)
    if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F) return false;
  return true;
}

QString text(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

}  // namespace

QString ODREDI_TIP(const QString& code) {
  if (code == QStringLiteral("380")) return QStringLiteral("Račun");
  if (code == QStringLiteral("381")) return QStringLiteral("Odobrenje");
  if (code == QStringLiteral("383")) return QStringLiteral("Zaduženje");
  if (code == QStringLiteral("386")) return QStringLiteral("Avans");
  return QString();
}

QString UZMI_STA(bool attributeMode, const XmlElement& element, const QString& attribute) {
  if (!attributeMode) return element.text;
  for (const auto& [name, value] : element.attributes)
    if (name == attribute) return value;
  return QString();
}

QVariant XML_UZMI(const QStringList& path, const XmlLiteralDoc& doc, bool quiet, bool first, bool all,
                  const QString& attribute) {
  if (path.isEmpty()) return QVariant();
  if (path.size() >= 3) return RADI_TAG3(path, doc, quiet, first, all, attribute);
  const int at = doc.find(path[0]);
  if (at < 0) {
    if (!quiet) MSG(missingTag(path[0]));
    return all && path.size() == 2 ? QVariant(QStringList()) : QVariant();
  }
  if (path.size() == 1) return UZMI_STA(!attribute.isEmpty(), doc.elements()[at], attribute);
  return collect(doc, path[0], path[1], first, all, attribute);
}

QVariant RADI_TAG3(const QStringList& path, const XmlLiteralDoc& doc, bool quiet, bool first, bool all,
                   const QString& attribute) {
  if (path.size() < 3) return XML_UZMI(path, doc, quiet, first, all, attribute);
  const auto& els = doc.elements();
  if (doc.find(path[0]) < 0) {
    if (!quiet) MSG(missingTag(path[0]));
    return all ? QVariant(QStringList()) : QVariant();
  }
  bool found = false;
  // Nested namesakes lie inside the range just searched: go on after it.
  for (int a = doc.find(path[0]); a >= 0 && !found; a = doc.find(path[0], els[a].end))
    found = doc.find(path[1], a + 1, els[a].end) >= 0;
  if (!found) return all ? QVariant(QStringList()) : QVariant();
  return collect(doc, path[1], path[2], first, all, attribute);
}

bool EFM_OBRADI_INVOICE(const QString& direction, qint64 id, QVariantList& header, const EfmAccount& account,
                        bool& missing) {
  const bool out = direction == QStringLiteral("I");
  QByteArray answer;
  QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  const bool ran = efm::run(efm::documentCall(direction, id), account, &answer);
  QGuiApplication::restoreOverrideCursor();
  if (!ran) return false;
  if (answer.contains("Not found UBL file for invoice Id " + QByteArray::number(id))) {
    missing = true;
    return MSG(QStringLiteral("Ne postoji fajl sa Id ") + QString::number(id));
  }
  XmlLiteralDoc doc;
  // An error answer is JSON, not a document: what the server said goes with the message.
  if (const int e = doc.parse(answer); e != 0) return MSG(parseError(e) + efm::serverSaid(answer));
  const QString envelopeName = out ? QStringLiteral("env:SalesInvoiceId") : QStringLiteral("env:PurchaseInvoiceId");
  const QVariant envelope = XML_UZMI({envelopeName}, doc);
  if (envelope.isNull()) return MSG(QStringLiteral("Nije ispravno formatiran fajl!"));
  const QString got = envelope.toString();
  const double read = VAL(got);
  if (!(std::fabs(read - double(id)) < 0.0001))
    return MSG(QStringLiteral("Nije dobijen isti Id!\nDobijen: ") + got + QStringLiteral("\nTražen : ") +
               QString::number(id));
  auto one = [&doc](const char* name) { return text(XML_UZMI({QString::fromLatin1(name)}, doc)); };
  header.clear();
  header << QVariant::fromValue(qint64(std::llround(read)));
  header << MYSTOD(one("cbc:ActualDeliveryDate"));
  header << one("cbc:ID");
  header << MYSTOD(one("cbc:IssueDate"));
  header << ODREDI_TIP(one("cbc:InvoiceTypeCode"));
  header << VAL(one("cbc:PayableAmount"));
  header << text(XML_UZMI({out ? QStringLiteral("cac:AccountingCustomerParty") : QStringLiteral("cac:AccountingSupplierParty"),
                           QStringLiteral("cbc:RegistrationName")},
                          doc));
  header << MYSTOD(one("cbc:DueDate"));
  header << QString::fromUtf8(answer);
  // A status that could not be learnt stays absent (null), so that it is
  // never taken for an empty status and written over the stored one.
  const QString status = EFM_GET_STATUS(direction, id, account);
  header << (status.isEmpty() ? QVariant() : QVariant(status));
  return true;
}

QString EFM_SIGURNO_IME(const QString& received) {
  QString name = received;
  name.replace(u'\\', u'/');
  name = name.mid(name.lastIndexOf(u'/') + 1).trimmed();
  while (name.endsWith(u'.') || name.endsWith(u' ')) name.chop(1);
  if (name.isEmpty() || name == QStringLiteral("..") || name.size() > 200) return QString();
  for (const QChar c : name)
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.category() == QChar::Other_Control) return QString();
  static const QRegularExpression reserved(QStringLiteral("^(CON|PRN|AUX|NUL|COM[0-9]|LPT[0-9])(\\..*)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
  if (reserved.match(name).hasMatch()) return QString();
  return name;
}

bool EFM_SNIMI_OTVORI_FAJL_IZ_XML(const QString& element, const QString& document, const QString& fileName,
                                  const QString& folder, const QString& extension, bool silent) {
  if (!isPlainName(fileName))
    return MSG(QStringLiteral("Neispravno ime fajla: ") + fileName);
  QString dir = folder;
  if (!dir.endsWith(u'/') && !dir.endsWith(u'\\')) dir += u'/';
  const QString target = dir + fileName + u'.' + extension;
  bool ok = true;
  if (element.isEmpty()) {
    ok = WRITE_MEMO(target, document);
  } else {
    XmlLiteralDoc doc;
    if (const int e = doc.parse(document.toUtf8()); e != 0) return MSG(parseError(e));
    const QString b64 = text(XML_UZMI({element}, doc, true));
    if (b64.isEmpty()) {
      // Nothing written, so nothing opened: a file of that name may be an earlier run's.
      if (!silent) MSG(QStringLiteral("Ne postoje podaci za ovu vrstu fajla!"));
      return true;
    }
    // References such as "&#13;" stand for characters, not for Base64 digits.
    const QByteArray bytes = QByteArray::fromBase64(XML_DECODE_REFS(b64).toLatin1());
    if (!silent && extension.compare(QStringLiteral("pdf"), Qt::CaseInsensitive) == 0 && !bytes.startsWith("%PDF"))
      return MSG(QStringLiteral("Sadržaj elementa ") + element + QStringLiteral(" nije PDF fajl, ne otvaram ga!"));
    ok = WRITE_MEMO_BYTES(target, bytes);
  }
  if (ok && !silent) platform::shell().openDocument(target);
  return ok;
}

QStringList EFM_SNIMI_PRILOGE(const QString& document) {
  QStringList written;
  XmlLiteralDoc doc;
  if (const int e = doc.parse(document.toUtf8()); e != 0) {
    MSG(parseError(e));
    return written;
  }
  const QString dir = GETAPPPATH() + QStringLiteral("TMP/PRILOZI/");
  if (!PRAVI_DIR_FULL(dir)) {
    MSG(QStringLiteral("Ne mogu da napravim folder ") + dir);
    return written;
  }
  const QString tag = QStringLiteral("cbc:EmbeddedDocumentBinaryObject");
  int n = 0;
  for (int i = doc.find(tag); i >= 0; i = doc.find(tag, i + 1)) {
    const XmlElement& el = doc.elements()[i];
    ++n;
    QString name = EFM_SIGURNO_IME(XML_DECODE_REFS(UZMI_STA(true, el, QStringLiteral("filename"))));
    if (name.isEmpty()) name = QStringLiteral("prilog%1").arg(n);
    QString path = dir + name;
    if (written.contains(path)) path = dir + QStringLiteral("%1_").arg(n) + name;
    if (WRITE_MEMO_BYTES(path, QByteArray::fromBase64(XML_DECODE_REFS(el.text).toLatin1()))) written << path;
  }
  return written;
}

}  // namespace korvan
