// printf's "%.*f" by integer arithmetic: value = m 2^e exactly, so m 10^d 2^e rounded to an integer is the
// rounded number without its point; 128 bits hold m 10^d for d <= 17 and a 64-bit result covers every value
// below 9e18 / 10^d. Larger values, infinities and NaN go to printf itself.
#include "camdesign/number_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

namespace {

constexpr int MAX_DECIMALS = 17;
constexpr uint64_t POWERS_OF_TEN[MAX_DECIMALS + 1] = {
    1ULL,          10ULL,          100ULL,          1000ULL,          10000ULL,          100000ULL,
    1000000ULL,    10000000ULL,    100000000ULL,    1000000000ULL,    10000000000ULL,    100000000000ULL,
    1000000000000ULL, 10000000000000ULL, 100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL,
    100000000000000000ULL};
// Values below this times 10^-d give a rounded integer that fits 63 bits.
constexpr double FAST_LIMIT = 9e18;

std::string printed(double value, int decimals)
{
    const int length = std::snprintf(nullptr, 0, "%.*f", decimals, value);
    std::string text(static_cast<size_t>(length), '\0');
    std::snprintf(text.data(), text.size() + 1, "%.*f", decimals, value);
    return text;
}

} // namespace

std::optional<FixedDecimal> fixedDecimal(double value, int decimals)
{
    if (decimals < 0 || decimals > MAX_DECIMALS || !(std::fabs(value) < FAST_LIMIT / POWERS_OF_TEN[decimals]))
        return std::nullopt;

    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7ff);
    const uint64_t fraction = bits & ((1ULL << 52) - 1);
    const uint64_t m = biased == 0 ? fraction : fraction | (1ULL << 52);
    const int e = biased == 0 ? -1074 : biased - 1075;

    const unsigned __int128 scaled = static_cast<unsigned __int128>(m) * POWERS_OF_TEN[decimals];
    uint64_t q;
    if (e >= 0) {
        q = static_cast<uint64_t>(scaled << e);
    } else if (-e >= 128) {
        q = 0;   // below 2^-75: rounds to zero at any allowed number of places
    } else {
        const int shift = -e;
        const unsigned __int128 whole = scaled >> shift;
        const unsigned __int128 rest = scaled - (whole << shift);
        const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
        q = static_cast<uint64_t>(whole);
        if (rest > half || (rest == half && (q & 1)))
            q++;
    }
    return FixedDecimal{std::signbit(value), q};
}

std::string fixedDecimalText(FixedDecimal number, int decimals)
{
    // The digits from the last, at least decimals + 1 of them, the point before the last `decimals`.
    char text[48];
    char* const end = text + sizeof text;
    char* first = end;
    int written = 0;
    uint64_t q = number.digits;
    do {
        *--first = static_cast<char>('0' + q % 10);
        q /= 10;
        if (++written == decimals)
            *--first = '.';
    } while (q != 0 || written <= decimals);
    if (number.negative)
        *--first = '-';
    return std::string(first, end);
}

std::string fixedText(double value, int decimals)
{
    const std::optional<FixedDecimal> number = fixedDecimal(value, decimals);
    return number ? fixedDecimalText(*number, decimals) : printed(value, decimals);
}
