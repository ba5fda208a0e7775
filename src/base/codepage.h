#pragma once
// The single-byte code page of texts on the wire and in parameter files:
// Windows-1252 (Latin-1 with printable characters in 0x80..0x9F). One byte
// is one character; a character the code page lacks becomes "?".

#include <QByteArray>
#include <QChar>
#include <QString>

#include <cstdint>

namespace rbx14 {

QChar CharFromCodePage(std::uint8_t byte);

// The byte of a character, or '?' when the code page has no such character.
std::uint8_t CodePageByte(QChar c);

QString FromCodePage(const QByteArray& bytes);
QByteArray ToCodePage(const QString& text);

}  // namespace rbx14
