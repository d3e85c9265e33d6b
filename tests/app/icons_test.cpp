#include "app/startup.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace korvan;

TEST(Icons, EveryIconResolvesAtItsSizeFromStartOn) {
  QTemporaryDir dir;
  QByteArray exe = (dir.path() + "/korvan").toLocal8Bit();
  char* argv[] = {exe.data(), nullptr};
  int argc = 1;
  QT_START(argc, argv);
  const struct {
    const char* name;
    int size;
  } icons[] = {
      {"2desno.png", 32},  {"2levo.png", 32},   {"accept.png", 32},     {"attach.png", 32},
      {"brisi.png", 32},   {"cesto.png", 32},   {"cpanel.png", 32},     {"crveno.png", 48},
      {"dodaj.png", 32},   {"dole.png", 32},    {"excel.png", 128},     {"firme.png", 32},
      {"gore.png", 32},    {"izlaz.png", 32},   {"izmeni.png", 32},     {"korvan.png", 128},
      {"mail.png", 32},    {"openoffice.png", 32}, {"otvori.png", 32},  {"paste.png", 32},
      {"promene.png", 32}, {"reject.png", 32},  {"reload.png", 32},     {"salji.png", 32},
      {"snimi.png", 32},   {"stampa.png", 32},  {"stavka.png", 32},     {"stavka2.png", 32},
      {"trazi.png", 32},   {"zeleno.png", 48},  {"zuto.png", 48},
  };
  QStringList names;
  for (const auto& i : icons) {
    const QImage img(QStringLiteral(":/res/") + i.name);
    EXPECT_FALSE(img.isNull()) << i.name;
    EXPECT_EQ(img.size(), QSize(i.size, i.size)) << i.name;
    names << i.name;
  }
  EXPECT_EQ(QDir(":/res").entryList(QDir::Files, QDir::Name), names) << "exactly these 31";
  EXPECT_FALSE(QFile::exists(":/res/resizecol.png"));
  EXPECT_FALSE(QFile::exists(":/res/clear_left.png"));
}
