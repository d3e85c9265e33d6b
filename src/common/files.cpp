#include "common/files.h"

#include "common/apppath.h"
#include "common/letters.h"
#include "common/msg.h"
#include "platform/ini.h"
#include "platform/savefile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QVariant>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace korvan {
namespace {

QString folderOf(const QString& p) {
  const qsizetype cut = p.lastIndexOf(QLatin1Char('/'));
  return cut > 0 ? p.left(cut) : QString();
}

// Each part of p matched to an existing name ignoring letter case; parts
// that exist in no letter case are kept as given.
QString matchCase(const QString& p) {
  if (p.isEmpty() || QFileInfo::exists(p)) return p;
  const bool absolute = p.startsWith(QLatin1Char('/'));
  const QStringList parts = p.split(QLatin1Char('/'), Qt::KeepEmptyParts);
  QString done = absolute ? QStringLiteral("/") : QString();
  for (qsizetype i = absolute ? 1 : 0; i < parts.size(); ++i) {
    const QString& part = parts[i];
    const bool last = i == parts.size() - 1;
    QString next = part;
    if (!part.isEmpty() && part != QLatin1String(".") && part != QLatin1String("..") &&
        !QFileInfo::exists(done + part)) {
      const QDir dir(done.isEmpty() ? QStringLiteral(".") : done);
      const QStringList names =
          dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
      QString found;
      for (const QString& n : names) {
        if (n.compare(part, Qt::CaseInsensitive) == 0) {
          found = n;
          break;
        }
      }
      if (found.isEmpty()) {
        // Nothing further can exist: keep the rest as given.
        QStringList rest = parts.mid(i);
        return done + rest.join(QLatin1Char('/'));
      }
      next = found;
    }
    done += next;
    if (!last) done += QLatin1Char('/');
  }
  return done;
}

// A path as the file system has it is used exactly ("\" is a legal letter of a
// name here); only a path that leads nowhere as written, while it does with
// "\" read as "/", is a Windows-style one (names from Windows-made INI files).
QString slashes(const QString& p) {
  if (!p.contains(QLatin1Char('\\')) || QFileInfo::exists(p)) return p;
  QString r = p;
  r.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (QFileInfo::exists(matchCase(r))) return r;
  // A new file: in the folder that exists as written, unless the read one does.
  const QString folder = folderOf(p);
  const QString readFolder = folderOf(r);
  if (!readFolder.isEmpty() && QFileInfo(matchCase(readFolder)).isDir()) return r;
  if (!folder.isEmpty() && QFileInfo(matchCase(folder)).isDir()) return p;
  return r;
}

bool isBlankText(QStringView s) {
  for (QChar c : s)
    if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\r') && c != QLatin1Char('\n'))
      return false;
  return true;
}

bool isFree(const QString& path) { return !QFileInfo::exists(path) || MOZE_EXCLUSIVE(path); }

QRegularExpression maskRegex(const QString& mask) {
  return QRegularExpression(QRegularExpression::wildcardToRegularExpression(mask),
                            QRegularExpression::CaseInsensitiveOption);
}

}  // namespace

QString FIND_FILE(const QString& path) { return matchCase(slashes(path)); }

QString SLOBODAN_FN(const QString& path, const QString& companionExt) {
  const QString p = slashes(path);
  const qsizetype slash = p.lastIndexOf(QLatin1Char('/'));
  const QString folder = p.left(slash + 1);
  QString file = p.mid(slash + 1);
  if (ISBEZSPACE()) {
    file.replace(QLatin1Char(' '), QLatin1Char('_'));
    file = PLAIN_TEXT(file);
  }
  // The extension is taken from the file name only, never from a folder above it.
  const qsizetype dot = file.lastIndexOf(QLatin1Char('.'));
  const QString name = dot < 0 ? file : file.left(dot);
  const QString ext = dot < 0 ? QString() : file.mid(dot);  // with its "."
  const QString companion =
      companionExt.isEmpty() ? QString() : QLatin1Char('.') + companionExt;

  auto candidate = [&](const QString& counter) { return folder + name + counter + ext; };
  auto companionOf = [&](const QString& counter) { return folder + name + counter + companion; };
  auto passes = [&](const QString& counter) {
    return isFree(candidate(counter)) && (companion.isEmpty() || isFree(companionOf(counter)));
  };
  if (passes(QString())) return candidate(QString());
  for (int n = 2; n <= 99; ++n) {
    const QString c = QString::number(n);
    if (passes(c)) return candidate(c);
  }
  return candidate(QStringLiteral("99"));
}

QByteArray READ_MEMO_BYTES(const QString& path, int chunk, bool shared) {
  Q_UNUSED(shared);
  const QString p = slashes(path);
  if (!QFileInfo(p).isFile()) {
    MSG(QStringLiteral("NE POSTOJI DOKUMENT ") + path);
    return {};
  }
  QFile f(p);
  if (!f.open(QIODevice::ReadOnly)) {
    MSG(QString::fromUtf8("GREŠKA KOD OTVARANJA DOKUMENTA ") + path);
    return {};
  }
  const qint64 size = chunk > 0 && chunk < 10240 ? chunk : 10240;
  QByteArray out;
  for (int i = 0; i < 12; ++i) {
    const QByteArray part = f.read(size);
    out += part;
    if (part.size() < size || chunk < 10240) break;
  }
  return out;
}

QString READ_MEMO(const QString& path, int chunk, bool shared) {
  QByteArray bytes = READ_MEMO_BYTES(path, chunk, shared);
  if (bytes.isEmpty()) return {};
  // When the read stopped at its cap, drop a character cut in two at the end.
  QFile f(slashes(path));
  if (f.open(QIODevice::ReadOnly) && f.size() > bytes.size() && f.seek(bytes.size())) {
    bytes = platform::utf8Left(bytes + f.read(1), bytes.size());
  }
  return QString::fromUtf8(bytes);
}

bool READ_FILE(const QString& path, QByteArray* out, bool quiet) {
  const QString p = slashes(path);
  if (!QFileInfo(p).isFile()) {
    return quiet ? false : MSG(QStringLiteral("NE POSTOJI DOKUMENT ") + path);
  }
  QFile f(p);
  if (!f.open(QIODevice::ReadOnly)) {
    return quiet ? false : MSG(QString::fromUtf8("GREŠKA KOD OTVARANJA DOKUMENTA ") + path);
  }
  QByteArray data = f.readAll();
  if (f.error() != QFileDevice::NoError) {
    return quiet ? false : MSG(QString::fromUtf8("GREŠKA KOD OTVARANJA DOKUMENTA ") + path);
  }
  if (out) *out = std::move(data);
  return true;
}

QString READ_TEXT(const QString& path) {
  QByteArray bytes;
  if (!READ_FILE(path, &bytes)) return {};
  return QString::fromUtf8(bytes);
}

bool WRITE_MEMO_BYTES(const QString& path, const QByteArray& bytes) {
  int code = 0;
  if (platform::saveFileAtomically(slashes(path), bytes, &code)) return true;
  return MSG(QString::fromUtf8("GREŠKA ") + QString::number(code) + QStringLiteral(" KOD PISANJA FAJLA ") +
             path);
}

bool WRITE_MEMO(const QString& path, const QString& text) { return WRITE_MEMO_BYTES(path, text.toUtf8()); }

QStringList GET_MEMO(const QString& text, int* count, const QString& delimiter,
                     const std::function<void(int, int)>& progress) {
  QStringList lines;
  int n = 0;
  const int total = delimiter.isEmpty() ? 0 : int(text.count(delimiter));
  QStringView rest(text);
  while (!isBlankText(rest)) {
    const qsizetype at = delimiter.isEmpty() ? -1 : rest.indexOf(delimiter);
    ++n;
    if (progress) progress(n, total);
    if (at < 0) {
      lines << rest.toString();
      break;
    }
    lines << rest.left(at).toString();
    rest = rest.mid(at + delimiter.size());
  }
  if (count) *count = n;
  return lines;
}

QString PUT_MEMO(const QStringList& lines, const QString& delimiter) {
  QString out;
  for (const QString& l : lines) out += l + delimiter;
  return out;
}

bool PRAVI_DIR(const QString& path) {
  const QString p = slashes(path);
  if (p.isEmpty()) return false;
  if (!QFileInfo::exists(p)) QDir().mkdir(p);
  return QFileInfo(p).isDir();
}

bool PRAVI_DIR_FULL(const QString& path, const QString& prefix) {
  const QString p = slashes(path);
  for (qsizetype i = 1; i < p.size(); ++i)
    if (p[i] == QLatin1Char('/')) PRAVI_DIR(prefix + p.left(i + 1));
  if (!p.isEmpty() && !p.endsWith(QLatin1Char('/'))) PRAVI_DIR(prefix + p);
  return QFileInfo(slashes(prefix) + p).isDir();
}

bool MOZE_EXCLUSIVE(const QString& path) {
  const QByteArray name = QFile::encodeName(slashes(path));
  const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool free = true;
  struct flock fl {};
  fl.l_type = F_WRLCK;
  fl.l_whence = SEEK_SET;
  fl.l_start = 0;
  fl.l_len = 0;  // the whole file and every byte past its end
  if (::fcntl(fd, F_OFD_GETLK, &fl) == 0 && fl.l_type != F_UNLCK) free = false;
  if (free) {
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) free = false;
  }
  ::close(fd);
  return free;
}

QList<DirEntry> DIRECTORY2(const QString& mask, const QString& attributes) {
  const QString m = slashes(mask);
  const qsizetype slash = m.lastIndexOf(QLatin1Char('/'));
  const QString folder = slash < 0 ? QStringLiteral(".") : (slash == 0 ? QStringLiteral("/") : m.left(slash));
  QString pattern = m.mid(slash + 1);
  if (pattern.isEmpty() || pattern == QLatin1String("*.*")) pattern = QStringLiteral("*");
  const bool dirs = attributes.contains(QLatin1Char('D'), Qt::CaseInsensitive);
  const QRegularExpression re = maskRegex(pattern);
  QDir::Filters filters = QDir::Files | QDir::NoDotAndDotDot;
  if (dirs) filters |= QDir::Dirs;
  QList<DirEntry> out;
  const QFileInfoList infos = QDir(FIND_FILE(folder)).entryInfoList(filters, QDir::Name);
  for (const QFileInfo& fi : infos) {
    if (!re.match(fi.fileName()).hasMatch()) continue;
    DirEntry e;
    e.name = fi.fileName();
    e.size = fi.isDir() ? 0 : fi.size();
    const QDateTime t = fi.lastModified();
    e.date = t.date();
    e.time = t.time().toString(QStringLiteral("HH:mm:ss"));
    e.attributes = fi.isDir() ? QStringLiteral("D") : QString();
    out << e;
  }
  return out;
}

QByteArray READLN(QIODevice& file, const QByteArray& delimiter) {
  const qint64 start = file.pos();
  const QByteArray buf = file.read(600);
  const qsizetype at = delimiter.isEmpty() ? -1 : buf.indexOf(delimiter);
  if (at < 0) return buf;
  file.seek(start + at + delimiter.size());
  return buf.left(at);
}

bool MATCH_FILE(const QString& name, const QStringList& masks) {
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return false;
  const QString ext = name.mid(dot);
  for (const QString& mask : masks) {
    QString m = mask.mid(1);
    m.remove(QLatin1Char('?'));
    m.remove(QLatin1Char('*'));
    if (m == QLatin1String(".")) continue;
    if (ext.contains(m, Qt::CaseInsensitive)) return false;
  }
  return true;
}

void GET_FILES(const QString& folder, QStringList& list, const QStringList& excludeMasks, bool filesOnly) {
  QString f = slashes(folder);
  if (!f.endsWith(QLatin1Char('/'))) f += QLatin1Char('/');
  const QFileInfoList infos =
      QDir(f).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
  QStringList subfolders;
  for (const QFileInfo& fi : infos) {
    if (fi.isDir() && !fi.isSymLink()) {
      subfolders << f + fi.fileName() + QLatin1Char('/');
      if (!filesOnly) list << subfolders.back();
    } else if (fi.isFile() && MATCH_FILE(fi.fileName(), excludeMasks)) {
      list << f + fi.fileName();
    }
  }
  for (const QString& s : subfolders) GET_FILES(s, list, excludeMasks, filesOnly);
}

void XDEL(const QString& folder) {
  QDirIterator it(slashes(folder), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QString p = it.next();
    if (it.fileName().contains(QLatin1Char('.'))) QFile::remove(p);
  }
}

qint64 copyBlocks(QFile& in, QFile& out, qint64 blockSize, const std::function<void(qint64)>& step) {
  qint64 copied = 0;
  for (;;) {
    const QByteArray block = in.read(blockSize);
    if (block.isEmpty()) break;
    if (out.write(block) != block.size()) return -1;
    copied += block.size();
    if (step) step(copied);
  }
  if (in.error() != QFileDevice::NoError || !out.flush()) return -1;
  return copied;
}

bool COPYFILE(const QString& source, const QString& target, QObject* bar, bool quiet,
              const std::function<void(qint64, qint64)>& progress) {
  auto fail = [&] {
    if (!quiet) {
      MSGSTOP(QStringLiteral("Greska pri kopiranju !\n") + source + QLatin1Char('\n') + target +
              QStringLiteral("\nPonovite ..."));
    }
    return false;
  };
  QFile in(slashes(source));
  QFile out(slashes(target));
  if (!in.open(QIODevice::ReadOnly)) return fail();
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return fail();
  const qint64 size = in.size();
  if (bar) {
    bar->setProperty("minimum", 0);
    bar->setProperty("maximum", int(qMin<qint64>(size, INT_MAX)));
  }
  const qint64 copied = copyBlocks(in, out, 4096, [&](qint64 done) {
    if (bar) bar->setProperty("value", int(qMin<qint64>(done, INT_MAX)));
    if (progress) progress(done, size);
    QCoreApplication::processEvents();
  });
  if (copied < 0) return fail();
  out.close();
  if (out.error() != QFileDevice::NoError) return fail();
  return true;
}

void BRISI_TMPREZ(const QStringList& paths) {
  for (const QString& p : paths) {
    const QString s = slashes(p);
    if (QFileInfo::exists(s)) QFile::remove(s);
  }
}

QString GETTEMPDIR() { return QDir::tempPath() + QLatin1Char('/'); }

}  // namespace korvan
