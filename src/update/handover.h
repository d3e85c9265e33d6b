#pragma once
// The start-up hand-over: when the update folder holds a copy of the running
// executable that is newer than the running one, the project's updater
// "update" beside the executable is started with the waiting copy's path and
// the running one's as two arguments, and the start-up ends without a window.
//
// A hand-over that did not take never repeats: the copy handed over is noted
// (name, size, time) in the update folder ("PREDATO.TXT"); when that same
// copy still waits at the next start, it and its check file are deleted and
// the start goes on. UPD_PREDAJA decides and starts, showing nothing;
// PROVERI_NOVU_VERZIJU (the start-up's hook) adds the boxes.
#include <QString>

namespace korvan {

class MyFRAME;

// The program folder followed by the name by which the executable was
// started (a link is not resolved).
QString GETEXEFILENAME();

enum class UpdPredaja {
  Nema,          // nothing newer waits (or the SSH way found nothing)
  Predato,       // the updater was started
  NijePokrenut,  // the updater is missing, not executable, or did not start
  NijeAktivirana // the copy handed over last time still waits: removed
};

UpdPredaja UPD_PREDAJA(const QString& folder, const QString& extra = QString(), MyFRAME* progress = nullptr);

// true when the updater was started. "Nije moguće pokrenuti program za
// ažuriranje!" or "Nova verzija nije aktivirana, ponovite UPDATE." is shown
// when a hand-over failed; the start then goes on.
bool PROVERI_NOVU_VERZIJU(const QString& folder, const QString& extra = QString(), MyFRAME* progress = nullptr);

// The note's file name in the update folder.
QString UPD_BELESKA();

}  // namespace korvan
