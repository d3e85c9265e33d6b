#pragma once
// The e-invoice system's status words in the program's language.
#include <QString>

namespace korvan {

// "Cancelled", "Rejected", "Sent", "Seen" and "Approved" (compared exactly,
// case and length) become their Serbian texts; any other word comes back as
// it is.
QString EFM_PREVEDI_STATUS(const QString& status);

}  // namespace korvan
