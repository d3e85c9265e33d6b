#pragma once
// A small XML document reader that keeps element text as written: character
// and entity references are not decoded ("A &amp; B" stays nine characters).
// Elements are kept in document order, so an element's descendants are the
// elements that follow it up to its end.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

namespace korvan {

struct XmlElement {
  QString name;  // with its prefix, e.g. "cbc:ID"
  QList<QPair<QString, QString>> attributes;  // values as written
  QString text;  // the element's own text as written (CDATA taken as it stands)
  int end = 0;   // index past the element's last descendant
};

class XmlLiteralDoc {
 public:
  // 0 on success, else an error number (see xmlliteral.cpp).
  int parse(const QByteArray& text);
  int error() const { return error_; }
  const QList<XmlElement>& elements() const { return elements_; }
  // The first element named name at index from or later, below limit; -1 when none.
  int find(const QString& name, int from = 0, int limit = -1) const;

 private:
  QList<XmlElement> elements_;
  int error_ = 0;
};

// The text with character references (&#13; &#x0A;) and the five named
// entities decoded; anything else stays as written.
QString XML_DECODE_REFS(const QString& text);

}  // namespace korvan
