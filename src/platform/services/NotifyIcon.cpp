#include "NotifyIcon.h"

#include <QtEndian>

namespace platform {

namespace {
constexpr int kFieldBytes = 6 * 4;
}

QByteArray NOTIFYICONDATA::toBytes() const
{
    QByteArray bytes(PassedSize, '\0');
    char *out = bytes.data();
    for (std::int32_t field : {cbSize, hWnd, uID, uFlags, uCallbackMessage, hIcon}) {
        qToLittleEndian<std::int32_t>(field, out);
        out += 4;
    }
    const QString tip = szTip.left(TipLength).leftJustified(TipLength, QLatin1Char(' '));
    for (QChar c : tip)
        *out++ = c.unicode() < 0x100 ? static_cast<char>(c.unicode()) : '?';
    return bytes;
}

std::optional<NOTIFYICONDATA> NOTIFYICONDATA::fromBytes(const QByteArray &bytes)
{
    if (bytes.size() < kFieldBytes)
        return std::nullopt;
    NOTIFYICONDATA r;
    const char *in = bytes.constData();
    std::int32_t *fields[] = {&r.cbSize, &r.hWnd, &r.uID, &r.uFlags, &r.uCallbackMessage, &r.hIcon};
    for (std::int32_t *field : fields) {
        *field = qFromLittleEndian<std::int32_t>(in);
        in += 4;
    }
    const qsizetype end = std::min<qsizetype>(bytes.size(), std::max(r.cbSize, kFieldBytes));
    QByteArray tip = bytes.mid(kFieldBytes, end - kFieldBytes);
    const qsizetype zero = tip.indexOf('\0');
    if (zero >= 0)
        tip.truncate(zero);
    r.szTip = QString::fromLatin1(tip);
    return r;
}

} // namespace platform
