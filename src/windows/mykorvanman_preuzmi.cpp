// The manager window's downloads: the direction's ids (all or only new) and
// the changes of a period, day by day.
#include <QApplication>
#include <QWidget>

#include "common/apppath.h"
#include "common/dates.h"
#include "common/msg.h"
#include "einvoice/account.h"
#include "einvoice/libefman.h"
#include "ui/frame.h"
#include "ui/sq.h"
#include "windows/korvanman_model.h"
#include "windows/mykorvanman.h"

namespace korvan {
namespace {

// Runs a list call under the wait cursor; false when curl did not run.
bool runList(const EfmCall& call, const QString& key, bool testMode, QByteArray* answer, bool quiet) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const EfmAccount account = efmAccount(key, testMode);
  const bool ran = quiet ? EFM_IZVRSI(call, account, answer) : efm::run(call, account, answer);
  QApplication::restoreOverrideCursor();
  return ran;
}

QString position(int at, int count) {
  return QString::number(at).rightJustified(10) + u'/' + QString::number(count).rightJustified(10);
}

QString skippedIds(const QStringList& ids) {
  return QString::fromUtf8("Preskočeni su Id-jevi koji nisu celi brojevi: ") + ids.join(QStringLiteral(", "));
}

}  // namespace

void MyKORVANMAN::PREUZMI_SVE(bool onlyNew) {
  const bool testMode = ISTEST();
  QString key;
  if (!kljuc(key)) return;
  const QList<kman::Promena> companies = {{0, cFIRMA_PIB, key}};
  if (!onlyNew && !MSGYESNO(QString::fromUtf8("Ova operacija može da potraje...\n"
                                               "Da li sigurno želite da preuzmete SVE dokumente sa sajta?")))
    return;
  for (const kman::Promena& company : companies) {
    QByteArray answer;
    if (!runList(efm::idsCall(cUI), company.key, testMode, &answer, false)) continue;
    const kman::Ids ids = kman::readIds(answer, cUI);
    if (!ids.problem.isEmpty()) MSG(ids.problem);
    if (!ids.skipped.isEmpty()) MSG(skippedIds(ids.skipped));
    if (ids.ids.isEmpty() || !EFMDB_OTVORI_BAZE()) continue;
    aMENJANO.clear();
    MyFRAME box(21, true);
    for (int i = 0; i < ids.ids.size(); ++i) {
      box.Disp(position(i + 1, int(ids.ids.size())));
      if (box.lPREKID) break;
      const qint64 id = ids.ids[i];
      if (EFMDB_JESTE_FALS(oSERVER_EFM, cUI, id)) continue;
      if (onlyNew && EFMDB_POSTOJI_INVOICE(oSERVER_EFM, cUI, id, company.pib)) continue;
      AZU_JEDAN_INVOICE(id, company.key, testMode, company.pib);
    }
    box.End();
    EFMDB_ZATVORI_BAZE();
  }
  POPUNI_TABELU();
}

void MyKORVANMAN::PREUZMI_PERIOD() {
  const bool testMode = ISTEST();
  const QString section = QStringLiteral("KorvanMan");
  const QString remembered = GETINI(QStringLiteral("POSL_DAT2"), section);
  const QDate yesterday = TODAY().addDays(-1);
  QDate start = remembered.trimmed().isEmpty() ? yesterday : CTOD(remembered);
  if (!start.isValid()) start = yesterday;
  QDate end = yesterday;
  QString key;
  if (!kljuc(key)) return;
  const QList<kman::Promena> companies = {{0, cFIRMA_PIB, key}};
  if (!SQ({{.label = QString::fromUtf8("Početni datum"), .value = SQ_VAR(start)},
           {.label = QStringLiteral("Krajnji datum"), .value = SQ_VAR(end)}},
          QStringLiteral(":/res/2levo.png"), oFont, QStringLiteral("Preuzimanje menjanih u periodu")))
    return;

  // Every reason why the period cannot count as read; the end date is
  // remembered only when there is none.
  QStringList failures;
  QStringList skipped;
  QList<kman::Promena> list;
  bool stopped = false;
  {
    MyFRAME box(21, true);
    for (QDate day = start; day.isValid() && day <= end && !stopped; day = day.addDays(1)) {
      for (const kman::Promena& company : companies) {
        box.Disp(DTOC(day));
        if (box.lPREKID) {
          stopped = true;
          break;
        }
        QByteArray answer;
        if (!runList(efm::changesCall(cUI, day), company.key, testMode, &answer, true)) {
          failures << DTOC(day) + QStringLiteral(": ") + EFM_ERR_CURL();
          continue;
        }
        const kman::Changes c = kman::readChanges(answer, cUI, company.pib, company.key, list);
        for (const QString& p : c.entryProblems) MSG(p);
        skipped << c.skipped;
        if (!c.dayProblem.isEmpty()) failures << DTOC(day) + QStringLiteral(": ") + c.dayProblem;
      }
    }
  }
  if (!skipped.isEmpty()) MSG(skippedIds(skipped));

  int notRefreshed = 0;
  if (!list.isEmpty() && !stopped) {
    if (!EFMDB_OTVORI_BAZE()) {
      failures << QString::fromUtf8("Lokalna baza nije otvorena, promene nisu upisane.");
    } else {
      aMENJANO.clear();
      MyFRAME box(21, true);
      for (int i = 0; i < list.size(); ++i) {
        box.Disp(position(i + 1, int(list.size())));
        if (box.lPREKID) {
          stopped = true;
          break;
        }
        if (AZU_JEDAN_INVOICE(list[i].id, list[i].key, testMode, list[i].pib) == Osvezen::Greska) ++notRefreshed;
      }
      box.End();
      EFMDB_ZATVORI_BAZE();
      POPUNI_TABELU();
    }
  }
  if (notRefreshed > 0) failures << QString::fromUtf8("Nije ažurirano e-faktura: %1.").arg(notRefreshed);
  if (stopped) failures << QStringLiteral("Preuzimanje je prekinuto.");
  if (failures.isEmpty()) {
    PUTINI(QStringLiteral("POSL_DAT2"), section, DTOC(end));
    return;
  }
  MSG(QString::fromUtf8("Preuzimanje menjanih nije potpuno:\n") + failures.join(u'\n') +
      QString::fromUtf8("\nDatum poslednjeg preuzimanja nije pomeren, ti dani će biti traženi ponovo."));
}

}  // namespace korvan
