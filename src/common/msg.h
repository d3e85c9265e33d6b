#pragma once
// The program's message boxes. Every failure is reported through MSG, which
// returns false so that a caller can return it in turn.
#include <QString>

namespace korvan {

bool MSG(const QString& text);        // "Upozorenje", critical icon; always false
// The box behind MSG. After it is closed, the text goes to the message log
// when MGLOBAL("MSG2LOG") is exactly "T".
void MSGSTOP(const QString& text);
void MSGINFO(const QString& text);    // "Obaveštenje", information icon
bool MSGYESNO(const QString& text);   // "Pitanje", Yes default; No, Esc and close give false
int MSGYESNOCANCEL(const QString& text);  // 16384 Yes, 65536 No, 4194304 Cancel

// Appends "dd.mm.yyyy hh:mm:ss text" and CR LF to "LOG/MSG.TXT" below the
// program folder (the folder is made when missing). A log that cannot be
// written loses the line; nothing is shown.
void PISI_LOG(const QString& text);

QString ERR_LOCK();  // "Slog je zaključan !"
QString ERR_ADD();   // "Ne može se dodati slog !"

}  // namespace korvan
