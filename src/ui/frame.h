#pragma once
// The small progress box of long operations. It is closed when the object goes
// out of scope, so a box can never be left open on screen.
#include <QElapsedTimer>
#include <QFont>
#include <QPointer>
#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QVBoxLayout;

namespace korvan {

class MyFRAME {
 public:
  // Shows the text at once (pending events run once so that it paints).
  explicit MyFRAME(const QString& text, bool prekid = false);
  explicit MyFRAME(const char* text, bool prekid = false)
      : MyFRAME(QString::fromUtf8(text), prekid) {}
  // Shows `width` blanks: a placeholder for the box's width until Disp.
  explicit MyFRAME(int width, bool prekid = false);
  ~MyFRAME();
  MyFRAME(const MyFRAME&) = delete;
  MyFRAME& operator=(const MyFRAME&) = delete;

  // Shows the text and lets pending events run: the only moment at which
  // "Prekid" or Esc can take effect. Events run at the first Disp and then at
  // most once per interval, so a loop of many short steps is not slowed by
  // repainting.
  void Disp(const QString& text);
  // The interval of every box, in milliseconds (50 at start; 0: every Disp).
  static void SET_INTERVAL(int ms);
  // True when a Disp now would let events run: a loop of many short steps
  // builds its text only then (nothing repaints in between anyway).
  bool Due() const;
  // Closes the box; later calls (and the destructor) do nothing.
  void End();

  QPointer<QDialog> oDlg;
  QPointer<QLabel> oLabel;
  QVBoxLayout* olayV = nullptr;  // owned by oDlg
  QFont oFont;
  QPointer<QPushButton> obCANCEL;
  bool lPREKID = false;  // the user asked to stop ("Prekid" or Esc)

 private:
  void build(const QString& text, bool prekid);
  QElapsedTimer shown_;
};

}  // namespace korvan
