#include "CaseInsensitive.h"

#include <QChar>

#include <cstdint>

namespace vb {

std::size_t CaseInsensitiveHash::operator()(QStringView key) const
{
    std::uint64_t h = 14695981039346656037ull; // FNV-1a over the folded units
    for (const QChar c : key) {
        char32_t unit = c.unicode();
        if (unit < 0x80) {
            if (unit >= 'A' && unit <= 'Z')
                unit += 'a' - 'A';
        } else if (c.isSurrogate()) {
            unit = 0xD800;
        } else {
            unit = QChar::toCaseFolded(unit);
        }
        h = (h ^ unit) * 1099511628211ull;
    }
    return static_cast<std::size_t>(h);
}

} // namespace vb
