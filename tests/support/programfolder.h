#pragma once
// A temporary program folder for a test: made when constructed, set as the
// program folder, and at the end the program folder before it is put back and
// the folder removed. Reads like a QTemporaryDir; with `sub` the program
// folder is that folder inside the temporary one (made), so paths may hold
// blanks or letters beyond ASCII.
#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace korvan::test {

class TempProgramFolder {
 public:
  explicit TempProgramFolder(const QString& sub = QString());
  ~TempProgramFolder();
  TempProgramFolder(const TempProgramFolder&) = delete;
  TempProgramFolder& operator=(const TempProgramFolder&) = delete;

  bool isValid() const { return dir_.isValid(); }
  // The temporary folder, without a trailing "/".
  QString path() const { return dir_.path(); }
  QString filePath(const QString& name) const { return dir_.filePath(name); }
  // Writes a file of the folder whole (true when done); reads one whole
  // ("<none>" when it cannot be read).
  bool write(const QString& name, const QByteArray& bytes) const;
  QByteArray read(const QString& name) const;

 private:
  QTemporaryDir dir_;
  QString previous_;
};

}  // namespace korvan::test
