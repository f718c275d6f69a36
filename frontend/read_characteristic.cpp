#include <cctype>
#include <cstdint>
#include <cstdio>

#include "frontend/ending.h"
#include "frontend/frontend.h"

namespace {

bool is_prime(std::int64_t n)
{
    if (n < 2)
        return false;
    for (std::int64_t d = 2; d * d <= n; ++d)
        if (n % d == 0)
            return false;
    return true;
}

// The reading of scanf "%d": white space skipped, an optional sign, decimal digits, the first
// character that cannot continue the number left unread. Every digit is consumed even when the
// value leaves 32 bits; such a value is reported as not representable.
bool scan_integer(std::FILE* in, std::int64_t& value, bool& representable)
{
    int c = std::getc(in);
    while (c != EOF && std::isspace(c))
        c = std::getc(in);
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = std::getc(in);
    }
    if (c == EOF || !std::isdigit(c)) {
        if (c != EOF)
            std::ungetc(c, in);
        return false;
    }
    value = 0;
    representable = true;
    for (; c != EOF && std::isdigit(c); c = std::getc(in)) {
        if (representable)
            value = value * 10 + (c - '0');
        if (value > std::int64_t{INT32_MAX} + 1)
            representable = false;
    }
    if (c != EOF)
        std::ungetc(c, in);
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        representable = false;
    return true;
}

}  // namespace

std::int64_t read_characteristic(std::FILE* in)
{
    std::fputs("Zadajte charakteristiku telesa:\n", stdout);
    std::fputs("\t0 pre pocitanie v Z\n\tp pre pocitanie v Zp\n", stdout);
    flush_output();
    std::int64_t p = 0;
    bool representable = false;
    const bool converted = scan_integer(in, p, representable);
    (void)std::getc(in);  // the character after the number, normally its line feed
    // Arithmetic modulo p is a field only for a prime p.
    if (!converted || !representable || (p != 0 && !is_prime(p)))
        throw RunEnding{EXIT_BAD_CHARACTERISTIC};
    return p;
}
