#pragma once
// An amount in Serbian words, as written on the printed invoice.
#include <QString>

namespace korvan {

// "JEDNAHILJADADVESTOTRIDESETČETIRI dinara 56/100" for 1234.56. The words are
// capitals written together; then, unless noCurrency, the currency word
// ("dinar"/"dinara", or the code of a foreign currency) and the cents.
// A negative amount is spelled like its absolute value. Whole parts of a
// trillion or more have no group words: they are written as digits.
QString SLOVIMA(double amount, bool foreign = false, const QString& currency = QStringLiteral("EUR"),
                bool noCurrency = false);

}  // namespace korvan
