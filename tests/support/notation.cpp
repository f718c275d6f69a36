#include "tests/support/notation.h"

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

std::string show(const Poly& f)
{
    if (f.terms.empty())
        return "0";
    std::string out;
    for (auto it = f.terms.rbegin(); it != f.terms.rend(); ++it) {
        const Coef c = it->coefficient;
        const Exponent e = it->exponent;
        const Coef magnitude = c < 0 ? -c : c;
        if (it == f.terms.rbegin())
            out += c < 0 ? "-" : "";
        else
            out += c < 0 ? " - " : " + ";
        if (magnitude != 1 || e == 0)
            out += std::to_string(magnitude);
        if (e >= 1)
            out += "x";
        if (e >= 2)
            out += "^" + std::to_string(e);
    }
    return out;
}

std::string show(const FactorList& list)
{
    std::string out = "[";
    for (std::int64_t k = 1; k <= list.length; ++k)
        out += (k > 1 ? ", " : "") + show(factor_list_at(list, k));
    return out + "]";
}
