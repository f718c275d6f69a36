// Every example of the README, run: the sample dialogue, the examples table, the notation table and
// the messages of the exit-status table. The README cannot drift from the program.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "frontend/ending.h"
#include "support/process.h"

namespace {

const std::string kAskCharacteristic =
    "Zadajte charakteristiku telesa:\n\t0 pre pocitanie v Z\n\tp pre pocitanie v Zp\n";
const std::string kAskPolynomial =
    "\nZadajte polynom v tvare: coefx^deg + coefx^deg ... (napr. x^3 + 3x^2 - 5x + 7)\n";
const std::string kHeader = "\nBezstvorcova faktorizacia zadaneho polynomu: \n";

std::string readme()
{
    std::ifstream file(SQUAREFREE_README);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The section of the README under `heading`, up to the next heading of its level.
std::string section(const std::string& heading)
{
    const std::string text = readme();
    const std::size_t start = text.find("\n" + heading + "\n");
    if (start == std::string::npos)
        return "";
    const std::size_t end = text.find("\n## ", start + 1);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

// The cells of the table rows ("| a | b |") in `text`, header and rule rows left out.
std::vector<std::vector<std::string>> table_rows(const std::string& text)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    std::string line;
    bool header = true;
    while (std::getline(lines, line)) {
        if (line.rfind("|", 0) != 0) {
            header = true;
            continue;
        }
        if (header || line.rfind("|---", 0) == 0) {
            header = line.rfind("|---", 0) != 0;
            continue;
        }
        std::vector<std::string> cells;
        std::size_t at = 1;
        for (std::size_t bar = line.find(" |", at); bar != std::string::npos; bar = line.find(" |", at)) {
            cells.push_back(line.substr(at + 1, bar - at - 1));
            at = bar + 2;
        }
        rows.push_back(cells);
    }
    return rows;
}

// The backticked pieces of a cell, in order.
std::vector<std::string> code_spans(const std::string& cell)
{
    std::vector<std::string> spans;
    for (std::size_t open = cell.find('`'); open != std::string::npos; open = cell.find('`', open)) {
        const std::size_t close = cell.find('`', open + 1);
        spans.push_back(cell.substr(open + 1, close - open - 1));
        open = close + 1;
    }
    return spans;
}

std::string unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(Readme, SampleDialogueIsWhatTheProgramPrints)
{
    const std::string text = section("## A dialogue");
    const std::size_t open = text.find("```\n");
    const std::size_t close = text.find("\n```", open + 4);
    ASSERT_NE(close, std::string::npos);
    const std::string block = text.substr(open + 4, close - open - 4 + 1);
    const RunResult run = run_program("0\nx^3 + 3x^2 - 4\n");
    ASSERT_EQ(run.out.rfind(kAskCharacteristic + kAskPolynomial, 0), 0u);
    const std::string result = run.out.substr(kAskCharacteristic.size() + kAskPolynomial.size());
    EXPECT_EQ(block, kAskCharacteristic + "0\n" + kAskPolynomial + "x^3 + 3x^2 - 4\n" + result + "\n");
}

TEST(Readme, EveryExampleRowIsWhatTheProgramPrints)
{
    const auto rows = table_rows(section("## A dialogue"));
    ASSERT_GE(rows.size(), 5u);
    for (const auto& row : rows) {
        ASSERT_EQ(row.size(), 4u);
        const std::string p = code_spans(row[0]).at(0), line = code_spans(row[1]).at(0);
        const RunResult run = run_program(p + "\n" + line + "\n");
        EXPECT_EQ(run.exit_code, std::stoi(row[2])) << line;
        EXPECT_EQ(run.out, kAskCharacteristic + kAskPolynomial + unescape(code_spans(row[3]).at(0))) << line;
    }
}

TEST(Readme, EveryNotationRowReadsAsItSays)
{
    const auto rows = table_rows(section("## The input notation"));
    ASSERT_GE(rows.size(), 10u);
    for (const auto& row : rows) {
        const std::vector<std::string> lines = code_spans(row.at(0)), echoes = code_spans(row.at(1));
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const RunResult run = run_program("0\n" + lines[i] + "\n");
            SCOPED_TRACE("line '" + lines[i] + "'");
            if (row[1] == "**rejected**") {
                EXPECT_EQ(run.exit_code, 5);
            } else if (row[1] == "accepted") {
                EXPECT_EQ(run.exit_code, 0);
            } else {
                EXPECT_EQ(run.exit_code, 0);
                const std::string echo = echoes.size() == lines.size() ? echoes[i] : echoes.at(0);
                EXPECT_EQ(run.out.substr(0, kAskCharacteristic.size() + kAskPolynomial.size() + kHeader.size() + echo.size() + 3),
                          kAskCharacteristic + kAskPolynomial + kHeader + echo + " = ");
            }
        }
    }
}

TEST(Readme, EveryEndingMessageIsTheProgramsOwn)
{
    const auto rows = table_rows(section("## Exit statuses"));
    ASSERT_EQ(rows.size(), 7u);
    // An input that reaches each ending; status 2 has none and is checked by its text alone.
    const std::vector<std::string> inputs = {"", "0\nx^1073741824\n", "", "0\n0\n", "4\n", "0\n\n"};
    for (std::size_t status = 1; status <= 5; ++status) {
        const std::string message = code_spans(rows[status].at(1)).at(0) + "\n";
        EXPECT_EQ(std::to_string(status), rows[status][0]);
        if (inputs[status].empty()) {
            EXPECT_EQ(message, ending_message(static_cast<ExitCode>(status)));
            continue;
        }
        const RunResult run = run_program(inputs[status]);
        EXPECT_EQ(run.exit_code, static_cast<int>(status));
        EXPECT_EQ(run.out.substr(run.out.size() - std::min(run.out.size(), message.size())), message);
    }
    RunOptions full;
    full.output_to_full_device = true;
    EXPECT_EQ(run_program("0\nx\n", full).err, code_spans(rows[6].at(1)).at(0) + "\n");
}

}  // namespace
