#pragma once

#include <QtCore/QString>
#include <string>
#include <string_view>

namespace chimewell {

// The core keeps text as UTF-8 in standard strings; the windows keep QString.
inline QString toQ(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string toStd(const QString& text)
{
    return text.toStdString();
}

} // namespace chimewell
