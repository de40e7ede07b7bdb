#pragma once
// Text between the cores (std::string, UTF-8) and the windows (QString).

#include <QString>
#include <string>

namespace platform {

/// A core text as the windows show it.
inline QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

/// A window's text as the cores take it.
inline std::string S(const QString& text) {
    return text.toStdString();
}

}  // namespace platform
