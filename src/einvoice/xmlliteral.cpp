#include "einvoice/xmlliteral.h"

#include <vector>

namespace korvan {
namespace {

// Error numbers of parse().
enum : int {
  kUnclosedMarkup = 1,  // a comment, CDATA, declaration or tag that never ends
  kMismatchedEnd = 2,   // an end tag that closes another element
  kBadTag = 3,          // a tag that is not well formed
  kUnclosedElement = 4, // the document ends inside an element
  kNoRoot = 5,          // no element at all
};

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool isNameEnd(char c) { return isSpace(c) || c == '/' || c == '>' || c == '='; }

}  // namespace

int XmlLiteralDoc::parse(const QByteArray& s) {
  elements_.clear();
  std::vector<QByteArray> texts;
  std::vector<bool> hasChildren;
  std::vector<int> open;
  const qsizetype n = s.size();
  qsizetype pos = 0;
  auto at = [&s](qsizetype p, const char* lit) {
    return QByteArrayView(s).sliced(p).startsWith(QByteArrayView(lit));
  };
  auto fail = [this](int e) { elements_.clear(); return error_ = e; };
  auto addText = [&](qsizetype from, qsizetype to) {
    if (!open.empty() && to > from) texts[size_t(open.back())].append(s.constData() + from, to - from);
  };
  while (pos < n) {
    const qsizetype lt = s.indexOf('<', pos);
    if (lt < 0) {
      addText(pos, n);
      break;
    }
    addText(pos, lt);
    if (at(lt, "<?")) {
      const qsizetype e = s.indexOf("?>", lt + 2);
      if (e < 0) return fail(kUnclosedMarkup);
      pos = e + 2;
    } else if (at(lt, "<!--")) {
      const qsizetype e = s.indexOf("-->", lt + 4);
      if (e < 0) return fail(kUnclosedMarkup);
      pos = e + 3;
    } else if (at(lt, "<![CDATA[")) {
      const qsizetype e = s.indexOf("]]>", lt + 9);
      if (e < 0) return fail(kUnclosedMarkup);
      addText(lt + 9, e);
      pos = e + 3;
    } else if (at(lt, "<!")) {
      int depth = 0;
      qsizetype e = lt + 2;
      for (; e < n; ++e) {
        if (s[e] == '[') ++depth;
        else if (s[e] == ']') --depth;
        else if (s[e] == '>' && depth <= 0) break;
      }
      if (e >= n) return fail(kUnclosedMarkup);
      pos = e + 1;
    } else if (at(lt, "</")) {
      const qsizetype e = s.indexOf('>', lt + 2);
      if (e < 0) return fail(kUnclosedMarkup);
      const QByteArray name = s.mid(lt + 2, e - lt - 2).trimmed();
      if (open.empty() || elements_[open.back()].name != QString::fromUtf8(name)) return fail(kMismatchedEnd);
      elements_[open.back()].end = int(elements_.size());
      open.pop_back();
      pos = e + 1;
    } else {
      qsizetype p = lt + 1;
      while (p < n && !isNameEnd(s[p])) ++p;
      if (p == lt + 1) return fail(kBadTag);
      XmlElement el;
      el.name = QString::fromUtf8(s.constData() + lt + 1, p - lt - 1);
      bool empty = false;
      for (;;) {
        while (p < n && isSpace(s[p])) ++p;
        if (p >= n) return fail(kUnclosedMarkup);
        if (s[p] == '>') { ++p; break; }
        if (s[p] == '/') {
          if (p + 1 >= n || s[p + 1] != '>') return fail(kBadTag);
          empty = true;
          p += 2;
          break;
        }
        const qsizetype a = p;
        while (p < n && !isNameEnd(s[p])) ++p;
        const QString an = QString::fromUtf8(s.constData() + a, p - a);
        while (p < n && isSpace(s[p])) ++p;
        if (an.isEmpty() || p >= n || s[p] != '=') return fail(kBadTag);
        ++p;
        while (p < n && isSpace(s[p])) ++p;
        if (p >= n || (s[p] != '"' && s[p] != '\'')) return fail(kBadTag);
        const char q = s[p];
        const qsizetype close = s.indexOf(q, p + 1);
        if (close < 0) return fail(kUnclosedMarkup);
        el.attributes.append({an, QString::fromUtf8(s.constData() + p + 1, close - p - 1)});
        p = close + 1;
      }
      if (!open.empty()) hasChildren[size_t(open.back())] = true;
      const int index = int(elements_.size());
      elements_.append(el);
      texts.emplace_back();
      hasChildren.push_back(false);
      if (empty) elements_[index].end = index + 1;
      else open.push_back(index);
      pos = p;
    }
  }
  if (!open.empty()) return fail(kUnclosedElement);
  if (elements_.isEmpty()) return fail(kNoRoot);
  for (qsizetype i = 0; i < elements_.size(); ++i) {
    QString t = QString::fromUtf8(texts[size_t(i)]);
    elements_[i].text = hasChildren[size_t(i)] ? t.trimmed() : t;
  }
  return error_ = 0;
}

int XmlLiteralDoc::find(const QString& name, int from, int limit) const {
  const int stop = limit < 0 ? int(elements_.size()) : std::min(limit, int(elements_.size()));
  for (int i = std::max(from, 0); i < stop; ++i)
    if (elements_[i].name == name) return i;
  return -1;
}

QString XML_DECODE_REFS(const QString& text) {
  if (!text.contains(u'&')) return text;
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    const qsizetype semi = c == u'&' ? text.indexOf(u';', i + 1) : -1;
    if (semi < 0 || semi - i > 12) {
      out += c;
      continue;
    }
    const QStringView ref = QStringView(text).mid(i + 1, semi - i - 1);
    bool ok = false;
    char32_t code = 0;
    if (ref.startsWith(u"#x") || ref.startsWith(u"#X")) code = ref.mid(2).toUInt(&ok, 16);
    else if (ref.startsWith(u'#')) code = ref.mid(1).toUInt(&ok, 10);
    else if (ref == u"amp") code = '&', ok = true;
    else if (ref == u"lt") code = '<', ok = true;
    else if (ref == u"gt") code = '>', ok = true;
    else if (ref == u"quot") code = '"', ok = true;
    else if (ref == u"apos") code = '\'', ok = true;
    if (!ok || code == 0 || code > 0x10FFFF) {
      out += c;
      continue;
    }
    out += QString::fromUcs4(&code, 1);
    i = semi;
  }
  return out;
}

}  // namespace korvan
