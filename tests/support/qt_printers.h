#pragma once
// Lets GoogleTest print Qt strings readably in failure messages.

#include <QByteArray>
#include <QString>

#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
  *os << "bytes[" << bytes.toHex(' ').toStdString() << ']';
}
QT_END_NAMESPACE
