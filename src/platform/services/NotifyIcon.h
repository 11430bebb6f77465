#pragma once

// The tray icon record as the program declares it, and the numbers that go with it.
//
// Passed form (toBytes): the six 32-bit fields little-endian, then the tip as 22 single-byte
// characters: 46 bytes, the size the record's cbSize names. The bytes are followed by a zero
// byte (QByteArray keeps one after its data), as the record's conversion for the call leaves one
// after the tip.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace platform {

// Shell_NotifyIconA messages.
constexpr std::uint32_t NIM_ADD = 0;
constexpr std::uint32_t NIM_MODIFY = 1;
constexpr std::uint32_t NIM_DELETE = 2;

// uFlags: which of the record's fields are valid.
constexpr std::int32_t NIF_MESSAGE = 1;
constexpr std::int32_t NIF_ICON = 2;
constexpr std::int32_t NIF_TIP = 4;

// The mouse messages a tray icon sends back as its callback's lParam.
namespace wm {
constexpr std::int32_t MOUSEMOVE = 0x200;
constexpr std::int32_t LBUTTONDOWN = 0x201;
constexpr std::int32_t LBUTTONUP = 0x202;
constexpr std::int32_t LBUTTONDBLCLK = 0x203;
constexpr std::int32_t RBUTTONDOWN = 0x204;
constexpr std::int32_t RBUTTONUP = 0x205;
constexpr std::int32_t RBUTTONDBLCLK = 0x206;
constexpr std::int32_t MBUTTONDOWN = 0x207;
constexpr std::int32_t MBUTTONUP = 0x208;
constexpr std::int32_t MBUTTONDBLCLK = 0x209;
} // namespace wm

struct NOTIFYICONDATA
{
    static constexpr int TipLength = 22;
    static constexpr int PassedSize = 6 * 4 + TipLength; // 46

    // All zero until filled, as the runtime makes a record.
    std::int32_t cbSize = 0;
    std::int32_t hWnd = 0;
    std::int32_t uID = 0;
    std::int32_t uFlags = 0;
    std::int32_t uCallbackMessage = 0;
    std::int32_t hIcon = 0;
    // A fixed-length field of TipLength characters: a shorter text is passed padded with
    // blanks, a longer one cut; it starts as TipLength zero characters.
    QString szTip = QString(TipLength, QChar(0));

    // The 46 passed bytes. A character that has no single-byte form goes as '?'.
    QByteArray toBytes() const;
    // Reads a passed record: the six fields, and as tip the bytes after them up to the record's
    // cbSize (or the end of the bytes, whichever comes first), ending at a zero byte. Nothing
    // when there are fewer bytes than the six fields.
    static std::optional<NOTIFYICONDATA> fromBytes(const QByteArray &bytes);
};

} // namespace platform
