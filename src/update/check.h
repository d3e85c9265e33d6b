#pragma once
// Checks of the self-update that hold no state and show nothing: the CRC-32
// of a file (IEEE 802.3, as zlib computes it), the line of a check file
// (".sfv") for one name, the version rule and the file-time rules.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

namespace korvan {

// The CRC-32 of the bytes as 8 upper-case hexadecimal digits ("123456789" ->
// "CBF43926", nothing -> "00000000").
QString CRC32_HEX(const QByteArray& bytes);
// The CRC-32 of the whole file in that form; nothing when it cannot be read.
std::optional<QString> CRC32_FAJLA(const QString& path);

// The CRC text that the check file's content gives for name: the rest of the
// first line (lines end at CR LF) whose text before its first blank is
// exactly name, after that blank. Nothing when no line names it.
std::optional<QString> SFV_CRC(const QByteArray& sfv, const QString& name);

// True when the first L bytes of the server's version text (L = the running
// version's length) compare greater, byte by byte, than the running version.
bool JE_NOVIJA_VERZIJA(const QString& serverText, const QString& running);

// True when the two "hh:mm:ss" times are exactly one hour apart, either way.
bool TACNO_SAT(const QString& t1, const QString& t2);
// Two hours added to an "hh:mm:ss" time, past 23 from 00 again (the date is
// not moved).
QString GMT2CET(const QString& time);
// The waiting copy (date, "hh:mm:ss") is newer than the running one: an
// earlier running date, or the same date, an earlier running time and not
// exactly one hour apart.
bool NOVIJI_FAJL(const QDate& runningDate, const QString& runningTime, const QDate& waitingDate,
                 const QString& waitingTime);

}  // namespace korvan
