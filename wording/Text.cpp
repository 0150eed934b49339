#include "wording/Text.h"

namespace sumvarl {

QString ToQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text)
{
    return text.toStdU16String();
}

} // namespace sumvarl
