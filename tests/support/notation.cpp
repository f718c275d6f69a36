#include "support/notation.h"

#include <cctype>
#include <map>
#include <stdexcept>

Poly P(const std::string& text)
{
    std::map<Exponent, Coef> terms;
    std::size_t i = 0;
    const auto skip_blanks = [&] {
        while (i < text.size() && text[i] == ' ')
            ++i;
    };
    const auto number = [&]() -> Coef {
        const std::size_t start = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        return std::stoll(text.substr(start, i - start));
    };
    skip_blanks();
    while (i < text.size()) {
        Coef sign = 1;
        if (text[i] == '+' || text[i] == '-') {
            sign = text[i] == '-' ? -1 : 1;
            ++i;
            skip_blanks();
        }
        Coef coefficient = 1;
        bool has_coefficient = false;
        if (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            coefficient = number();
            has_coefficient = true;
        }
        Exponent exponent = 0;
        if (i < text.size() && text[i] == 'x') {
            ++i;
            exponent = 1;
            if (i < text.size() && text[i] == '^') {
                ++i;
                exponent = number();
            }
        } else if (!has_coefficient) {
            throw std::invalid_argument("bad polynomial in a test: " + text);
        }
        terms[exponent] += sign * coefficient;
        skip_blanks();
    }
    Poly f;
    for (const auto& [e, c] : terms)
        if (c != 0)
            f.terms.push_back(Term{e, c});
    return f;
}

Poly poly_of(const std::vector<Coef>& dense, std::int64_t p)
{
    Poly f;
    for (std::size_t i = 0; i < dense.size(); ++i)
        if (const Coef c = p != 0 ? coef_reduce(dense[i], p) : dense[i]; c != 0)
            f.terms.push_back(Term{static_cast<Exponent>(i), c});
    return f;
}

namespace {

// One term of the notation, highest first: the sign, the magnitude unless it is a 1 before x, x^e.
void show_term(std::string& out, bool first, bool negative, const std::string& magnitude, Exponent e)
{
    if (first)
        out += negative ? "-" : "";
    else
        out += negative ? " - " : " + ";
    if (magnitude != "1" || e == 0)
        out += magnitude;
    if (e >= 1)
        out += "x";
    if (e >= 2) {
        out += '^';
        out += std::to_string(e);
    }
}

}  // namespace

std::string show(const Poly& f)
{
    if (f.terms.empty())
        return "0";
    std::string out;
    for (auto it = f.terms.rbegin(); it != f.terms.rend(); ++it) {
        const Coef c = it->coefficient;
        show_term(out, it == f.terms.rbegin(), c < 0, std::to_string(c < 0 ? -c : c), it->exponent);
    }
    return out;
}

std::string show(const DecimalPoly& f)
{
    if (f.terms.empty())
        return "0";
    std::string out;
    for (auto it = f.terms.rbegin(); it != f.terms.rend(); ++it) {
        const bool negative = it->coefficient[0] == '-';
        show_term(out, it == f.terms.rbegin(), negative, it->coefficient.substr(negative ? 1 : 0), it->exponent);
    }
    return out;
}
