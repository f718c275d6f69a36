#include <cstdint>
#include <cstdio>
#include <vector>

#include "frontend/fatal.h"
#include "frontend/frontend.h"

namespace {

constexpr std::size_t kInitialCapacity = 128;
constexpr std::int64_t kMaxCapacity = std::int64_t{1} << 30;

// The state of one line; every field starts as for a fresh line.
class LineReader {
public:
    LineReader(std::FILE* in, std::int64_t p) : in_(in), p_(p), dense_(kInitialCapacity, 0) {}

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
    [[noreturn]] void reject() { fatal_exit(EXIT_BAD_POLYNOMIAL, in_); }

    void take(int c)
    {
        if (c == ' ' || c == '\t') {
            if (!plus_pending_ && !minus_pending_ && !has_x_)
                gap_ = true;
            caret_open_ = false;
        } else if (c >= '0' && c <= '9') {
            digit(c - '0');
        } else if (c == 'x') {
            // A term that starts with x, or whose typed coefficient is still 0, has coefficient ±1.
            if (coef_ == 0)
                coef_ = minus_pending_ || negative_term_ ? -1 : 1;
            plus_pending_ = minus_pending_ = false;
            seen_term_ = has_x_ = true;
        } else if (c == '^') {
            if (!has_x_)
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
            has_x_ = false;
        }
    }

    void commit()
    {
        if (has_x_ && exp_ == 0)
            exp_ = 1;
        if (exp_ >= static_cast<std::int64_t>(dense_.size())) {
            if (exp_ >= kMaxCapacity)
                fatal_exit(EXIT_NO_MEMORY, in_);
            std::size_t capacity = dense_.size();
            while (static_cast<std::int64_t>(capacity) <= exp_)
                capacity *= 2;
            dense_.resize(capacity, 0);
        }
        // A later term with the same exponent replaces the earlier one.
        dense_[static_cast<std::size_t>(exp_)] = static_cast<std::int32_t>(coef_);
        if (exp_ > max_exp_)
            max_exp_ = exp_;
        coef_ = exp_ = 0;
        has_x_ = caret_open_ = gap_ = negative_term_ = false;
        in_coefficient_ = true;
    }

    Poly build() const
    {
        Poly f;
        for (std::int64_t e = 0; e <= max_exp_; ++e) {
            Coef v = dense_[static_cast<std::size_t>(e)];
            if (p_ != 0)
                v = coef_reduce(v, p_);
            if (v != 0)
                f.terms.push_back(Term{e, v});
        }
        return f;
    }

    std::FILE* in_;
    std::int64_t p_;
    std::vector<std::int32_t> dense_;  // coefficient by exponent
    std::int64_t coef_ = 0;
    std::int64_t exp_ = 0;
    std::int64_t max_exp_ = 0;
    bool plus_pending_ = false;
    bool minus_pending_ = false;
    bool negative_term_ = false;
    bool has_x_ = false;
    bool caret_open_ = false;
    bool in_coefficient_ = true;
    bool gap_ = false;
    bool seen_term_ = false;
};

}  // namespace

Poly read_polynomial(std::FILE* in, std::int64_t p)
{
    std::fputs("\nZadajte polynom v tvare: coefx^deg + coefx^deg ... (napr. x^3 + 3x^2 - 5x + 7)\n", stdout);
    std::fflush(stdout);
    return LineReader(in, p).read();
}
