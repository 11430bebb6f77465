#pragma once

// The Windows locale item numbers (LCTYPE) that SystemInfoService::localeInfo answers, under
// their Windows names. Text items start with S, numeric items (answered as decimal text) with I.

#include <cstdint>

namespace platform {

constexpr std::uint32_t LOCALE_USER_DEFAULT = 0x400;
constexpr std::uint32_t LOCALE_SYSTEM_DEFAULT = 0x800;

constexpr std::uint32_t LOCALE_ILANGUAGE = 0x01;
constexpr std::uint32_t LOCALE_SLANGUAGE = 0x02;
constexpr std::uint32_t LOCALE_SABBREVLANGNAME = 0x03;
constexpr std::uint32_t LOCALE_SNATIVELANGNAME = 0x04;
constexpr std::uint32_t LOCALE_ICOUNTRY = 0x05;
constexpr std::uint32_t LOCALE_SCOUNTRY = 0x06;
constexpr std::uint32_t LOCALE_SABBREVCTRYNAME = 0x07;
constexpr std::uint32_t LOCALE_SNATIVECTRYNAME = 0x08;
constexpr std::uint32_t LOCALE_IDEFAULTLANGUAGE = 0x09;
constexpr std::uint32_t LOCALE_IDEFAULTCOUNTRY = 0x0A;
constexpr std::uint32_t LOCALE_IDEFAULTCODEPAGE = 0x0B;
constexpr std::uint32_t LOCALE_SLIST = 0x0C;
constexpr std::uint32_t LOCALE_IMEASURE = 0x0D;
constexpr std::uint32_t LOCALE_SDECIMAL = 0x0E;
constexpr std::uint32_t LOCALE_STHOUSAND = 0x0F;
constexpr std::uint32_t LOCALE_SGROUPING = 0x10;
constexpr std::uint32_t LOCALE_IDIGITS = 0x11;
constexpr std::uint32_t LOCALE_ILZERO = 0x12;
constexpr std::uint32_t LOCALE_SNATIVEDIGITS = 0x13;
constexpr std::uint32_t LOCALE_SCURRENCY = 0x14;
constexpr std::uint32_t LOCALE_SINTLSYMBOL = 0x15;
constexpr std::uint32_t LOCALE_SMONDECIMALSEP = 0x16;
constexpr std::uint32_t LOCALE_SMONTHOUSANDSEP = 0x17;
constexpr std::uint32_t LOCALE_SMONGROUPING = 0x18;
constexpr std::uint32_t LOCALE_ICURRDIGITS = 0x19;
constexpr std::uint32_t LOCALE_IINTLCURRDIGITS = 0x1A;
constexpr std::uint32_t LOCALE_ICURRENCY = 0x1B;
constexpr std::uint32_t LOCALE_INEGCURR = 0x1C;
constexpr std::uint32_t LOCALE_SDATE = 0x1D;
constexpr std::uint32_t LOCALE_STIME = 0x1E;
constexpr std::uint32_t LOCALE_SSHORTDATE = 0x1F;
constexpr std::uint32_t LOCALE_SLONGDATE = 0x20;
constexpr std::uint32_t LOCALE_IDATE = 0x21;
constexpr std::uint32_t LOCALE_ILDATE = 0x22;
constexpr std::uint32_t LOCALE_ITIME = 0x23;
constexpr std::uint32_t LOCALE_ICENTURY = 0x24;
constexpr std::uint32_t LOCALE_SENGLANGUAGE = 0x1001;
constexpr std::uint32_t LOCALE_SENGCOUNTRY = 0x1002;
constexpr std::uint32_t LOCALE_STIMEFORMAT = 0x1003;

} // namespace platform
