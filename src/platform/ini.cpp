#include "platform/ini.h"

#include "platform/savefile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvan::platform {
namespace {

bool isBlankChar(char c) { return c == ' ' || c == '\t'; }

QByteArray trimBlanks(const QByteArray& s) {
  qsizetype b = 0, e = s.size();
  while (b < e && isBlankChar(s[b])) ++b;
  while (e > b && isBlankChar(s[e - 1])) --e;
  return s.mid(b, e - b);
}

QByteArray unquote(const QByteArray& v) {
  if (v.size() >= 2) {
    const char f = v.front();
    if ((f == '"' || f == '\'') && v.back() == f) return v.mid(1, v.size() - 2);
  }
  return v;
}

bool sameName(const QByteArray& a, const QByteArray& b) {
  if (a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0) return true;
  // Names with letters beyond ASCII: compare as text.
  return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive) == 0;
}

enum class ReadStatus { Ok, Missing, Failed };

ReadStatus readFile(const QString& path, QByteArray* out, int* err) {
  const QByteArray name = QFile::encodeName(path);
  // Non-blocking, so that a pipe put in the place of the file cannot hold the open.
  const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return ReadStatus::Missing;
    *err = errno;
    return ReadStatus::Failed;
  }
  // Settings files are small regular files: a device, a pipe or a file of
  // gigabytes put in their place is refused rather than read without end.
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kIniFileMax) {
    *err = S_ISREG(st.st_mode) ? EFBIG : EINVAL;
    ::close(fd);
    return ReadStatus::Failed;
  }
  out->clear();
  char buf[16384];
  for (;;) {
    if (out->size() > kIniFileMax) {  // grew while being read
      *err = EFBIG;
      ::close(fd);
      return ReadStatus::Failed;
    }
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      *err = errno;
      ::close(fd);
      return ReadStatus::Failed;
    }
    if (n == 0) break;
    out->append(buf, n);
  }
  ::close(fd);
  return ReadStatus::Ok;
}

// Holds an exclusive lock on the file's folder for the duration of a
// read-modify-write, so that concurrent writers do not lose each other's keys.
class FolderLock {
 public:
  explicit FolderLock(const QString& file) {
    const QByteArray dir = QFile::encodeName(QFileInfo(file).absolutePath());
    fd_ = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0) {
      while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
    }
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace

QByteArray utf8Left(const QByteArray& text, qsizetype maxBytes) {
  if (text.size() <= maxBytes) return text;
  qsizetype cut = maxBytes;
  // Step back over continuation bytes so that the cut falls before a lead byte.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.left(cut);
}

IniText::Line IniText::classify(const QByteArray& text) {
  Line l;
  l.text = text;
  const QByteArray t = trimBlanks(text);
  if (t.isEmpty()) {
    l.kind = Kind::Blank;
  } else if (t.front() == '[') {
    l.kind = Kind::Section;
    const qsizetype close = t.indexOf(']');
    l.name = trimBlanks(close < 0 ? t.mid(1) : t.mid(1, close - 1));
  } else if (t.front() == ';' || t.front() == '#') {
    l.kind = Kind::Comment;
  } else {
    const qsizetype eq = t.indexOf('=');
    l.name = trimBlanks(eq < 0 ? t : t.left(eq));
    l.kind = l.name.isEmpty() ? Kind::Other : Kind::Key;
  }
  return l;
}

IniText::IniText(const QByteArray& bytes) {
  QByteArray b = bytes;
  if (b.startsWith("\xEF\xBB\xBF")) {
    bom_ = true;
    b.remove(0, 3);
  }
  if (b.isEmpty()) return;
  QList<QByteArray> parts = b.split('\n');
  if (b.endsWith('\n')) parts.removeLast();
  for (QByteArray& p : parts) {
    if (p.endsWith('\r')) p.chop(1);
    lines_ << classify(p);
  }
}

qsizetype IniText::findSection(const QByteArray& section) const {
  for (qsizetype i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && sameName(lines_[i].name, section)) return i;
  return -1;
}

qsizetype IniText::sectionEnd(qsizetype header) const {
  qsizetype i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Kind::Section) ++i;
  return i;
}

bool IniText::hasSection(const QByteArray& section) const { return findSection(section) >= 0; }

std::optional<QByteArray> IniText::value(const QByteArray& section, const QByteArray& key) const {
  const qsizetype h = findSection(section);
  if (h < 0) return std::nullopt;
  const qsizetype end = sectionEnd(h);
  for (qsizetype i = h + 1; i < end; ++i) {
    const Line& l = lines_[i];
    if (l.kind != Kind::Key || !sameName(l.name, key)) continue;
    const qsizetype eq = l.text.indexOf('=');
    if (eq < 0) return QByteArray();
    return unquote(trimBlanks(l.text.mid(eq + 1)));
  }
  return std::nullopt;
}

QList<QByteArray> IniText::keys(const QByteArray& section) const {
  QList<QByteArray> out;
  const qsizetype h = findSection(section);
  if (h < 0) return out;
  const qsizetype end = sectionEnd(h);
  for (qsizetype i = h + 1; i < end; ++i)
    if (lines_[i].kind == Kind::Key) out << lines_[i].name;
  return out;
}

void IniText::setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value) {
  const qsizetype h = findSection(section);
  if (h < 0) {
    if (!lines_.isEmpty() && lines_.back().kind != Kind::Blank) lines_ << classify(QByteArray());
    lines_ << classify('[' + section + ']');
    lines_ << classify(key + '=' + value);
    return;
  }
  const qsizetype end = sectionEnd(h);
  qsizetype lastFilled = h;
  for (qsizetype i = h + 1; i < end; ++i) {
    Line& l = lines_[i];
    if (l.kind == Kind::Key && sameName(l.name, key)) {
      l = classify(l.name + '=' + value);
      return;
    }
    if (l.kind != Kind::Blank) lastFilled = i;
  }
  lines_.insert(lastFilled + 1, classify(key + '=' + value));
}

bool IniText::removeKey(const QByteArray& section, const QByteArray& key) {
  const qsizetype h = findSection(section);
  if (h < 0) return false;
  bool removed = false;
  qsizetype end = sectionEnd(h);
  for (qsizetype i = h + 1; i < end;) {
    if (lines_[i].kind == Kind::Key && sameName(lines_[i].name, key)) {
      lines_.removeAt(i);
      --end;
      removed = true;
    } else {
      ++i;
    }
  }
  return removed;
}

bool IniText::removeSection(const QByteArray& section) {
  // One pass, however many sections share the name.
  QList<Line> kept;
  kept.reserve(lines_.size());
  bool removing = false, removed = false;
  for (Line& l : lines_) {
    if (l.kind == Kind::Section) removing = sameName(l.name, section);
    if (removing) removed = true;
    else kept << std::move(l);
  }
  if (removed) lines_ = std::move(kept);
  return removed;
}

QByteArray IniText::bytes() const {
  QByteArray out;
  if (bom_) out += "\xEF\xBB\xBF";
  for (const Line& l : lines_) {
    out += l.text;
    out += "\r\n";
  }
  return out;
}

bool iniNameOk(const QByteArray& section) {
  return !trimBlanks(section).isEmpty() && !section.contains('\r') && !section.contains('\n') &&
         !section.contains(']');
}

bool iniKeyOk(const QByteArray& key) {
  const QByteArray t = trimBlanks(key);
  return !t.isEmpty() && !key.contains('\r') && !key.contains('\n') && !key.contains('=') &&
         t.front() != '[' && t.front() != ';' && t.front() != '#';
}

bool iniValueOk(const QByteArray& value) { return !value.contains('\r') && !value.contains('\n'); }

std::optional<QByteArray> iniRead(const QString& file, const QByteArray& section, const QByteArray& key) {
  QByteArray bytes;
  int err = 0;
  if (readFile(file, &bytes, &err) != ReadStatus::Ok) return std::nullopt;
  std::optional<QByteArray> v = IniText(bytes).value(section, key);
  if (v) *v = utf8Left(*v, kIniValueMax);
  return v;
}

QList<QByteArray> iniKeys(const QString& file, const QByteArray& section) {
  QByteArray bytes;
  int err = 0;
  if (readFile(file, &bytes, &err) != ReadStatus::Ok) return {};
  return IniText(bytes).keys(section);
}

IniWriteResult iniWrite(const QString& file, const QByteArray& section,
                        const std::optional<QByteArray>& key,
                        const std::optional<QByteArray>& value) {
  IniWriteResult r;
  if (!iniNameOk(section) || (key && !iniKeyOk(*key)) || (key && value && !iniValueOk(*value))) {
    r.refused = true;
    return r;
  }
  const QByteArray sec = trimBlanks(section);

  FolderLock lock(file);
  QByteArray bytes;
  const ReadStatus st = readFile(file, &bytes, &r.errorCode);
  if (st == ReadStatus::Failed) return r;
  // A file that nobody may write is left as it is, as a read-only file is on
  // Windows: the replace by rename would go through it otherwise.
  struct stat mode {};
  if (st == ReadStatus::Ok && ::stat(QFile::encodeName(file).constData(), &mode) == 0 && (mode.st_mode & 0222) == 0) {
    r.errorCode = EACCES;
    return r;
  }
  IniText ini(bytes);
  if (!key) {
    if (!ini.removeSection(sec)) return r.ok = true, r;
  } else if (!value) {
    if (!ini.removeKey(sec, trimBlanks(*key))) return r.ok = true, r;
  } else {
    ini.setValue(sec, trimBlanks(*key), *value);
  }
  r.ok = saveFileAtomically(file, ini.bytes(), &r.errorCode);
  return r;
}

}  // namespace korvan::platform
