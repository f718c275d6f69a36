#include "reference/reference_reader.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace {

constexpr int kStatusNoMemory = 1;
constexpr int kStatusBadCharacteristic = 4;
constexpr int kStatusBadPolynomial = 5;

// How a reading ends early: the status, at the character just read.
struct Ending {
    int status;
};

// The end of input, a character of its own that no rule accepts.
constexpr int kEndOfInput = -1;

// The bytes as a stream: every byte read is consumed, the end of input consumes nothing.
class Input {
public:
    explicit Input(std::string_view bytes) : bytes_(bytes) {}

    int read() { return at_ < bytes_.size() ? static_cast<unsigned char>(bytes_[at_++]) : kEndOfInput; }
    int peek() const { return at_ < bytes_.size() ? static_cast<unsigned char>(bytes_[at_]) : kEndOfInput; }
    std::size_t consumed() const { return at_; }

private:
    std::string_view bytes_;
    std::size_t at_ = 0;
};

bool is_digit(int c) { return c >= '0' && c <= '9'; }

// The white space that scanf skips.
bool is_space(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool is_prime(std::int64_t n)
{
    if (n < 2)
        return false;
    for (std::int64_t d = 2; d <= n / d; ++d)
        if (n % d == 0)
            return false;
    return true;
}

// The characteristic: read as scanf "%d" reads (white space, an optional sign, the digits, the
// first character that cannot continue the number left unread), then exactly one character
// discarded, whatever it is and whether or not a number was converted. Only 0 and the primes
// that fit in 32 bits are accepted.
std::int64_t read_characteristic(Input& in)
{
    while (is_space(in.peek()))
        in.read();
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-')
        negative = in.read() == '-';
    const bool converted = is_digit(in.peek());
    // Every digit is read; a magnitude past 32 bits is only remembered as too large.
    constexpr std::int64_t kTooLarge = std::int64_t{1} << 40;
    std::int64_t magnitude = 0;
    while (is_digit(in.peek()))
        magnitude = std::min(magnitude * 10 + (in.read() - '0'), kTooLarge);
    in.read();
    if (!converted)
        throw Ending{kStatusBadCharacteristic};
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value != 0 && !(value <= INT32_MAX && is_prime(value)))
        throw Ending{kStatusBadCharacteristic};
    return value;
}

// The polynomial line, by the reader's rules. The state is the rules' own, under their names; the
// one field they do not have, minus_kept, carries the ruling on a minus that meets leading zeros.
class PolynomialReader {
public:
    PolynomialReader(Input& in, std::int64_t p) : in_(in), p_(p) {}

    std::vector<ReadTerm> read()
    {
        int c = in_.read();
        if (c == '\n')
            reject();
        while (c != '\n') {
            handle(c);
            c = in_.read();
        }
        if (!seen_term)
            reject();
        commit();
        return build();
    }

private:
    [[noreturn]] static void reject() { throw Ending{kStatusBadPolynomial}; }

    // Numbers, coefficients and exponents alike, hold signed 32-bit values: a digit that takes
    // one out of that range is rejected.
    static void check_range(std::int64_t value)
    {
        if (value < INT32_MIN || value > INT32_MAX)
            reject();
    }

    // The rules for one character, in their order.
    void handle(int c)
    {
        if (c == ' ' || c == '\t') {  // 1. blank
            if (!plus_pending && !minus_pending && !has_x)
                gap = true;
            caret_open = false;
        } else if (is_digit(c)) {  // 2. digit
            const int d = c - '0';
            if (gap)
                reject();
            if (in_coefficient) {
                seen_term = true;
                // A minus that met only zeros so far is still the term's sign.
                const bool minus = minus_pending || (minus_kept && cur_coef == 0);
                if (minus_pending)
                    minus_kept = true;
                cur_coef = cur_coef >= 0 ? cur_coef * 10 + d : cur_coef * 10 - d;
                if (minus)
                    cur_coef = -cur_coef;
                check_range(cur_coef);
                minus_pending = false;
                plus_pending = false;
            } else {
                if (!caret_open)
                    reject();
                cur_exp = cur_exp * 10 + d;
                check_range(cur_exp);
                has_x = false;
            }
        } else if (c == 'x') {  // 3. x
            if (cur_coef == 0) {
                cur_coef = minus_pending || minus_kept ? -1 : +1;
                plus_pending = false;
                minus_pending = false;
            }
            seen_term = true;
            has_x = true;
        } else if (c == '^') {  // 4. caret
            if (!has_x)
                reject();
            gap = false;
            in_coefficient = false;
            caret_open = true;
        } else if (c == '+' || c == '-') {  // 5. sign
            if (caret_open || plus_pending || minus_pending)
                reject();
            if (c == '+')
                plus_pending = true;
            else
                minus_pending = true;
            gap = false;
            if (seen_term)
                commit();
        } else {  // 6. anything else, the end of input included
            reject();
        }
    }

    void commit()
    {
        // 1. An x without exponent digits.
        if (has_x && cur_exp == 0)
            cur_exp = 1;
        // 2. The buffer's capacity doubles until it exceeds the exponent; a capacity that no
        // longer fits a signed 32-bit count (an exponent from 2^30 on) is memory the reader
        // cannot have.
        while (cur_exp >= capacity) {
            capacity *= 2;
            if (capacity > INT32_MAX)
                throw Ending{kStatusNoMemory};
        }
        // 3. The store replaces an earlier value at the same exponent.
        buffer[cur_exp] = cur_coef;
        // 4.
        if (cur_exp > max_exp)
            max_exp = cur_exp;
        // 5. The pending signs and seen_term stay.
        cur_coef = 0;
        cur_exp = 0;
        has_x = false;
        caret_open = false;
        gap = false;
        in_coefficient = true;
        minus_kept = false;
    }

    // Exponents 0 to max_exp in ascending order. Every stored exponent is at most max_exp, and
    // those never stored hold 0, which is left out in any case: only the stored ones are visited.
    std::vector<ReadTerm> build() const
    {
        std::vector<ReadTerm> terms;
        for (const auto& [e, stored] : buffer) {
            std::int64_t v = stored;
            if (p_ != 0) {
                v = v % p_;  // the quotient truncated toward zero: the remainder has the sign of v
                if (v < 0)
                    v += p_;
            }
            if (v != 0)
                terms.push_back(ReadTerm{e, v});
        }
        return terms;
    }

    Input& in_;
    const std::int64_t p_;

    // The reader's state, with its start values.
    std::int64_t cur_coef = 0;
    std::int64_t cur_exp = 0;
    bool plus_pending = false;
    bool minus_pending = false;
    bool has_x = false;
    bool caret_open = false;
    bool in_coefficient = true;
    bool gap = false;
    bool seen_term = false;
    std::int64_t max_exp = 0;
    // A coefficient digit met a pending minus: until the commit, the minus gives the term's first
    // non-zero digit, or its x, their sign ('-05x' is -5x, '-0x' is -x).
    bool minus_kept = false;

    // The dense buffer, kept sparsely: exponent -> stored value, every other entry 0 below the
    // capacity.
    std::map<std::int64_t, std::int64_t> buffer;
    std::int64_t capacity = 128;
};

}  // namespace

std::string describe(const ReaderOutcome& outcome)
{
    std::string out = "status " + std::to_string(outcome.status) + " after " + std::to_string(outcome.consumed) +
                      " bytes, characteristic " + std::to_string(outcome.characteristic) + ", terms";
    for (const ReadTerm& t : outcome.terms)
        out += " {" + std::to_string(t.exponent) + ", " + std::to_string(t.coefficient) + "}";
    return out;
}

ReaderOutcome reference_read(std::string_view bytes)
{
    Input in(bytes);
    ReaderOutcome outcome;
    try {
        outcome.characteristic = read_characteristic(in);
        outcome.terms = PolynomialReader(in, outcome.characteristic).read();
    } catch (const Ending& ending) {
        outcome.status = ending.status;
        outcome.terms.clear();
    }
    outcome.consumed = in.consumed();
    return outcome;
}
