// Draws the program's icons as simple pictograms and writes them as PNG files.
//   icongen <output folder>
// Every icon is drawn on a 32 x 32 grid and scaled to its size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTextStream>

#include <cmath>
#include <functional>

namespace {

const QColor kInk(40, 40, 48);
const QColor kGreen(46, 150, 70);
const QColor kDarkGreen(25, 105, 50);
const QColor kRed(205, 45, 40);
const QColor kBlue(40, 100, 190);
const QColor kYellow(240, 190, 30);
const QColor kPaper(250, 250, 246);
const QColor kGrey(150, 150, 158);

using Draw = std::function<void(QPainter&)>;

struct Icon {
  const char* name;
  int size;
  Draw draw;
};

QPen pen(const QColor& c, double w) { return QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& c, double w) {
  p.setPen(pen(c, w));
  p.drawLine(from, to);
  const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
  const double h = w * 2.2;
  QPolygonF head;
  head << to + QPointF(std::cos(a) * h * 0.6, std::sin(a) * h * 0.6)
       << to + QPointF(std::cos(a + 2.4) * h, std::sin(a + 2.4) * h)
       << to + QPointF(std::cos(a - 2.4) * h, std::sin(a - 2.4) * h);
  p.setPen(pen(c, 1));
  p.setBrush(c);
  p.drawPolygon(head);
}

void chevrons(QPainter& p, bool right) {
  p.setPen(pen(kGreen, 3.5));
  p.setBrush(Qt::NoBrush);
  for (double x : {8.0, 17.0}) {
    QPolygonF v;
    if (right) {
      v << QPointF(x, 7) << QPointF(x + 8, 16) << QPointF(x, 25);
    } else {
      v << QPointF(x + 8, 7) << QPointF(x, 16) << QPointF(x + 8, 25);
    }
    p.drawPolyline(v);
  }
}

void sheet(QPainter& p, QRectF r, const QColor& frame) {
  p.setPen(pen(frame, 1.5));
  p.setBrush(kPaper);
  p.drawRoundedRect(r, 1.5, 1.5);
}

void lines(QPainter& p, double x1, double x2, double y, int n, double step) {
  p.setPen(pen(kGrey, 1.5));
  for (int i = 0; i < n; ++i) p.drawLine(QPointF(x1, y + i * step), QPointF(x2, y + i * step));
}

void grid(QPainter& p, QRectF r, int cols, int rows, const QColor& c) {
  p.setPen(pen(c, 1));
  for (int i = 1; i < cols; ++i) {
    const double x = r.left() + r.width() * i / cols;
    p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
  }
  for (int i = 1; i < rows; ++i) {
    const double y = r.top() + r.height() * i / rows;
    p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
  }
}

void disc(QPainter& p, const QColor& c) {
  QRadialGradient g(QPointF(12, 11), 18);
  g.setColorAt(0, c.lighter(160));
  g.setColorAt(1, c);
  p.setPen(pen(c.darker(140), 1.5));
  p.setBrush(g);
  p.drawEllipse(QRectF(3, 3, 26, 26));
}

void pencil(QPainter& p, QPointF tip, double len) {
  p.save();
  p.translate(tip);
  p.rotate(-45);
  p.setPen(pen(kInk, 1));
  p.setBrush(kYellow);
  p.drawRect(QRectF(3, -2.5, len - 3, 5));
  QPolygonF point;
  point << QPointF(0, 0) << QPointF(3, -2.5) << QPointF(3, 2.5);
  p.setBrush(kPaper);
  p.drawPolygon(point);
  p.setBrush(kRed);
  p.drawRect(QRectF(len - 3, -2.5, 3, 5));
  p.restore();
}

const QList<Icon>& icons() {
  static const QList<Icon> list = {
      {"2desno.png", 32, [](QPainter& p) { chevrons(p, true); }},
      {"2levo.png", 32, [](QPainter& p) { chevrons(p, false); }},
      {"accept.png", 32,
       [](QPainter& p) {
         disc(p, kGreen);
         p.setPen(pen(Qt::white, 3.5));
         p.drawPolyline(QPolygonF{QPointF(9, 16.5), QPointF(14, 21.5), QPointF(23, 11)});
       }},
      {"attach.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kInk, 2.2));
         p.setBrush(Qt::NoBrush);
         QPainterPath clip;
         clip.moveTo(20, 9);
         clip.lineTo(20, 23);
         clip.arcTo(QRectF(11, 19, 9, 9), 0, -180);
         clip.lineTo(11, 7);
         clip.arcTo(QRectF(11, 2.5, 12, 9), 180, -180);
         clip.lineTo(23, 22);
         p.drawPath(clip);
       }},
      {"brisi.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kRed, 4.5));
         p.drawLine(QPointF(8, 8), QPointF(24, 24));
         p.drawLine(QPointF(24, 8), QPointF(8, 24));
       }},
      {"cesto.png", 32,
       [](QPainter& p) {
         QPolygonF star;
         for (int i = 0; i < 10; ++i) {
           const double r = i % 2 ? 5.5 : 13;
           const double a = -M_PI / 2 + i * M_PI / 5;
           star << QPointF(16 + r * std::cos(a), 17 + r * std::sin(a));
         }
         p.setPen(pen(kYellow.darker(150), 1.5));
         p.setBrush(kYellow);
         p.drawPolygon(star);
       }},
      {"cpanel.png", 32,
       [](QPainter& p) {
         for (int i = 0; i < 8; ++i) {
           p.save();
           p.translate(16, 16);
           p.rotate(i * 45);
           p.setPen(Qt::NoPen);
           p.setBrush(kGrey.darker(130));
           p.drawRect(QRectF(-3, -14, 6, 6));
           p.restore();
         }
         p.setPen(pen(kGrey.darker(160), 1.5));
         p.setBrush(kGrey);
         p.drawEllipse(QPointF(16, 16), 10, 10);
         p.setBrush(kPaper);
         p.drawEllipse(QPointF(16, 16), 4, 4);
       }},
      {"crveno.png", 48, [](QPainter& p) { disc(p, kRed); }},
      {"dodaj.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kGreen, 5));
         p.drawLine(QPointF(16, 6), QPointF(16, 26));
         p.drawLine(QPointF(6, 16), QPointF(26, 16));
       }},
      {"dole.png", 32, [](QPainter& p) { arrow(p, QPointF(16, 5), QPointF(16, 22), kBlue, 4); }},
      {"excel.png", 128,
       [](QPainter& p) {
         sheet(p, QRectF(6, 3, 22, 26), kDarkGreen);
         grid(p, QRectF(6, 3, 22, 26), 3, 6, kGreen);
         p.setPen(pen(kDarkGreen, 1));
         p.setBrush(kGreen);
         p.drawRoundedRect(QRectF(2, 10, 15, 14), 1.5, 1.5);
         p.setPen(pen(Qt::white, 2.2));
         p.drawLine(QPointF(6, 13.5), QPointF(13, 20.5));
         p.drawLine(QPointF(13, 13.5), QPointF(6, 20.5));
       }},
      {"firme.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kInk, 1.5));
         p.setBrush(QColor(200, 170, 120));
         p.drawRect(QRectF(7, 6, 18, 22));
         p.setBrush(kBlue.lighter(150));
         for (int r = 0; r < 3; ++r)
           for (int c = 0; c < 2; ++c) p.drawRect(QRectF(10 + c * 8, 9 + r * 5, 4, 3));
         p.setBrush(kInk);
         p.drawRect(QRectF(14, 23, 4, 5));
       }},
      {"gore.png", 32, [](QPainter& p) { arrow(p, QPointF(16, 27), QPointF(16, 10), kBlue, 4); }},
      {"izlaz.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kInk, 1.5));
         p.setBrush(QColor(160, 110, 60));
         p.drawRect(QRectF(5, 4, 13, 24));
         p.setBrush(kYellow);
         p.drawEllipse(QPointF(15, 16), 1.2, 1.2);
         arrow(p, QPointF(15, 16), QPointF(25, 16), kRed, 3);
       }},
      {"izmeni.png", 32, [](QPainter& p) { pencil(p, QPointF(6, 26), 26); }},
      {"korvan.png", 128,
       [](QPainter& p) {
         QLinearGradient g(0, 0, 32, 32);
         g.setColorAt(0, kBlue.lighter(130));
         g.setColorAt(1, kBlue.darker(130));
         p.setPen(pen(kBlue.darker(170), 1));
         p.setBrush(g);
         p.drawRoundedRect(QRectF(2, 2, 28, 28), 5, 5);
         sheet(p, QRectF(8, 5, 16, 21), kInk);
         lines(p, 11, 21, 17, 3, 2.6);
         p.setPen(pen(kBlue.darker(140), 2.6));
         p.drawLine(QPointF(12, 8), QPointF(12, 15));
         p.drawLine(QPointF(12, 11.5), QPointF(17, 8));
         p.drawLine(QPointF(13.5, 11), QPointF(17.5, 15));
         arrow(p, QPointF(18, 27), QPointF(27, 20), kYellow, 2.2);
       }},
      {"mail.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kInk, 1.5));
         p.setBrush(kPaper);
         p.drawRect(QRectF(4, 8, 24, 16));
         p.drawPolyline(QPolygonF{QPointF(4, 8), QPointF(16, 18), QPointF(28, 8)});
       }},
      {"openoffice.png", 32,
       [](QPainter& p) {
         sheet(p, QRectF(6, 3, 22, 26), kBlue.darker(130));
         grid(p, QRectF(6, 3, 22, 26), 3, 6, kBlue.lighter(140));
         p.setPen(pen(kBlue.darker(140), 1));
         p.setBrush(kBlue);
         p.drawRoundedRect(QRectF(2, 10, 15, 14), 1.5, 1.5);
         p.setPen(pen(Qt::white, 2));
         p.setBrush(Qt::NoBrush);
         p.drawEllipse(QPointF(9.5, 17), 3.5, 3.5);
       }},
      {"otvori.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kYellow.darker(170), 1.5));
         p.setBrush(kYellow.darker(115));
         p.drawPolygon(QPolygonF{QPointF(3, 8), QPointF(12, 8), QPointF(14, 10), QPointF(27, 10),
                                 QPointF(27, 26), QPointF(3, 26)});
         p.setBrush(kYellow);
         p.drawPolygon(QPolygonF{QPointF(6, 14), QPointF(30, 14), QPointF(27, 26), QPointF(3, 26)});
       }},
      {"paste.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kInk, 1.5));
         p.setBrush(QColor(190, 140, 80));
         p.drawRoundedRect(QRectF(6, 5, 20, 24), 2, 2);
         sheet(p, QRectF(9, 9, 14, 17), kInk);
         lines(p, 11, 21, 13, 4, 3);
         p.setBrush(kGrey);
         p.setPen(pen(kInk, 1));
         p.drawRoundedRect(QRectF(12, 3, 8, 4), 1, 1);
       }},
      {"promene.png", 32,
       [](QPainter& p) {
         sheet(p, QRectF(3, 4, 13, 17), kInk);
         sheet(p, QRectF(16, 11, 13, 17), kInk);
         arrow(p, QPointF(8, 24), QPointF(13, 28), kGreen, 2);
         arrow(p, QPointF(24, 8), QPointF(19, 4), kRed, 2);
       }},
      {"reject.png", 32,
       [](QPainter& p) {
         disc(p, kRed);
         p.setPen(pen(Qt::white, 4));
         p.drawLine(QPointF(9, 16), QPointF(23, 16));
       }},
      {"reload.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kGreen, 3.5));
         p.setBrush(Qt::NoBrush);
         p.drawArc(QRectF(6, 6, 20, 20), 30 * 16, 290 * 16);
         QPolygonF head{QPointF(27, 3), QPointF(27.5, 13), QPointF(18, 10)};
         p.setPen(pen(kGreen, 1));
         p.setBrush(kGreen);
         p.drawPolygon(head);
       }},
      {"salji.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kBlue.darker(150), 1.5));
         p.setBrush(kBlue.lighter(150));
         p.drawPolygon(QPolygonF{QPointF(3, 15), QPointF(29, 4), QPointF(20, 28), QPointF(15, 18)});
         p.setBrush(kBlue);
         p.drawPolygon(QPolygonF{QPointF(15, 18), QPointF(29, 4), QPointF(17, 25)});
       }},
      {"snimi.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kInk, 1.5));
         p.setBrush(kBlue);
         p.drawPolygon(QPolygonF{QPointF(4, 4), QPointF(24, 4), QPointF(28, 8), QPointF(28, 28),
                                 QPointF(4, 28)});
         p.setBrush(kPaper);
         p.drawRect(QRectF(8, 4, 14, 9));
         p.drawRect(QRectF(8, 18, 16, 10));
         p.setBrush(kInk);
         p.drawRect(QRectF(17, 6, 3, 5));
       }},
      {"stampa.png", 32,
       [](QPainter& p) {
         sheet(p, QRectF(9, 3, 14, 10), kInk);
         p.setPen(pen(kInk, 1.5));
         p.setBrush(kGrey);
         p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
         sheet(p, QRectF(9, 18, 14, 11), kInk);
         lines(p, 11, 21, 22, 2, 3);
         p.setBrush(kGreen);
         p.setPen(Qt::NoPen);
         p.drawEllipse(QPointF(25, 14.5), 1.3, 1.3);
       }},
      {"stavka.png", 32,
       [](QPainter& p) {
         sheet(p, QRectF(5, 3, 20, 26), kInk);
         grid(p, QRectF(8, 7, 14, 18), 2, 5, kGreen);
         p.setPen(pen(kGreen, 1.2));
         p.setBrush(Qt::NoBrush);
         p.drawRect(QRectF(8, 7, 14, 18));
       }},
      {"stavka2.png", 32,
       [](QPainter& p) {
         sheet(p, QRectF(5, 3, 20, 26), kInk);
         lines(p, 8, 22, 8, 6, 3.5);
         pencil(p, QPointF(14, 27), 18);
       }},
      {"trazi.png", 32,
       [](QPainter& p) {
         p.setPen(pen(kInk, 4));
         p.drawLine(QPointF(19, 19), QPointF(27, 27));
         p.setPen(pen(kInk, 2.2));
         p.setBrush(QColor(200, 225, 250));
         p.drawEllipse(QPointF(13, 13), 8.5, 8.5);
       }},
      {"zeleno.png", 48, [](QPainter& p) { disc(p, kGreen); }},
      {"zuto.png", 48, [](QPainter& p) { disc(p, kYellow); }},
  };
  return list;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QTextStream err(stderr);
  if (argc != 2) {
    err << "usage: icongen <output folder>\n";
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  if (!out.exists() && !QDir().mkpath(out.path())) {
    err << "cannot make " << out.path() << "\n";
    return 1;
  }
  for (const Icon& icon : icons()) {
    QImage img(icon.size, icon.size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(icon.size / 32.0, icon.size / 32.0);
    icon.draw(p);
    p.end();
    const QString path = out.filePath(QString::fromLatin1(icon.name));
    if (!img.save(path, "PNG")) {
      err << "cannot write " << path << "\n";
      return 1;
    }
  }
  QTextStream(stdout) << icons().size() << " icons written to " << out.path() << "\n";
  return 0;
}
