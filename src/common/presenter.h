#pragma once
// The one presenter through which every message box and choice dialog of the
// program is shown. Tests install their own presenter (tests/support) to
// answer boxes and to see what was shown.
#include <QString>
#include <QStringList>
#include <functional>

namespace korvan {

enum class BoxKind {
  Warning,    // MSG: "Upozorenje", critical icon, OK
  Info,       // MSGINFO: "Obaveštenje", information icon, OK
  YesNo,      // MSGYESNO: "Pitanje", Yes (default) / No
  YesNoCancel,// MSGYESNOCANCEL
  Choice,     // QALERT and its kin: buttons given, answer 1-based, 0 = none
  Link,       // MSGLINK: rich text with a link
  Error,      // the run-time error box
};

struct Box {
  BoxKind kind = BoxKind::Warning;
  QString title;
  QString text;
  QStringList buttons;  // Choice: button captions in order
  int defaultButton = 0;  // Choice: 1-based default, 0 = none
};

// Answer codes: Warning/Info/Link/Error give 0; YesNo gives 1 for Yes and 0 for
// No or Esc; YesNoCancel gives 1 Yes, 2 No, 0 Cancel/Esc; Choice gives the
// 1-based button or 0 when closed.
class Presenter {
 public:
  virtual ~Presenter() = default;
  virtual int show(const Box& box) = 0;
};

// The presenter in force (the real one unless a test installed another).
Presenter& presenter();
// Installs p (not owned); nullptr puts the real presenter back. Returns the
// presenter installed before (nullptr: the real one), for putting it back.
Presenter* setPresenter(Presenter* p);

// Real boxes: each kind is shown by the shower the window framework installs
// (installUiDialogs in ui/libqt.h: message boxes, the choice and link
// dialogs). A kind without a shower writes its text to the error output and
// answers 0.
using BoxShower = std::function<int(const Box&)>;
void setBoxShower(BoxKind kind, BoxShower shower);

}  // namespace korvan
