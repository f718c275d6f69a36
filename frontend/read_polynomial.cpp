#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "frontend/ending.h"
#include "frontend/frontend.h"

namespace {

// Exponents from here on end the run as exhausted memory, when their term is complete.
constexpr std::int64_t kExponentLimit = std::int64_t{1} << 30;

// Reads one line character by character. A term is complete (committed) at the sign that follows
// it or at the line feed; its coefficient and exponent are stored then. The terms are kept in the
// order they were typed, so the cost follows the length of the line, not the degree.
class LineReader {
public:
    LineReader(std::FILE* in, std::int64_t p) : in_(in), p_(p) {}

    Poly read()
    {
        int c = std::getc(in_);
        if (c == '\n')
            reject();
        for (; c != '\n'; c = std::getc(in_))
            take(c);
        if (!seen_term_)
            reject();
        commit();
        return build();
    }

private:
    [[noreturn]] void reject() { throw RunEnding{EXIT_BAD_POLYNOMIAL}; }

    void take(int c)
    {
        if (c == ' ' || c == '\t') {
            // A blank after a number (not after a sign, not while an x waits for its exponent)
            // must not be followed by another digit.
            if (!plus_pending_ && !minus_pending_ && !x_awaits_exponent_)
                gap_ = true;
            caret_open_ = false;
        } else if (c >= '0' && c <= '9') {
            digit(c - '0');
        } else if (c == 'x') {
            // A term that starts with x, or whose typed coefficient is still 0, has coefficient ±1.
            if (coef_ == 0)
                coef_ = minus_pending_ || negative_term_ ? -1 : 1;
            plus_pending_ = minus_pending_ = false;
            seen_term_ = x_awaits_exponent_ = true;
        } else if (c == '^') {
            if (!x_awaits_exponent_)
                reject();
            gap_ = in_coefficient_ = false;
            caret_open_ = true;
        } else if (c == '+' || c == '-') {
            if (caret_open_ || plus_pending_ || minus_pending_)
                reject();
            (c == '+' ? plus_pending_ : minus_pending_) = true;
            gap_ = false;
            if (seen_term_)
                commit();
        } else {
            reject();  // any other character, end of input included
        }
    }

    void digit(int d)
    {
        if (gap_)
            reject();
        if (in_coefficient_) {
            seen_term_ = true;
            // The term remembers a minus that meets leading zeros, so '-05x' stays negative.
            if (minus_pending_)
                negative_term_ = true;
            plus_pending_ = minus_pending_ = false;
            if (coef_ == 0)
                coef_ = negative_term_ ? -d : d;
            else
                coef_ = coef_ > 0 ? coef_ * 10 + d : coef_ * 10 - d;
            if (coef_ > INT32_MAX || coef_ < INT32_MIN)
                reject();
        } else {
            if (!caret_open_)
                reject();
            exp_ = exp_ * 10 + d;
            if (exp_ > INT32_MAX)
                reject();
            x_awaits_exponent_ = false;  // the exponent has digits: x^0 stays exponent 0
        }
    }

    void commit()
    {
        // x alone, or x^ without digits. A second x in a term sets the flag again but keeps the
        // exponent digits typed before it: 'x^7 x' stays x^7, while 'x^0 x' becomes x.
        if (x_awaits_exponent_ && exp_ == 0)
            exp_ = 1;
        if (exp_ >= kExponentLimit)
            throw RunEnding{EXIT_NO_MEMORY};
        typed_.push_back(Term{exp_, coef_});
        coef_ = exp_ = 0;
        x_awaits_exponent_ = caret_open_ = gap_ = negative_term_ = false;
        in_coefficient_ = true;
    }

    // Ascending exponents; of terms with the same exponent the one typed last counts.
    Poly build()
    {
        std::stable_sort(typed_.begin(), typed_.end(),
                         [](const Term& a, const Term& b) { return a.exponent < b.exponent; });
        Poly f;
        for (std::size_t i = 0; i < typed_.size(); ++i) {
            if (i + 1 < typed_.size() && typed_[i + 1].exponent == typed_[i].exponent)
                continue;
            const Coef v = p_ != 0 ? coef_reduce(typed_[i].coefficient, p_) : typed_[i].coefficient;
            if (v != 0)
                f.terms.push_back(Term{typed_[i].exponent, v});
        }
        return f;
    }

    std::FILE* in_;
    std::int64_t p_;
    std::vector<Term> typed_;  // the committed terms, in the order they were typed
    // The term being read:
    std::int64_t coef_ = 0;           // its coefficient so far (0: none typed yet)
    std::int64_t exp_ = 0;            // its exponent so far
    bool negative_term_ = false;      // a minus met the coefficient's leading zeros
    bool x_awaits_exponent_ = false;  // it has an x and no exponent digit yet
    bool caret_open_ = false;         // a '^' was read and no blank since: exponent digits may follow
    bool in_coefficient_ = true;      // digits extend the coefficient (no '^' read yet)
    bool gap_ = false;                // a blank followed a number: another digit is refused
    // Between terms:
    bool plus_pending_ = false;   // a '+' was read and its term has not started
    bool minus_pending_ = false;  // a '-' was read and its term has not started
    bool seen_term_ = false;      // the line holds a term: a sign commits the term before it
};

}  // namespace

Poly read_polynomial(std::FILE* in, std::int64_t p)
{
    std::fputs("\nZadajte polynom v tvare: coefx^deg + coefx^deg ... (napr. x^3 + 3x^2 - 5x + 7)\n", stdout);
    flush_output();
    return LineReader(in, p).read();
}
