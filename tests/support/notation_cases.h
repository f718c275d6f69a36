// Polynomial lines and what the reader makes of them: one table for the reader's unit tests and
// for the dialogue tests, which see the same terms in the program's echo.
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

struct AcceptedLine {
    const char* text;   // without its line feed
    std::int64_t p;     // the characteristic it is read with
    const char* terms;  // the terms as read, ascending: "{exponent, coefficient} ..."
};

inline void PrintTo(const AcceptedLine& line, std::ostream* os)
{
    *os << '\'' << line.text << "' modulo " << line.p;
}

inline const std::vector<AcceptedLine> kAcceptedLines = {
    {"x^3 + 3x^2 - 5x + 7", 0, "{0, 7} {1, -5} {2, 3} {3, 1} "},
    {"-x", 0, "{1, -1} "},
    {"7", 0, "{0, 7} "},
    {"x^0", 0, "{0, 1} "},
    {"+5", 0, "{0, 5} "},
    {"- 3 x", 0, "{1, -3} "},
    {"- 3 x", 7, "{1, 4} "},
    {"3 x^2", 0, "{2, 3} "},
    {"x ^2", 0, "{2, 1} "},
    {"7 + x^3", 0, "{0, 7} {3, 1} "},
    {"x^2 + 5x^2", 0, "{2, 5} "},  // a later term with the same exponent replaces the earlier one
    {"x^2 + 3 - 3", 0, "{0, -3} {2, 1} "},
    {"x^2 +", 0, "{2, 1} "},
    {"x^2 + 3 +", 0, "{2, 1} "},  // a trailing sign stores 0 at exponent 0
    {"x^", 0, "{1, 1} "},
    {"0", 0, ""},
    {"0x^2", 0, "{2, 1} "},  // a coefficient that is 0 when x is read counts as absent
    {"2x3", 0, "{1, 23} "},
    {"2x 3", 0, "{1, 23} "},
    {"x2", 0, "{1, 12} "},
    {"x3 4", 0, "{1, 134} "},
    {"x^2 x^3", 0, "{23, 1} "},
    {"x^5 x^22", 0, "{522, 1} "},
    {"x x", 0, "{1, 1} "},
    // A second x gives the exponent 1 only to a term whose exponent is still 0.
    {"x^7 x", 0, "{7, 1} "},
    {"x^0 x", 0, "{1, 1} "},
    {"x^2 x + x", 0, "{1, 1} {2, 1} "},
    {"1x - 06x^ + x^7 x", 0, "{1, -6} {7, 1} "},
    {"1x - 06x^ + x^7 x", 3, "{7, 1} "},
    {"- 0002x^35 x+ 4x - 3", 0, "{0, -3} {1, 4} {35, -2} "},
    {"3xx", 0, "{1, 3} "},
    {" x", 0, "{1, 1} "},
    {" -5", 0, "{0, -5} "},
    {"x^200 + 1", 0, "{0, 1} {200, 1} "},
    {"3x+1", 0, "{0, 1} {1, 3} "},
    {"2+3x", 0, "{0, 2} {1, 3} "},
    {"x^2 +1", 0, "{0, 1} {2, 1} "},
    {"x\t+\t1 ", 0, "{0, 1} {1, 1} "},
    {"7x^2 - 1", 5, "{0, 4} {2, 2} "},
    {"5x + 1", 5, "{0, 1} "},
    {"5x", 5, ""},
    {"-12x^2", 7, "{2, 2} "},
    {"-35", 0, "{0, -35} "},
    {"-x3", 0, "{1, -13} "},
    {"-05x", 0, "{1, -5} "},  // a minus is kept across leading zeros
    {"-05x", 101, "{1, 96} "},
    {"-0x", 0, "{1, -1} "},
    {"-0", 0, ""},
    {"-0 + x", 0, "{1, 1} "},
    {"-0x^2 + 1", 0, "{0, 1} {2, -1} "},
    {"-00012", 0, "{0, -12} "},
    {"x^129 + x^128 + x^127", 0, "{127, 1} {128, 1} {129, 1} "},
    {"x^1000 + x^0999", 0, "{999, 1} {1000, 1} "},
    {"2147483647 - 2147483648x", 0, "{0, 2147483647} {1, -2147483648} "},
    {"-2147483648", 2147483647, "{0, 2147483646} "},
};

// Lines that break the notation at one of their characters (used with their line feed).
inline const std::vector<const char*> kRejectedLines = {
    "", "   ", "-", "3 4", " 5", "x^ 2", "x^2^3", "^2", "3^2", "x + + 1", "x +- 1", "+ -1", "x^-2", "x^2+1",
    "x^2 3", "2X", "2*x", "x y", "2 x3", " x2", "-0 5", "x^2 + 1\r",
    // numbers typed outside 32 bits end at the digit that leaves the range
    "2147483648x", "-2147483649x", "x^2147483648", "x^99999999999 + 1",
};
