#pragma once
// Element paths of a written document: "Invoice/cac:TaxTotal/cbc:TaxAmount"
// with the element's text, in document order.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <utility>

namespace korvan::test {

struct XmlPaths {
  QList<std::pair<QString, QString>> elements;  // path, text (direct text only)
  QList<std::pair<QString, QString>> attributes;  // path@name, value
  QString error;

  explicit XmlPaths(const QByteArray& doc) {
    QXmlStreamReader x(doc);
    QStringList stack;
    QList<int> open;  // index into elements of each open element
    while (!x.atEnd()) {
      x.readNext();
      if (x.isStartElement()) {
        stack << x.qualifiedName().toString();
        const QString path = stack.join('/');
        open << elements.size();
        elements.append({path, QString()});
        for (const auto& a : x.attributes())
          attributes.append({path + "@" + a.qualifiedName().toString(), a.value().toString()});
      } else if (x.isCharacters() && !x.isWhitespace() && !open.isEmpty()) {
        elements[open.last()].second += x.text().toString();
      } else if (x.isEndElement()) {
        stack.removeLast();
        open.removeLast();
      }
    }
    if (x.hasError()) error = x.errorString();
  }

  QStringList values(const QString& path) const {
    QStringList v;
    for (const auto& [p, t] : elements)
      if (p == path) v << t;
    return v;
  }
  QStringList attrs(const QString& pathAt) const {
    QStringList v;
    for (const auto& [p, t] : attributes)
      if (p == pathAt) v << t;
    return v;
  }
  int count(const QString& path) const { return values(path).size(); }
};

}  // namespace korvan::test
