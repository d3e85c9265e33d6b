#pragma once
// The .dbf layout: header, field descriptors and the text rules of the field
// types C, N, D, L (memo references are in memo.h).
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <cstdint>

namespace korvan::dbf {

// One field of a structure list.
struct FieldDef {
  QString name;
  char type = 'C';
  int len = 0;
  int dec = 0;
  bool operator==(const FieldDef&) const = default;
};
using Structure = QList<FieldDef>;

// A field as stored: its definition and where it lies in the record.
struct FieldInfo {
  FieldDef def;
  int offset = 0;      // from the start of the record (byte 0 is the delete flag)
  uint8_t flags = 0;   // Visual FoxPro field flags
};

constexpr uint8_t kVersionDbase3 = 0x03;   // no memo
constexpr uint8_t kVersionFoxMemo = 0xF5;  // FoxPro 2 with .fpt memo
constexpr uint8_t kVersionVfp = 0x30;
constexpr uint8_t kVersionVfpAuto = 0x31;
constexpr uint8_t kFlagCdx = 0x01;
constexpr uint8_t kFlagMemo = 0x02;  // Visual FoxPro only

struct Header {
  uint8_t version = kVersionDbase3;
  uint32_t recCount = 0;
  uint16_t headerLen = 0;
  uint16_t recordLen = 0;
  uint8_t flags = 0;
  uint8_t codePage = 0;
  QList<FieldInfo> fields;
  bool vfp() const { return version == kVersionVfp || version == kVersionVfpAuto; }
  bool hasMemo() const;
};

// Parses the header bytes (the whole header, headerLen long, or at least the
// fixed part when headerLen is not known yet); throws DbfError naming file.
uint16_t headerLength(const uint8_t* b, int64_t avail, const QString& file);
Header parseHeader(const uint8_t* b, int64_t len, const QString& file);
// Checks a structure list and fixes D, M and L lengths; throws on a bad list.
Structure normalizeStructure(const Structure& s, const QString& file);
// Header bytes (with the 0x0D terminator) of a new table.
QByteArray buildHeader(const Structure& s, uint8_t version, uint8_t codePage);
// Writes the current date into the header's last-update bytes.
void stampDate(uint8_t* header3);

// Field codecs; raw is exactly the field's width.
QString decodeText(QByteArrayView raw);
// The text as UTF-8 bytes, cut to width at a character boundary and padded.
QByteArray encodeText(const QString& s, int width);
// Stored bytes fitted to another width the same way.
QByteArray fitBytes(QByteArray bytes, int width);
// Number text rules: right-aligned, '.' as point, dec decimals, rounded half
// away from zero on the decimal value as written. Throws when it does not fit.
QByteArray encodeNumber(const QVariant& v, const FieldDef& f, const QString& file);
// Blank reads as 0; text that is no number (e.g. asterisks) throws.
double decodeNumber(QByteArrayView raw, const FieldDef& f, const QString& file);
QByteArray encodeDate(const QDate& d);
QDate decodeDate(QByteArrayView raw, const FieldDef& f, const QString& file);
QByteArray encodeLogical(bool b);
bool decodeLogical(QByteArrayView raw);

}  // namespace korvan::dbf
