#pragma once
// The program's message boxes. Every failure is reported through MSG, which
// returns false so that a caller can return it in turn.
#include <QString>

namespace korvan {

bool MSG(const QString& text);        // "Upozorenje", critical icon; always false
void MSGSTOP(const QString& text);    // the box behind MSG
void MSGINFO(const QString& text);    // "Obaveštenje", information icon
bool MSGYESNO(const QString& text);   // "Pitanje", Yes default; No, Esc and close give false
int MSGYESNOCANCEL(const QString& text);  // 16384 Yes, 65536 No, 4194304 Cancel

QString ERR_LOCK();  // "Slog je zaključan !"
QString ERR_ADD();   // "Ne može se dodati slog !"

}  // namespace korvan
