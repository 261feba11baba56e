#include "LogDateTime.h"
#include <windows.h>
#include <atomic>
#include <cmath>
#include <cstdint>

namespace HierLog {

namespace {

constexpr int64_t MsPerDay = 86400000;

std::string LocaleText(LCTYPE type) {
    char buffer[256] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, type, buffer, sizeof buffer);
    return length > 1 ? std::string(buffer, length - 1) : std::string();
}

std::string Padded(int value, size_t digits) {
    std::string text = std::to_string(value);
    if (text.size() < digits)
        text.insert(0, digits - text.size(), '0');
    return text;
}

std::string MonthName(int month, bool full) {
    return LocaleText((full ? LOCALE_SMONTHNAME1 : LOCALE_SABBREVMONTHNAME1) + month - 1);
}

std::string DayName(int weekday, bool full) {
    const int index = (weekday + 6) % 7;  // the locale's names start on Monday
    return LocaleText((full ? LOCALE_SDAYNAME1 : LOCALE_SABBREVDAYNAME1) + index);
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The letters of the longest item of a format letter; a longer run of it is several items.
size_t LongestItem(char upper) {
    switch (upper) {
    case 'D':
        return 6;
    case 'M':
    case 'Y':
        return 4;
    case 'Z':
        return 3;
    case 'H':
    case 'N':
    case 'S':
    case 'T':
        return 2;
    default:
        return 1;
    }
}

bool MatchesAt(const std::string& text, size_t at, const char* word) {
    for (size_t k = 0; word[k]; ++k)
        if (at + k >= text.size() || Upper(text[at + k]) != word[k])
            return false;
    return true;
}

// The length of the am/pm designator (ampm, am/pm or a/p, in any letter case) at a position, or 0.
size_t DesignatorAt(const std::string& format, size_t at) {
    if (Upper(format[at]) != 'A')
        return 0;
    if (MatchesAt(format, at, "AMPM"))
        return 4;
    if (MatchesAt(format, at, "AM/PM"))
        return 5;
    if (MatchesAt(format, at, "A/P"))
        return 3;
    return 0;
}

class DateFormatter {
public:
    explicit DateFormatter(TDateTime value) : p(DecodeDateTime(value)), value(value) {}

    void Run(const std::string& format, int depth) {
        // An hour counts from 1 to 12 when a designator stands anywhere after it, quoted or not.
        size_t lastDesignator = std::string::npos;
        for (size_t k = 0; k < format.size(); ++k)
            if (DesignatorAt(format, k) != 0)
                lastDesignator = k;
        size_t i = 0;
        char lastLetter = 0;  // an "m" right after an hour stands for minutes
        while (i < format.size()) {
            const char c = format[i];
            const char u = Upper(c);
            const bool afterHour = lastLetter == 'H';
            if (u >= 'A' && u <= 'Z')
                lastLetter = u;
            size_t run = 1;
            const size_t longest = LongestItem(u);
            while (run < longest && i + run < format.size() && Upper(format[i + run]) == u)
                ++run;
            switch (u) {
            case '\'':
            case '"': {
                const size_t end = format.find(c, i + 1);
                const size_t stop = end == std::string::npos ? format.size() : end;
                out.append(format, i + 1, stop - i - 1);
                i = end == std::string::npos ? format.size() : end + 1;
                continue;
            }
            case 'C':
                Nested(ShortDateFormat(), depth);
                if (std::fmod(value, 1.0) != 0.0) {
                    out += ' ';
                    Nested(LongTimeFormat(), depth);
                }
                break;
            case 'D':
                if (run == 1)
                    out += std::to_string(p.day);
                else if (run == 2)
                    out += Padded(p.day, 2);
                else if (run == 3)
                    out += DayName(p.weekday, false);
                else if (run == 4)
                    out += DayName(p.weekday, true);
                else if (run == 5)
                    Nested(ShortDateFormat(), depth);
                else
                    Nested(LocaleText(LOCALE_SLONGDATE), depth);
                break;
            case 'M':
                if (afterHour && run <= 2)
                    out += run == 1 ? std::to_string(p.minute) : Padded(p.minute, 2);
                else if (run == 1)
                    out += std::to_string(p.month);
                else if (run == 2)
                    out += Padded(p.month, 2);
                else
                    out += MonthName(p.month, run == 4);
                break;
            case 'Y':
                out += run <= 2 ? Padded(p.year % 100, 2) : Padded(p.year, 4);
                break;
            case 'H': {
                const bool twelve = lastDesignator != std::string::npos && lastDesignator > i;
                const int hour = twelve ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
                out += run == 1 ? std::to_string(hour) : Padded(hour, 2);
                break;
            }
            case 'N':
                out += run == 1 ? std::to_string(p.minute) : Padded(p.minute, 2);
                break;
            case 'S':
                out += run == 1 ? std::to_string(p.second) : Padded(p.second, 2);
                break;
            case 'Z':
                run = run == 3 ? 3 : 1;
                out += run == 1 ? std::to_string(p.ms) : Padded(p.ms, 3);
                break;
            case 'T':
                Nested(run == 1 ? ShortTimeFormat() : LongTimeFormat(), depth);
                break;
            case 'A':
                run = DesignatorAt(format, i);
                if (run == 4) {
                    out += p.hour < 12 ? LocaleText(LOCALE_S1159) : LocaleText(LOCALE_S2359);
                } else if (run == 5) {  // the letters as the format writes them
                    out.append(format, i + (p.hour < 12 ? 0 : 3), 2);
                } else if (run == 3) {
                    out += format[i + (p.hour < 12 ? 0 : 2)];
                } else {
                    out += c;
                    run = 1;
                }
                break;
            case '/':
                out += DateSeparator();
                break;
            case ':':
                out += TimeSeparator();
                break;
            default:
                out += c;
                break;
            }
            i += run;
        }
    }

    std::string out;

private:
    void Nested(const std::string& format, int depth) {
        if (depth < 2)
            Run(format, depth + 1);
    }

    static std::string DateSeparator() { return LocaleText(LOCALE_SDATE); }
    static std::string TimeSeparator() { return LocaleText(LOCALE_STIME); }
    static std::string LongTimeFormat() { return LocaleText(LOCALE_STIMEFORMAT); }
    static std::string ShortTimeFormat() {
        // The long time format without its seconds.
        std::string format = LongTimeFormat();
        const size_t s = format.find_first_of("sS");
        if (s != std::string::npos) {
            size_t cut = s;
            while (cut > 0 && format[cut - 1] != 'm' && format[cut - 1] != 'M')
                --cut;
            size_t end = s;
            while (end < format.size() && (format[end] == 's' || format[end] == 'S'))
                ++end;
            format.erase(cut, end - cut);
        }
        return format;
    }

    TDateTimeParts p;
    TDateTime value;
};

}  // namespace

namespace {

constexpr uint64_t TicksPerMs = 10000;  // 100 ns ticks
constexpr uint64_t TicksPerSecond = 1000 * TicksPerMs;
constexpr int64_t DaysFrom1601To1899 = 109205;

// The system clock in UTC, in ticks since 1601. The precise reading (Windows 8 and later) is the
// same clock; under Wine it costs half the plain one, which is a full system call there.
uint64_t UtcTicks() {
    using Reader = void(WINAPI*)(FILETIME*);
    static const Reader read = [] {
        const FARPROC precise = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime");
        return precise ? reinterpret_cast<Reader>(reinterpret_cast<void*>(precise)) : &GetSystemTimeAsFileTime;
    }();
    FILETIME utc;
    read(&utc);
    return (static_cast<uint64_t>(utc.dwHighDateTime) << 32) | utc.dwLowDateTime;
}

// The local offset in ticks at a UTC reading.
int64_t LocalShift(uint64_t ticks) {
    FILETIME utc, local;
    utc.dwLowDateTime = static_cast<DWORD>(ticks);
    utc.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    FileTimeToLocalFileTime(&utc, &local);
    return static_cast<int64_t>(((static_cast<uint64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime) - ticks);
}

TDateTime DateTimeOf(int64_t days, int64_t msOfDay) {
    return static_cast<double>(days - DaysFrom1601To1899) + static_cast<double>(msOfDay) / MsPerDay;
}

// The UTC second of the last reading with its local day and the millisecond of that day it starts
// at, so that a reading within it needs neither the offset nor a 64-bit division. Rewritten under
// a sequence count, odd meanwhile, by one thread at a time; a reader that sees the count move
// works the reading out in full.
struct SecondOfDay {
    std::atomic<uint32_t> sequence{0};
    std::atomic<uint32_t> fromLow{0}, fromHigh{0};  // UTC ticks at the second's start; 0: none yet
    std::atomic<int32_t> days{0}, msOfDay{0};
    std::atomic<bool> writing{false};
};

SecondOfDay cachedSecond;

bool ReadCached(uint64_t ticks, int32_t& days, int32_t& msOfDay) {
    const uint32_t before = cachedSecond.sequence.load(std::memory_order_acquire);
    if (before & 1)
        return false;
    const uint64_t from = (static_cast<uint64_t>(cachedSecond.fromHigh.load(std::memory_order_relaxed)) << 32) |
                          cachedSecond.fromLow.load(std::memory_order_relaxed);
    days = cachedSecond.days.load(std::memory_order_relaxed);
    const int32_t startMs = cachedSecond.msOfDay.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (cachedSecond.sequence.load(std::memory_order_relaxed) != before || from == 0 || ticks - from >= TicksPerSecond)
        return false;
    msOfDay = startMs + static_cast<int32_t>(static_cast<uint32_t>(ticks - from) / TicksPerMs);
    return true;
}

void Cache(uint64_t from, int32_t days, int32_t msOfDay) {
    if (cachedSecond.writing.exchange(true, std::memory_order_acquire))
        return;
    const uint32_t sequence = cachedSecond.sequence.load(std::memory_order_relaxed);
    cachedSecond.sequence.store(sequence + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    cachedSecond.fromLow.store(static_cast<uint32_t>(from), std::memory_order_relaxed);
    cachedSecond.fromHigh.store(static_cast<uint32_t>(from >> 32), std::memory_order_relaxed);
    cachedSecond.days.store(days, std::memory_order_relaxed);
    cachedSecond.msOfDay.store(msOfDay, std::memory_order_relaxed);
    cachedSecond.sequence.store(sequence + 2, std::memory_order_release);
    cachedSecond.writing.store(false, std::memory_order_release);
}

}  // namespace

TDateTime Now() {
    // The system clock in UTC, moved by the local offset, which is looked up once a second.
    const uint64_t ticks = UtcTicks();
    int32_t days, msOfDay;
    if (ReadCached(ticks, days, msOfDay))
        return DateTimeOf(days, msOfDay);
    const uint64_t from = ticks - ticks % TicksPerSecond;
    const int64_t shift = LocalShift(ticks);
    const int64_t ms = static_cast<int64_t>(ticks + static_cast<uint64_t>(shift)) / static_cast<int64_t>(TicksPerMs);
    const int64_t day = ms / MsPerDay;
    // The second can be cached when the offset is whole milliseconds and its local second stays
    // within one day: then each reading in it is the start's millisecond plus its own.
    const int64_t startMs = static_cast<int64_t>(from + static_cast<uint64_t>(shift)) /
                            static_cast<int64_t>(TicksPerMs);
    const int64_t startDay = startMs / MsPerDay;
    if (shift % static_cast<int64_t>(TicksPerMs) == 0 && startMs - startDay * MsPerDay + 999 < MsPerDay)
        Cache(from, static_cast<int32_t>(startDay), static_cast<int32_t>(startMs - startDay * MsPerDay));
    return DateTimeOf(day, ms - day * MsPerDay);
}

std::string FormatDateTime(const std::string& format, TDateTime value) {
    DateFormatter formatter(value);
    formatter.Run(format.empty() ? std::string("c") : format, 0);
    return formatter.out;
}

std::string ShortDateFormat() {
    return LocaleText(LOCALE_SSHORTDATE);
}

std::string DateTimeToStr(TDateTime value) {
    return FormatDateTime("c", value);
}

}  // namespace HierLog
