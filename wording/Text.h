#pragma once

// The core keeps its texts in UTF-16 so that one sign is one character; Qt's strings are UTF-16
// too. These two are the only crossing between them.

#include <QString>
#include <string>
#include <string_view>

namespace sumvarl {

QString ToQString(std::u16string_view text);
std::u16string ToU16(const QString& text);

} // namespace sumvarl
