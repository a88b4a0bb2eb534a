#pragma once
// Readable failure messages for the toolkit's strings and geometry, found by GoogleTest by name.
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* out)
{
    *out << '[' << list.join(QStringLiteral(", ")).toStdString() << ']';
}

inline std::ostream& operator<<(std::ostream& out, const QSize& size)
{
    return out << size.width() << 'x' << size.height();
}

inline std::ostream& operator<<(std::ostream& out, const QRect& rect)
{
    return out << rect.width() << 'x' << rect.height() << '+' << rect.x() << '+' << rect.y();
}

inline void PrintTo(const QSize& size, std::ostream* out)
{
    *out << size;
}

inline void PrintTo(const QRect& rect, std::ostream* out)
{
    *out << rect;
}
